#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <cmath>
#include <optional>

// Reading and writing a host parameter in plain units through its normalised range,
// whatever kind of parameter it is (float, bool or int).
namespace HostValue
{
    // The parameter's current value in plain units; 0 for a missing parameter.
    inline float plain(const juce::RangedAudioParameter* host)
    {
        return host != nullptr ? host->convertFrom0to1(host->getValue()) : 0.0f;
    }

    // The normalised position of a plain value, limited to the parameter's range, when
    // it differs from the parameter's own; nothing for a missing parameter, a
    // non-finite value or no change.
    inline std::optional<float> changedPosition(const juce::RangedAudioParameter* host, float value)
    {
        if (host == nullptr || ! std::isfinite(value))
            return std::nullopt;
        const auto& range = host->getNormalisableRange();
        const float position = host->convertTo0to1(juce::jlimit(range.start, range.end, value));
        if (host->getValue() == position)
            return std::nullopt;
        return position;
    }
}
