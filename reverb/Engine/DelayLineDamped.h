#pragma once

#include "DelayLine.h"

#include "Common/ProcessBlock/Filters/BiquadFilter.h"

#include <vector>

// The feedback network's delay line: its hook damps the recirculated signal
// with a low-pass filter (Q = 10^(-3/20)) blended in by a mix amount:
// out = in + mix * (lowpass(in) - in).
class DelayLineDamped : public DelayLine
{
public:
    static constexpr unsigned long bufferLength = 4096;
    static constexpr float dampingQ = -3.0f; // dB, as the filter's q argument

    explicit DelayLineDamped(float maximumDelayMs);

    void init(int channelCount, double rate) override;
    void clear() override;
    // Follows the cutoff of the first sample; the mix per sample.
    void preFeedbackProcess(float* buffer, unsigned long frames, unsigned long channel) override;

    // preFeedbackProcess on channel 0 of four lines, line k on buffers[k], with
    // the four damping filters run side by side; the same results bit for bit.
    static void preFeedbackProcess4(DelayLineDamped* const lines[4], float* const buffers[4],
                                    unsigned long frames);

    // Written by the owner before each use: cutoff in Hz and mix in 0..1 per
    // sample, from the start of the call.
    float* getCutoffBuffer() { return cutoff.data(); }
    float* getMixBuffer() { return mix.data(); }

private:
    BiquadFilter damping;
    std::vector<float> qBuffer;
    std::vector<float> filtered;
    std::vector<float> cutoff;
    std::vector<float> mix;
};
