#include "EarlyReflections.h"

#include "Common/Math/Accelerate/SignalProcessing.h"
#include "Common/Math/Memory.h"

#include <algorithm>
#include <cmath>

EarlyReflections::EarlyReflections()
    : DelayGroup<DelayLine>(reflectionInitTimes, maximumDelayMs),
      cascade(bufferLength, 0.0f),
      tap(bufferLength, 0.0f)
{
}

void EarlyReflections::init(int, double rate)
{
    DelayGroup<DelayLine>::init(1, rate);
}

void EarlyReflections::setDelayTimes(const float* size, const float* const* lfo,
                                     unsigned long frames)
{
    frames = std::min(frames, bufferLength);
    for (unsigned long i = 0; i < lineCount; ++i)
    {
        float* delay = lines[i]->delayBuffer.data();
        const float baseTime = lines[i]->baseTime;
        // |lfo * depth + size * base time|, in one pass.
        for (unsigned long j = 0; j < frames; ++j)
            delay[j] = std::fabs(lfo[i][j] * modulationDepthMs + size[j] * baseTime);
    }
}

void EarlyReflections::process(float* left, float* right, unsigned long frames)
{
    frames = std::min(frames, bufferLength);
    float* x = cascade.data();
    float* d = tap.data();
    Memory::copy(right, x, frames);
    // left carries the running sum L.
    for (unsigned long i = 0; i < lineCount - 1; ++i)
    {
        Memory::copy(x, d, frames);
        lines[i]->line->process(d, frames, 0, lines[i]->delayBuffer.data(), nullptr, true, false);
        SignalProcessing::sub(left, d, x, frames); // x = L - d
        SignalProcessing::add(left, d, left, frames); // L = L + d
    }
    lines[lineCount - 1]->line->process(x, frames, 0, lines[lineCount - 1]->delayBuffer.data(),
                                        nullptr, true, false);
    Memory::copy(x, right, frames);
}
