#pragma once

#include "UI/Controls/CurveSequencer/CurveSequencerStep.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <vector>

// A transparent layer over the sequencer's steps: draws the columns, the footer line
// and the dashed guide lines with their labels, and takes every mouse gesture.
//
// Dragging above the footer line draws values; a drag along the footer copies the
// pressed step's curve mode, and a click on a footer advances its mode. Right clicks
// change nothing.
class CurveSequencerGrid : public juce::Component
{
public:
    struct Line
    {
        float value = 0.0f;
        juce::String label;
        bool labelBelow = false;
        float alpha = 0.4f;
    };

    static constexpr float footerTop = 0.88f;  // the footer strip starts at this fraction of the height

    CurveSequencerGrid();
    ~CurveSequencerGrid() override;

    void addStep(CurveSequencerStep* step) { steps.push_back(step); }
    void setLength(int length);
    void setAmount(float amount);
    void setReferenceValue(float reference);
    void setSnap(bool s) { snap = s; }
    // The gestures that a press starts and the release ends.
    void setGestures(ParameterGestures* g) { gestures = g; }
    void setLines(std::vector<Line> lines);

    bool isTouchingFooter(juce::Point<int> position) const;
    int getTouchIndex(juce::Point<int> position) const;
    // A guide line's level on screen (0 at the footer line, 1 at the top) under the zoom.
    float displayLevel(float lineValue) const;
    // The level a drag at v sets: v itself, or with snap the level of the nearest guide
    // line nearer than 1 (1 when there is none).
    float snapped(float v) const;

    void paint(juce::Graphics&) override;
    void mouseDown(const juce::MouseEvent&) override;
    void mouseDrag(const juce::MouseEvent&) override;
    void mouseUp(const juce::MouseEvent&) override;

    int getLength() const { return length; }
    const std::vector<Line>& getLines() const { return lines; }
    juce::Label& getLabel(size_t i) { return *labels[i]; }
    size_t getNumLabels() const { return labels.size(); }

private:
    float zoom() const;
    float footerHeight() const { return footerTop * static_cast<float>(getHeight()); }
    CurveSequencerStep* stepAt(int index) const;

    bool snap = false;
    std::vector<CurveSequencerStep*> steps;
    float referenceValue = 1.0f;
    float amount = 1.0f;
    int length = 16;
    juce::Point<int> touchPosition;
    bool touchingFooter = false;
    int touchIndex = -1;
    bool gestureActive = false;
    ParameterGestures* gestures = nullptr;
    std::vector<Line> lines;
    std::vector<std::unique_ptr<juce::Label>> labels;
    juce::Font labelFont;
};
