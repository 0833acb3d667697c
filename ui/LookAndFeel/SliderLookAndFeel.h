#pragma once

#include "LookAndFeel/CommonLookAndFeel.h"

#include <string>
#include <vector>

// Draws the vertical bar and the knob with their value text inside the control, and
// the waveform knob's small curves.
class SliderLookAndFeel : public CommonLookAndFeel
{
public:
    SliderLookAndFeel();

    std::vector<std::string> valueNames;
    bool isWaveform = false;
    std::string waveformName;

    void drawLinearSlider(juce::Graphics&, int x, int y, int width, int height, float sliderPos,
                          float minSliderPos, float maxSliderPos, juce::Slider::SliderStyle,
                          juce::Slider&) override;
    void drawRotarySlider(juce::Graphics&, int x, int y, int width, int height, float sliderPos,
                          float rotaryStartAngle, float rotaryEndAngle, juce::Slider&) override;
    juce::Slider::SliderLayout getSliderLayout(juce::Slider&) override;

    // The name for the value when names are set (index clamped to the list), else the
    // slider's own value text passed through updateValueText.
    std::string textValue(juce::Slider&) const;

    void drawWaveform(juce::Graphics&, int x, int y, int width, int height, juce::Slider&);
    void drawShape(juce::Graphics&, int x, int y, int width, int height, juce::Slider&);
    void drawWarmth(juce::Graphics&, int x, int y, int width, int height, juce::Slider&);

    const juce::Path& getValueShape() const { return valueShape; }

private:
    // Clears the cached shapes when the value or the drawing area changed.
    void refreshShapeCache(float value, juce::Rectangle<int> area);

    float cachedValue = 0.0f;
    juce::Rectangle<int> cachedArea;
    juce::Path valueShape;
    juce::Path waveformShape;
};
