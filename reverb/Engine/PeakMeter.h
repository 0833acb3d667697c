#pragma once

#include "Common/ProcessBlock/MultiChannelProcessBlock.h"

#include <array>
#include <vector>

// Watches a gain signal and turns its peak over a window of about 1024 samples
// into a reading of decibels + 100, floored at 0: a gain of 1 reads 100, 0.1
// reads 80, silence 0. Keeps two channels.
class PeakMeter : public MultiChannelProcessBlock<ProcessBlockParameters>
{
public:
    static constexpr unsigned long meterChannels = 2;
    // What the meter reads before its first measurement: no gain reduction.
    static constexpr float initialValue = 100.0f;

    PeakMeter();

    void init(int channelCount, double rate) override;
    void clear() override;
    void process(float* buffer, unsigned long frames, unsigned long channel,
                 ProcessBlockParameters parameters) override;

    // The last reading of a channel; channels the meter does not keep read 100.
    float getValue(unsigned long channel) const;

    // The largest finite magnitude among count samples, 0 if there is none.
    static float finitePeak(const float* samples, unsigned long count);

private:
    void append(const float* buffer, unsigned long frames, unsigned long channel);
    void publish(unsigned long channel);

    unsigned long sliceMargin = 64;
    unsigned long capacity = 1024;
    std::array<unsigned long, meterChannels> fill{};
    std::array<std::vector<float>, meterChannels> store;
    std::array<float, meterChannels> value{initialValue, initialValue};
};
