#include "Basics/BooleanParameter.h"

#include <cmath>

BooleanParameter::BooleanParameter(const juce::ParameterID& parameterId, const juce::String& parameterName, bool defaultValue)
    : juce::RangedAudioParameter(parameterId, parameterName), valueDefault(defaultValue ? 1.0f : 0.0f), value(valueDefault)
{
}

void BooleanParameter::setValue(float newValue)
{
    value = std::isnan(newValue) ? valueDefault : (newValue >= 0.5f ? 1.0f : 0.0f);
}

juce::String BooleanParameter::getText(float position, int maximumLength) const
{
    juce::ignoreUnused(maximumLength);
    return position >= 0.5f ? "On" : "Off";
}

float BooleanParameter::getValueForText(const juce::String& text) const
{
    const auto word = text.trim().toLowerCase();
    if (word == "on" || word == "yes" || word == "true")
        return 1.0f;
    if (word == "off" || word == "no" || word == "false")
        return 0.0f;
    return word.getIntValue() != 0 ? 1.0f : 0.0f;
}
