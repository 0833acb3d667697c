#include "DelayLineDamped.h"

#include "Common/Math/Accelerate/SignalProcessing.h"
#include "Common/Math/Memory.h"

#include <algorithm>

DelayLineDamped::DelayLineDamped(float maximumDelayMs)
    : DelayLine(maximumDelayMs),
      damping(BiquadFilterType::lowPass, 1),
      qBuffer(bufferLength, dampingQ),
      filtered(bufferLength, 0.0f),
      cutoff(bufferLength, 0.0f),
      mix(bufferLength, 0.0f)
{
}

void DelayLineDamped::init(int channelCount, double rate)
{
    DelayLine::init(channelCount, rate);
    damping.init(channelCount, rate);
    // One chunk per call: the coefficients follow the first sample's cutoff.
    damping.maximumSlice = bufferLength;
}

void DelayLineDamped::clear()
{
    DelayLine::clear();
    damping.clear();
}

void DelayLineDamped::preFeedbackProcess(float* buffer, unsigned long frames,
                                         unsigned long channel)
{
    if (channel >= static_cast<unsigned long>(channelCount()))
        return;
    frames = std::min(frames, bufferLength);
    // Past the owner's 4096 values the last ones hold.
    const unsigned long base = std::min(hookOffset, bufferLength - frames);

    Memory::copy(buffer, filtered.data(), frames);
    damping.process(filtered.data(), frames, channel, cutoff.data() + base,
                    qBuffer.data() + base, nullptr);
    SignalProcessing::sub(filtered.data(), buffer, filtered.data(), frames);
    SignalProcessing::mul_add(filtered.data(), mix.data() + base, buffer, buffer, frames);
}
