#include "DryWet.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ZorvikDSP
{
    DryWet::DryWet()
        : mixBuffer(bufferLength, 0.0f),
          dryGainBuffer(bufferLength, 0.0f),
          wetGainBuffer(bufferLength, 0.0f)
    {
    }

    void DryWet::init(int channelCount, double rate)
    {
        ProcessBlock::init(channelCount, rate);
    }

    void DryWet::clear()
    {
    }

    void DryWet::process(const float* dry, const float* wet, float* out, unsigned long frames,
                         const float* mixPercent)
    {
        // Chunks keep every call inside the 4096-sample work buffers.
        for (unsigned long offset = 0; offset < frames; offset += bufferLength)
        {
            const unsigned long n = std::min(bufferLength, frames - offset);
            processChunk(dry + offset, wet + offset, out + offset, n, mixPercent + offset);
        }
    }

    namespace
    {
        float clampedMix(float percent)
        {
            const float m = percent * 0.01f;
            return m > 0.0f ? std::min(m, 1.0f) : 0.0f; // NaN ends up at 0
        }

        // Whether every value equals the first (a NaN first value never does).
        bool allEqualFirst(const float* values, unsigned long frames)
        {
            const float first = values[0];
            unsigned long j = 0;
#if defined(__SSE2__)
            // cmpeq is false for unordered lanes, as == is.
            const __m128 reference = _mm_set1_ps(first);
            for (; j + 4 <= frames; j += 4)
                if (_mm_movemask_ps(_mm_cmpeq_ps(_mm_loadu_ps(values + j), reference)) != 0xF)
                    return false;
#endif
            for (; j < frames; ++j)
                if (!(values[j] == first))
                    return false;
            return true;
        }

        // A side whose gain is 0 contributes nothing, even when it is not finite.
        float part(float x, float gain)
        {
            return gain == 0.0f ? 0.0f : x * gain;
        }
    }

    void DryWet::processChunk(const float* dry, const float* wet, float* out,
                              unsigned long frames, const float* mixPercent)
    {
        const float first = mixPercent[0];
        if (allEqualFirst(mixPercent, frames))
        {
            mixBuffer[0] = clampedMix(first);
            computeGains(1);
            mixWithConstantGains(dry, wet, out, frames, dryGainBuffer[0], wetGainBuffer[0]);
            return;
        }
        for (unsigned long j = 0; j < frames; ++j)
            mixBuffer[j] = clampedMix(mixPercent[j]);
        computeGains(frames);
        for (unsigned long j = 0; j < frames; ++j)
            out[j] = part(dry[j], dryGainBuffer[j]) + part(wet[j], wetGainBuffer[j]);
    }

    // The usual case, a mix that stays put: the same sums as sample by sample.
    void DryWet::mixWithConstantGains(const float* dry, const float* wet, float* out,
                                      unsigned long frames, float dryGain, float wetGain)
    {
        if (dryGain == 0.0f)
            for (unsigned long j = 0; j < frames; ++j)
                out[j] = 0.0f + wet[j] * wetGain;
        else if (wetGain == 0.0f)
            for (unsigned long j = 0; j < frames; ++j)
                out[j] = dry[j] * dryGain + 0.0f;
        else
            for (unsigned long j = 0; j < frames; ++j)
                out[j] = dry[j] * dryGain + wet[j] * wetGain;
    }

    void DryWet::computeGains(unsigned long frames)
    {
        float* wetGain = wetGainBuffer.data();
        float* dryGain = dryGainBuffer.data();
        if (!twoSided)
        {
            for (unsigned long j = 0; j < frames; ++j)
            {
                wetGain[j] = mixBuffer[j];
                dryGain[j] = 1.0f - mixBuffer[j];
            }
            return;
        }
        // The mix rarely moves within a slice: the two powers are computed only
        // when it does.
        for (unsigned long j = 0; j < frames; ++j)
        {
            if (mixBuffer[j] != cachedMix)
                computeTwoSidedGains(mixBuffer[j]);
            wetGain[j] = cachedWetGain;
            dryGain[j] = cachedDryGain;
        }
    }

    void DryWet::computeTwoSidedGains(float mix)
    {
        cachedMix = mix;
        cachedWetGain = std::min(2.0f * mix, 1.0f);
        cachedDryGain = std::min(2.0f - 2.0f * mix, 1.0f);
        if (shaped)
        {
            cachedWetGain = std::pow(cachedWetGain, exponent);
            cachedDryGain = std::pow(cachedDryGain, exponent);
        }
    }
}
