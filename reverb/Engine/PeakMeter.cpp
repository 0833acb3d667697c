#include "PeakMeter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The largest finite magnitude, 0 if there is none. The maximum of values that
// are neither NaN nor negative does not depend on the order, so four lanes give
// the scalar loop's result exactly.
float PeakMeter::finitePeak(const float* samples, unsigned long count)
{
    float peak = 0.0f;
    unsigned long i = 0;
#if defined(__SSE2__)
    const __m128 sign = _mm_set1_ps(-0.0f);
    const __m128 largest = _mm_set1_ps(std::numeric_limits<float>::max());
    __m128 peaks = _mm_setzero_ps();
    for (; i + 4 <= count; i += 4)
    {
        const __m128 magnitude = _mm_andnot_ps(sign, _mm_loadu_ps(samples + i));
        // Infinity and NaN fail the comparison and count as 0.
        const __m128 finite = _mm_and_ps(_mm_cmple_ps(magnitude, largest), magnitude);
        peaks = _mm_max_ps(peaks, finite);
    }
    alignas(16) float lanes[4];
    _mm_store_ps(lanes, peaks);
    peak = std::max(std::max(lanes[0], lanes[1]), std::max(lanes[2], lanes[3]));
#endif
    for (; i < count; ++i)
    {
        const float magnitude = std::fabs(samples[i]);
        if (magnitude > peak && std::isfinite(magnitude))
            peak = magnitude;
    }
    return peak;
}

void PeakMeter::publish(unsigned long channel)
{
    const float peak = finitePeak(store[channel].data(), fill[channel]);
    const float decibels = 20.0f * std::log10(peak) + 100.0f;
    value[channel] = static_cast<float>(std::max(0.0, static_cast<double>(decibels)));
    fill[channel] = 0;
}
