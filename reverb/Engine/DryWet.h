#pragma once

#include "Common/ProcessBlock/ProcessBlock.h"

#include <vector>

namespace ZorvikDSP
{
    // Crossfade between a dry and a wet signal, per sample, steered by a mix in
    // percent. Two-sided (the default): both signals stay at full level at 50 %,
    // the wet one fades in below, the dry one fades out above, both along the
    // curve x^1.5. Linear: dry × (1 − m) + wet × m.
    class DryWet : public ProcessBlock
    {
    public:
        static constexpr unsigned long bufferLength = 4096;

        DryWet();

        void init(int channelCount, double rate) override;
        void clear() override;

        // out may be the same buffer as dry or wet. A mix that is not a number
        // counts as 0 % (dry only).
        void process(const float* dry, const float* wet, float* out, unsigned long frames,
                     const float* mixPercent);

        void setTwoSided(bool enabled) { twoSided = enabled; }
        bool isTwoSided() const { return twoSided; }

    private:
        void processChunk(const float* dry, const float* wet, float* out, unsigned long frames,
                          const float* mixPercent);
        void mixWithConstantGains(const float* dry, const float* wet, float* out,
                                  unsigned long frames, float dryGain, float wetGain);
        void computeGains(unsigned long frames);
        void computeTwoSidedGains(float mix);

        std::vector<float> mixBuffer;
        std::vector<float> dryGainBuffer;
        std::vector<float> wetGainBuffer;
        bool twoSided = true;
        bool shaped = true;
        float exponent = 1.5f;
        // The two-sided gains of the last mix value seen (the clamped mix is
        // never negative, so the first value always computes).
        float cachedMix = -1.0f;
        float cachedDryGain = 0.0f;
        float cachedWetGain = 0.0f;
    };
}
