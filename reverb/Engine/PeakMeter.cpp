#include "PeakMeter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

PeakMeter::PeakMeter()
{
    for (auto& samples : store)
        samples.assign(2 * capacity, 0.0f);
}

void PeakMeter::init(int channelCount, double rate)
{
    ProcessBlock::init(channelCount, rate);
    for (unsigned long c = 0; c < meterChannels; ++c)
    {
        store[c].assign(2 * capacity, 0.0f);
        fill[c] = 0;
        value[c] = initialValue;
    }
}

void PeakMeter::clear()
{
}

void PeakMeter::process(float* buffer, unsigned long frames, unsigned long channel,
                        ProcessBlockParameters)
{
    if (channel >= meterChannels)
        return;
    // A call longer than the store is taken in pieces, so the store is never overrun.
    while (frames > 0)
    {
        const unsigned long n = std::min(frames, store[channel].size() - fill[channel]);
        append(buffer, n, channel);
        if (fill[channel] > capacity - sliceMargin)
            publish(channel);
        buffer += n;
        frames -= n;
    }
}

float PeakMeter::getValue(unsigned long channel) const
{
    return channel < meterChannels ? value[channel] : initialValue;
}

void PeakMeter::append(const float* buffer, unsigned long frames, unsigned long channel)
{
    std::memcpy(store[channel].data() + fill[channel], buffer, frames * sizeof(float));
    fill[channel] += frames;
}

void PeakMeter::publish(unsigned long channel)
{
    float peak = 0.0f;
    for (unsigned long i = 0; i < fill[channel]; ++i)
    {
        const float magnitude = std::fabs(store[channel][i]);
        if (magnitude > peak && std::isfinite(magnitude))
            peak = magnitude;
    }
    const float decibels = 20.0f * std::log10(peak) + 100.0f;
    value[channel] = static_cast<float>(std::max(0.0, static_cast<double>(decibels)));
    fill[channel] = 0;
}
