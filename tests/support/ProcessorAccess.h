#pragma once

// The processor's host parameters in plain units, read and set as a host does.
#include "ReverbProcessor.h"

#include <stdexcept>

namespace zorvik_test
{
inline juce::RangedAudioParameter& hostParameter(ReverbProcessor& processor, const juce::String& id)
{
    auto* parameter = processor.parameters.getParameter(id);
    if (parameter == nullptr)
        throw std::runtime_error(("no host parameter " + id).toStdString());
    return *parameter;
}

inline float plainValue(ReverbProcessor& processor, const juce::String& id)
{
    auto& parameter = hostParameter(processor, id);
    return parameter.convertFrom0to1(parameter.getValue());
}

inline void setPlainValue(ReverbProcessor& processor, const juce::String& id, float value)
{
    auto& parameter = hostParameter(processor, id);
    parameter.setValueNotifyingHost(parameter.convertTo0to1(value));
}
} // namespace zorvik_test
