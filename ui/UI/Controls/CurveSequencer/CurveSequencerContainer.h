#pragma once

#include "UI/Controls/CurveSequencer/CurveSequencerGrid.h"
#include "UI/Controls/CurveSequencer/CurveSequencerStep.h"
#include "UI/Controls/CurveSequencer/CurveSequencerStepDelegate.h"
#include "UI/Controls/UIContainer.h"

#include <array>
#include <memory>
#include <vector>

// A 16-step sequencer: each step has a value and a curve mode bound to host
// parameters. The user draws values across the steps and sets curve modes along the
// footer strip; dashed guide lines (optionally snapping) help place values.
//
// Built from 32 parameters: the first 16 are the step values, the next 16 the curve
// modes. Fewer, or a null one, is refused with std::out_of_range or
// std::invalid_argument before anything is built.
class CurveSequencerContainer : public UIContainer, public CurveSequencerStepDelegate
{
public:
    static constexpr int numSteps = 16;

    CurveSequencerContainer(Parameter* parameter, std::vector<Parameter*> linked, std::string title);
    ~CurveSequencerContainer() override;

    void attach(juce::AudioProcessorValueTreeState& state) override;
    void setMainColor(juce::Colour colour) override;
    void setIsGrey(bool grey) override;
    void paint(juce::Graphics&) override {}
    void resized() override;
    void onValueSet(int step, float value) override;

    void updateColors();
    void setSequencerLength(int length);
    void setResolution(float resolution);
    void setAmount(float amount);
    void setRandomness(float randomness);
    void setSnap(bool snap);
    void setLines(std::vector<CurveSequencerGrid::Line> lines);
    void setReferecenceValues(float gridReference, float stepReference);
    void blinkStep(int step);

    // Steps per colour group: floor(resolution), else floor(4 x), else floor(16 x), at least 1.
    static int groupSize(float resolution);

    int getSequencerLength() const { return length; }
    CurveSequencerStep& getStep(int i) { return *steps[static_cast<size_t>(i)]; }
    CurveSequencerGrid& getGrid() { return *grid; }

private:
    static std::vector<Parameter*> checkedParameters(Parameter* parameter, std::vector<Parameter*> linked);
    void linkToPrevious(int step);

    int length = numSteps;
    float resolution = 1.0f;
    std::array<std::unique_ptr<CurveSequencerStep>, numSteps> steps;
    std::unique_ptr<CurveSequencerGrid> grid;
};
