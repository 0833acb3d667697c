#pragma once

#include "Common/ProcessBlock/MonoProcessBlock.h"

#include <vector>

struct GainParameters
{
    float gain = 0.0f;            // dB
    float* gainBuffer = nullptr;  // optional, one dB value per sample
};

// Multiplies a signal by a gain given in decibels.
class Gain : public MonoProcessBlock<GainParameters>
{
public:
    static constexpr unsigned long scratchSize = 4096;

    Gain();

    void clear() override;
    // With a gain buffer the dB field is ignored; any frame count is handled.
    void process(float* buffer, unsigned long frames, GainParameters parameters) override;
    void process(float* buffer, unsigned long frames, float* gainBuffer);

private:
    std::vector<float> scratch;
};
