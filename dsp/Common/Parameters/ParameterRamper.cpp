#include "Common/Parameters/ParameterRamper.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
    constexpr std::uint64_t framesMask = (std::uint64_t(1) << 30) - 1;
    constexpr std::uint64_t integerBit = std::uint64_t(1) << 62;
    constexpr std::uint64_t valueSetBit = std::uint64_t(1) << 63;

    std::uint64_t pack(float value, unsigned long frames, bool integer)
    {
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        const std::uint64_t length = std::min<std::uint64_t>(frames, framesMask);
        return bits | (length << 32) | (integer ? integerBit : 0) | valueSetBit;
    }

    float valueOf(std::uint64_t word)
    {
        const auto bits = static_cast<std::uint32_t>(word);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    unsigned long framesOf(std::uint64_t word) { return static_cast<unsigned long>((word >> 32) & framesMask); }
    bool integerOf(std::uint64_t word) { return (word & integerBit) != 0; }

    float targetOf(float value, bool integer) { return integer ? std::round(value) : value; }
}

void ParameterRamper::requestRamp(float value, unsigned long frames, bool integer)
{
    if (!std::isfinite(value))
        return;
    // A jump reports the rounded target as the last value, as startRamp does.
    if (frames == 0)
        value = targetOf(value, integer);
    request.store(pack(value, frames, integer), std::memory_order_release);
    changeCounter.fetch_add(1, std::memory_order_release);
}

float ParameterRamper::getLastValue() const
{
    return valueOf(request.load(std::memory_order_acquire));
}

bool ParameterRamper::hasValue() const
{
    return (request.load(std::memory_order_acquire) & valueSetBit) != 0;
}

void ParameterRamper::startRamp(float value, unsigned long frames, bool integer)
{
    if (!std::isfinite(value))
        return;
    storeRequest(value, frames, integer);
    beginRamp(value, frames, integer);
}

bool ParameterRamper::applyRequest()
{
    // The counter is read before the word: a request that lands in between is
    // taken now and counted again at the next block, which is harmless.
    const std::uint32_t counter = changeCounter.load(std::memory_order_acquire);
    if (counter == seenCounter)
        return false;
    seenCounter = counter;
    const std::uint64_t word = request.load(std::memory_order_acquire);
    beginRamp(valueOf(word), framesOf(word), integerOf(word));
    return true;
}

void ParameterRamper::jumpToRequest()
{
    seenCounter = changeCounter.load(std::memory_order_acquire);
    endValue = getLastValue();
    step = 0.0f;
    remaining = 0;
    filled = false;
}

float* ParameterRamper::getAndStep(unsigned long frames, bool& changed)
{
    frames = std::min(frames, bufferSize);
    if (remaining > 0)
    {
        const float start = static_cast<float>(remaining) * step + endValue;
        const float low = std::min(start, endValue);
        const float high = std::max(start, endValue);
        for (unsigned long i = 0; i < frames; ++i)
            output[i] = std::clamp(start - static_cast<float>(i) * step, low, high);
        changed = true;
        remaining = frames >= remaining ? 0 : remaining - frames;
        filled = false;
    }
    else if (!filled || filledLength != frames)
    {
        std::fill(output, output + frames, endValue);
        filled = true;
        filledLength = frames;
        changed = true;
    }
    return output;
}

void ParameterRamper::resetCounters()
{
    // Both counters restart at 0; a request not yet taken stays pending.
    const bool pending = changeCounter.exchange(0, std::memory_order_acq_rel) != seenCounter;
    seenCounter = pending ? ~std::uint32_t(0) : 0;
}

void ParameterRamper::beginRamp(float value, unsigned long frames, bool integer)
{
    const float target = targetOf(value, integer);
    if (frames > 0)
    {
        const float newStep = (static_cast<float>(remaining) * step + endValue - target) / static_cast<float>(frames);
        if (std::isfinite(newStep))
        {
            step = newStep;
            remaining = frames;
            endValue = target;
            return;
        }
    }
    endValue = target;
    step = 0.0f;
    remaining = 0;
    filled = false;
}

void ParameterRamper::storeRequest(float value, unsigned long frames, bool integer)
{
    request.store(pack(frames == 0 ? targetOf(value, integer) : value, frames, integer), std::memory_order_release);
}
