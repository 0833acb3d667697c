#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <cmath>

// Reading and writing a host parameter in plain units through its normalised range,
// whatever kind of parameter it is (float, bool or int).
namespace HostValue
{
    // The parameter's current value in plain units; 0 for a missing parameter.
    inline float plain(const juce::RangedAudioParameter* host)
    {
        return host != nullptr ? host->convertFrom0to1(host->getValue()) : 0.0f;
    }

    // Assigns a plain value as a parameter's assignment operator does: clamped to the
    // range, the host told only when the value changes, no change gesture. Non-finite
    // values are ignored.
    inline void assign(juce::RangedAudioParameter* host, float value)
    {
        if (host == nullptr || ! std::isfinite(value))
            return;
        const float normalised = host->convertTo0to1(value);
        if (host->getValue() != normalised)
            host->setValueNotifyingHost(normalised);
    }
}
