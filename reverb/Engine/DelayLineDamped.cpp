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

void DelayLineDamped::preFeedbackProcess4(DelayLineDamped* const lines[4], float* const buffers[4],
                                          unsigned long frames)
{
    for (int k = 0; k < 4; ++k)
        if (lines[k]->channelCount() < 1)
        {
            for (int j = 0; j < 4; ++j)
                lines[j]->preFeedbackProcess(buffers[j], frames, 0);
            return;
        }
    frames = std::min(frames, bufferLength);
    if (frames == 0)
        return;

    BiquadFilter* filters[4];
    float* filtered[4];
    unsigned long base[4];
    float frequencies[4];
    float qs[4];
    for (int k = 0; k < 4; ++k)
    {
        DelayLineDamped& line = *lines[k];
        base[k] = std::min(line.hookOffset, bufferLength - frames);
        filters[k] = &line.damping;
        filtered[k] = line.filtered.data();
        frequencies[k] = line.cutoff[base[k]];
        qs[k] = line.qBuffer[base[k]];
        Memory::copy(buffers[k], filtered[k], frames);
    }
    // One chunk, as in preFeedbackProcess: no gain buffer, so the gain is 0.
    const unsigned long channels[4] = {0, 0, 0, 0};
    const float gains[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    BiquadFilter::processFilters4(filters, filtered, frames, channels, frequencies, qs, gains);
    for (int k = 0; k < 4; ++k)
    {
        // (filtered - in) * mix + in, in one pass.
        const float* mix = lines[k]->mix.data() + base[k];
        float* io = buffers[k];
        for (unsigned long j = 0; j < frames; ++j)
            io[j] = (filtered[k][j] - io[j]) * mix[j] + io[j];
    }
}
