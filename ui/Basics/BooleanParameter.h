#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>

// A host on/off parameter that behaves as JUCE's boolean parameter ("Off"/"On",
// two steps), except that a position that is not a number, as some hosts' automation
// sends, stands for the default: the value is always 0 or 1.
class BooleanParameter : public juce::RangedAudioParameter
{
public:
    BooleanParameter(const juce::ParameterID& parameterId, const juce::String& parameterName, bool defaultValue);

    bool get() const noexcept { return value.load() >= 0.5f; }

    const juce::NormalisableRange<float>& getNormalisableRange() const override { return range; }
    float getValue() const override { return value.load(); }
    void setValue(float newValue) override;
    float getDefaultValue() const override { return valueDefault; }
    int getNumSteps() const override { return 2; }
    bool isDiscrete() const override { return true; }
    bool isBoolean() const override { return true; }
    juce::String getText(float position, int maximumLength) const override;
    float getValueForText(const juce::String& text) const override;

private:
    const juce::NormalisableRange<float> range { 0.0f, 1.0f, 1.0f };
    const float valueDefault;
    std::atomic<float> value;
};
