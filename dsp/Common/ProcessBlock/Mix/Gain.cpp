#include "Common/ProcessBlock/Mix/Gain.h"

#include "Common/Math/Accelerate/SignalProcessing.h"

#include <algorithm>
#include <cmath>

Gain::Gain() : scratch(scratchSize, 0.0f)
{
}

void Gain::clear()
{
}

void Gain::process(float* buffer, unsigned long frames, GainParameters parameters)
{
    if (parameters.gainBuffer == nullptr)
    {
        // ln 10 / 20: exp(dB * this) = 10^(dB / 20)
        const auto factor = static_cast<float>(std::exp(0.11512925464970002 * parameters.gain));
        SignalProcessing::mul_s(buffer, factor, buffer, frames);
        return;
    }

    // The scratch buffer holds 4096 factors: longer blocks go in pieces.
    for (unsigned long offset = 0; offset < frames; offset += scratchSize)
    {
        const unsigned long n = std::min(scratchSize, frames - offset);
        SignalProcessing::mul_s(parameters.gainBuffer + offset, 0.115129255f, scratch.data(), n);
        SignalProcessing::exp(scratch.data(), scratch.data(), n);
        SignalProcessing::mul(buffer + offset, scratch.data(), buffer + offset, n);
    }
}

void Gain::process(float* buffer, unsigned long frames, float* gainBuffer)
{
    process(buffer, frames, GainParameters{0.0f, gainBuffer});
}
