#include "DelayLine.h"

#include "Common/Math/Accelerate/SignalProcessing.h"
#include "Common/Math/Memory.h"

#include <algorithm>
#include <cmath>

DelayLine::DelayLine(float maximumDelayMs) : maximumDelay(maximumDelayMs) {}

void DelayLine::init(int channelCount, double rate)
{
    ProcessBlock::init(channelCount, rate);
    const int count = std::max(channelCount, 0);
    const float rateF = static_cast<float>(rate);
    writes.clear();
    reads.clear();
    for (int c = 0; c < count; ++c)
    {
        writes.push_back(std::make_unique<DelayWrite>(rateF, maximumDelay));
        reads.push_back(std::make_unique<DelayRead>(rateF));
    }
}

void DelayLine::clear()
{
    for (auto& w : writes)
        w->clear();
}

void DelayLine::process(float* io, unsigned long frames, unsigned long channel,
                        DelayLineParameters p)
{
    if (p.delayBuffer != nullptr)
    {
        process(io, frames, channel, p.delayBuffer, p.feedbackBuffer, p.write, p.recirculate);
        return;
    }
    if (channel >= writes.size())
        return;

    float feedback = p.feedbackBuffer != nullptr && frames > 0 ? p.feedbackBuffer[0] : p.feedback;
    if (!std::isfinite(feedback))
        feedback = 0.0f;

    for (unsigned long o = 0; o < frames; o += chunkLength)
    {
        const unsigned long n = std::min(chunkLength, frames - o);
        processChunk({io + o, n, o, nullptr, p.delay, nullptr, feedback, p.write, p.recirculate},
                     channel);
    }
}

void DelayLine::process(float* io, unsigned long frames, unsigned long channel,
                        const float* delayBuffer, const float* feedbackBuffer, bool write,
                        bool recirculate)
{
    if (channel >= writes.size())
        return;
    for (unsigned long o = 0; o < frames; o += chunkLength)
    {
        const unsigned long n = std::min(chunkLength, frames - o);
        const float* feedback = feedbackBuffer != nullptr ? feedbackBuffer + o : nullptr;
        processChunk({io + o, n, o, delayBuffer + o, 0.0f, feedback, 0.0f, write, recirculate},
                     channel);
    }
}

void DelayLine::read(const float* delayMs, float* out, unsigned long frames,
                     unsigned long channel)
{
    if (channel >= writes.size())
        return;
    // The reader runs a longer read chunk by chunk from a write index moved on
    // as if each chunk had been written, and scales milliseconds to seconds
    // itself, as toSeconds would.
    reads[channel]->process(delayMs, out, *writes[channel], frames, 0.001f);
}

void DelayLine::write(const float* samples, unsigned long frames, unsigned long channel)
{
    if (channel < writes.size())
        writes[channel]->write(samples, frames);
}

void DelayLine::preFeedbackProcess(float*, unsigned long, unsigned long) {}

void DelayLine::toSeconds(const float* delayMs, float delay, unsigned long frames)
{
    if (delayMs != nullptr)
        SignalProcessing::mul_s(delayMs, 0.001f, seconds.data(), frames);
    else
        SignalProcessing::fill(seconds.data(), delay * 0.001f, frames);
}

void DelayLine::processChunk(const Chunk& chunk, unsigned long channel)
{
    const unsigned long n = chunk.frames;
    if (chunk.delayMs != nullptr)
    {
        reads[channel]->process(chunk.delayMs, delayed.data(), *writes[channel], n, 0.001f);
    }
    else
    {
        toSeconds(chunk.delayMs, chunk.delay, n);
        reads[channel]->process(seconds.data(), delayed.data(), *writes[channel], n);
    }

    const bool feedback = chunk.feedback != nullptr || chunk.scalarFeedback != 0.0f;
    if (feedback)
        applyFeedback(chunk, channel);
    else
        Memory::copy(chunk.recirculate ? delayed.data() : chunk.io, work.data(), n);

    if (chunk.write)
    {
        writes[channel]->write(work.data(), n);
        Memory::copy(delayed.data(), chunk.io, n);
    }
    else
    {
        Memory::copy(work.data(), chunk.io, n);
    }
}

void DelayLine::applyFeedback(const Chunk& chunk, unsigned long channel)
{
    const unsigned long n = chunk.frames;
    Memory::copy(delayed.data(), work.data(), n);
    hookOffset = chunk.offset;
    preFeedbackProcess(work.data(), n, channel);
    hookOffset = 0;
    if (chunk.feedback != nullptr)
        SignalProcessing::mul_add(work.data(), chunk.feedback, chunk.io, work.data(), n);
    else
        SignalProcessing::mul_s_add(work.data(), chunk.scalarFeedback, chunk.io, work.data(), n);
    // A non-finite value must not settle in the loop.
    for (unsigned long i = 0; i < n; ++i)
        if (!std::isfinite(work[i]))
            work[i] = 0.0f;
}
