#include "Common/DSPKernel.h"

#include "Common/Parameters/NoteDomain.h"
#include "Common/Parameters/ParameterRamper.h"

#include <algorithm>
#include <cmath>

namespace
{
    // The single-precision value of 0.02 s, taken in double precision.
    constexpr double rampSeconds = 0.019999999552965164;

    float clampTo(float value, float low, float high)
    {
        return std::min(std::max(value, low), high);
    }

    // The value-list entry for a value: its rounded value within [0, maximum]
    // and within the list.
    float valueListEntry(const Parameter& parameter, float value)
    {
        const double highest = std::min<double>(std::floor(parameter.maximum),
                                                static_cast<double>(parameter.valueList.size() - 1));
        const double index = std::min(std::max(static_cast<double>(std::round(value)), 0.0), std::max(highest, 0.0));
        return parameter.valueList[static_cast<std::size_t>(index)];
    }
}

DSPKernel::~DSPKernel() = default;

void DSPKernel::process(unsigned long, unsigned long, long)
{
    if (parameterList)
        parameterList->prepareParameters(rampLength.load(std::memory_order_relaxed));
}

void DSPKernel::handleMIDIEvent(unsigned char*, long long)
{
}

void DSPKernel::startRamp(unsigned long index, float value, unsigned long frames)
{
    Parameter& parameter = *parameterList->at(index);
    // Outputs are written by the kernel itself, never set from outside.
    if (!std::isfinite(value) || parameter.isOutput)
        return;
    const float scaledMinimum = parameter.minimum * parameter.scale;
    const float scaledMaximum = parameter.maximum * parameter.scale;
    if (parameter.flags & ParameterFlag::unramped)
    {
        parameter.currentValue = clampTo(value, scaledMinimum, scaledMaximum);
        parameter.valueSet = true;
        updateParameter(index, value);
        return;
    }
    if (parameter.ramper == nullptr)
        return;
    frames = std::max(frames, rampLength.load(std::memory_order_relaxed));
    const bool noteDomain = parameter.unit == ParameterUnit::hertz && !(parameter.flags & ParameterFlag::linearFrequency);
    float target;
    if (!parameter.valueList.empty())
    {
        parameter.currentValue = clampTo(value, parameter.minimum, parameter.maximum);
        target = valueListEntry(parameter, value);
    }
    else if (parameter.unit == ParameterUnit::stepped)
        target = clampTo(value, scaledMinimum, scaledMaximum);
    else if (noteDomain)
        target = clampTo(NoteDomain::note(value), NoteDomain::note(parameter.minimum), NoteDomain::note(parameter.maximum));
    else
        target = clampTo(value * parameter.scale, scaledMinimum, scaledMaximum);
    parameter.ramper->requestRamp(target, frames, parameter.valueList.empty() && parameter.unit == ParameterUnit::stepped);
}

void DSPKernel::init(int newChannels, double newSampleRate)
{
    channels = newChannels;
    const float rate = static_cast<float>(newSampleRate);
    sampleRate = rate;
    const float half = rate * 0.5f;
    if (half != nyquist || std::isnan(half) || std::isnan(nyquist))
    {
        nyquist = half;
        inverseNyquist = half > 0.0f ? 1.0f / half : 0.0f;
    }
    const double length = std::floor(static_cast<double>(rate) * rampSeconds);
    // A rate the host should never give (negative, NaN, absurd) leaves changes jumping.
    rampLength = (length >= 0.0 && length < 1.0e9) ? static_cast<unsigned long>(length) : 0;
    if (!initialised.load(std::memory_order_relaxed))
    {
        initialiseParameterValues();
        initialised.store(true, std::memory_order_release);
    }
}

void DSPKernel::initialiseParameterValues()
{
    if (!parameterList)
        return;
    parameterBuffers.checkSize(parameterList->empty() ? 0 : parameterList->size() - 1);
    for (Parameter* parameter : *parameterList)
    {
        const auto index = static_cast<unsigned long>(parameter->identifier);
        if (parameter->isOutput)
        {
            outputValues[parameter->identifier].reset(new std::atomic<float>[2]{0.0f, 0.0f});
            continue;
        }
        // A value set before the first init (a restored state) is kept; the
        // default is taken only when nothing was set. Either way without a ramp.
        const bool ramped = parameter->isRamped();
        if (!(ramped ? parameter->ramper->hasValue() : parameter->valueSet.load()))
            startRamp(index, parameter->defaultValue, rampLength);
        if (ramped)
            parameter->ramper->jumpToRequest();
    }
}

void DSPKernel::setParameter(unsigned long index, float value)
{
    startRamp(index, value, rampLength.load(std::memory_order_relaxed));
}

float DSPKernel::getParameter(unsigned long index)
{
    const Parameter& parameter = *parameterList->at(index);
    if ((parameter.flags & ParameterFlag::unramped) || !parameter.valueList.empty() || parameter.ramper == nullptr)
        return parameter.currentValue;
    const float last = parameter.ramper->getLastValue();
    if (parameter.unit == ParameterUnit::hertz && !(parameter.flags & ParameterFlag::linearFrequency))
        return NoteDomain::frequency(last);
    return last / parameter.scale;
}

void DSPKernel::reset()
{
    if (!parameterList)
        return;
    for (Parameter* parameter : *parameterList)
        if (parameter->isRamped())
            parameter->ramper->resetCounters();
}

std::atomic<float>* DSPKernel::getOutputValues(int index) const
{
    if (!initialised.load(std::memory_order_acquire))
        return nullptr;
    const auto found = outputValues.find(index);
    return found == outputValues.end() ? nullptr : found->second.get();
}

void DSPKernel::setOutputValue(int index, float value, int slot)
{
    const auto found = outputValues.find(index);
    if (found != outputValues.end() && (slot == 0 || slot == 1))
        found->second[slot].store(value, std::memory_order_relaxed);
}
