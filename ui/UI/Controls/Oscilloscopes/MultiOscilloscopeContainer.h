#pragma once

#include "UI/Controls/Oscilloscopes/MultiCurvesComponent.h"
#include "UI/Controls/UIContainer.h"

#include <atomic>
#include <memory>

// Frames the animated curves of a multi-line modulated delay on a tinted background
// whose brightness follows the delay time. Binds to no parameter: the owner pushes the
// delay time here and the curve settings into getCurves().
class MultiOscilloscopeContainer : public UIContainer, public juce::Timer
{
public:
    MultiOscilloscopeContainer(Parameter* parameter, std::string title);
    ~MultiOscilloscopeContainer() override;

    void attach(juce::AudioProcessorValueTreeState&) override {}
    // May be called from any thread; the 12 Hz timer repaints when it changed.
    void setDelayTime(float time);
    void paint(juce::Graphics&) override;
    void resized() override;
    void timerCallback() override;

    // The background tint for a delay time: darkened blue, brightened for times below 30.
    static juce::Colour tint(float delayTime);

    MultiCurvesComponent& getCurves() { return *curves; }
    float getDelayTime() const { return delayTime.load(); }

private:
    std::unique_ptr<MultiCurvesComponent> curves;
    std::atomic<float> delayTime { 1.0f };
    std::atomic<bool> dirty { false };
};
