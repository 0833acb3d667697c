#include "Reverb.h"

#include "Common/Math/Accelerate/SignalProcessing.h"
#include "Common/Math/Memory.h"

#include <algorithm>
#include <cmath>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace
{
    std::vector<float> makeBuffer() { return std::vector<float>(Reverb::bufferLength, 0.0f); }
}

Reverb::Reverb()
    : DelayGroup<DelayLineDamped>(delayInitTimes, maximumDelayMs),
      earlyReflections(std::make_unique<EarlyReflections>()),
      size(makeBuffer()),
      feedbackGain(makeBuffer())
{
    for (unsigned long i = 0; i < lineCount; ++i)
    {
        damped[i] = makeBuffer();
        y[i] = makeBuffer();
        w[i] = makeBuffer();
    }
}

Reverb::~Reverb() = default;

void Reverb::init(int channelCount, double rate)
{
    DelayGroup<DelayLineDamped>::init(1, rate);
    earlyReflections->init(channelCount, rate);
}

void Reverb::clear()
{
    DelayGroup<DelayLineDamped>::clear();
    earlyReflections->clear();
}

void Reverb::processSlice(float* left, float* right, unsigned long frames,
                          const ReverbSliceParameters& p)
{
    for (unsigned long o = 0; o < frames; o += sliceLength)
    {
        const unsigned long n = std::min(sliceLength, frames - o);
        std::array<const float*, lineCount> lfo{};
        for (unsigned long i = 0; i < lineCount; ++i)
            lfo[i] = p.lfo[i] + o;
        setDelayTimes(p.roomSize + o, lfo, n);
        setFeedbackGain(p.reverbTime, p.freeze, n);
        if (earlyReflectionsOn)
            earlyReflections->process(left + o, right + o, n);
        processNetwork(left + o, right + o, p.damping + o, p.dampingMix + o, n);
    }
}

void Reverb::computeSize(const float* roomSize, unsigned long frames)
{
    SignalProcessing::add_s(roomSize, 3.0f, size.data(), frames);
    SignalProcessing::div_s(size.data(), 41.66f, size.data(), frames);
}

void Reverb::setDelayTimes(const float* roomSize, const std::array<const float*, 4>& lfo,
                           unsigned long frames)
{
    frames = std::min(frames, bufferLength);
    if (frames == 0)
        return;
    computeSize(roomSize, frames);
    for (unsigned long i = 0; i < lineCount; ++i)
    {
        float* delay = lines[i]->delayBuffer.data();
        const float* sizes = size.data();
        lines[i]->baseTime = sizes[0] * delayInitTimes[i];
        // |lfo * depth + size * base time|, in one pass.
        for (unsigned long j = 0; j < frames; ++j)
            delay[j] = std::fabs(lfo[i][j] * modulationDepthMs + sizes[j] * delayInitTimes[i]);
    }
    earlyReflections->setDelayTimes(size.data(), lfo.data(), frames);
}

float Reverb::targetGain(float reverbTime, bool frozen) const
{
    if (frozen)
        return frozenGain;
    const float d3 = lines[lineCount - 1]->baseTime;
    const float t = reverbTime / (d3 * 0.001f);
    if (std::isnan(t))
        return previousFeedbackGain;
    if (!(t > 0.0f))
        return 0.0f; // no reverb time: the loop is silent at once
    const float gain = 0.5f * std::pow(0.001f, 1.0f / t);
    return std::min(std::max(gain, 0.0f), frozenGain);
}

void Reverb::setFeedbackGain(float reverbTime, bool frozen, unsigned long frames)
{
    frames = std::min(frames, bufferLength);
    freeze = frozen;
    const float target = targetGain(reverbTime, frozen);
    const float previous = previousFeedbackGain;
    if (frames == 0)
        return;
    if (target != previous)
    {
        const float step = (target - previous) / static_cast<float>(frames);
        SignalProcessing::ramp(previous, step, feedbackGain.data(), frames);
        // The ramp ends on the target itself, so the gain never creeps past it.
        previousFeedbackGain = target;
    }
    else
    {
        SignalProcessing::fill(feedbackGain.data(), previous, frames);
    }
}

void Reverb::processReadDelayLine(unsigned long line, float* io, unsigned long frames,
                                  const float* cutoff, const float* mix)
{
    if (line >= lineCount)
        return;
    frames = std::min(frames, bufferLength);
    DelayLineDamped& delay = *lines[line]->line;
    Memory::copy(cutoff, delay.getCutoffBuffer(), frames);
    SignalProcessing::div_s(mix, 100.0f, delay.getMixBuffer(), frames);
    float* out = damped[line].data();
    delay.read(lines[line]->delayBuffer.data(), out, frames, 0);
    delay.preFeedbackProcess(out, frames, 0);
    addDamped(out, io, frames);
}

void Reverb::addDamped(float* dampedLine, float* io, unsigned long frames)
{
    // A select rather than a branch, so the loop runs in vector lanes; NaN
    // fails the comparison.
    for (unsigned long j = 0; j < frames; ++j)
    {
        const float value = dampedLine[j];
        dampedLine[j] = std::fabs(value) <= std::numeric_limits<float>::max() ? value : 0.0f;
    }
    SignalProcessing::mul_add(feedbackGain.data(), dampedLine, io, io, frames);
}

void Reverb::processReadDelayLines(const float* cutoff, const float* mix, unsigned long frames)
{
    frames = std::min(frames, bufferLength);
    DelayLineDamped* network[lineCount];
    float* out[lineCount];
    for (unsigned long i = 0; i < lineCount; ++i)
    {
        DelayLineDamped& delay = *lines[i]->line;
        network[i] = &delay;
        out[i] = damped[i].data();
        Memory::copy(cutoff, delay.getCutoffBuffer(), frames);
        SignalProcessing::div_s(mix, 100.0f, delay.getMixBuffer(), frames);
        delay.read(lines[i]->delayBuffer.data(), out[i], frames, 0);
    }
    DelayLineDamped::preFeedbackProcess4(network, out, frames);
    // As addDamped into cleared lines, in one pass: the gain times the finite
    // value, plus 0.
    const float* gain = feedbackGain.data();
    for (unsigned long i = 0; i < lineCount; ++i)
    {
        const float* line = out[i];
        float* io = y[i].data();
        for (unsigned long j = 0; j < frames; ++j)
        {
            const float value = std::fabs(line[j]) <= std::numeric_limits<float>::max() ? line[j] : 0.0f;
            io[j] = gain[j] * value + 0.0f;
        }
    }
}

void Reverb::processWriteDelayLine(unsigned long line, float* buffer, unsigned long frames)
{
    if (line >= lineCount)
        return;
    zeroBadValues(buffer, frames);
    lines[line]->line->write(buffer, frames, 0);
}

void Reverb::processWriteDelayLines(const std::array<float*, lineCount>& buffers, unsigned long frames)
{
    for (unsigned long i = 0; i < lineCount; ++i)
        processWriteDelayLine(i, buffers[i], frames);
}

void Reverb::zeroBadValues(float* buffer, unsigned long frames)
{
    for (unsigned long j = 0; j < frames; ++j)
    {
        // A select rather than a branch, so the loop runs in vector lanes.
        const float value = buffer[j];
        const float magnitude = std::fabs(value);
        buffer[j] = (magnitude > 1e-15f && magnitude < 1e15f) ? value : 0.0f;
    }
}

void Reverb::processNetwork(float* left, float* right, const float* damping,
                            const float* dampingMix, unsigned long frames)
{
    const unsigned long n = std::min(frames, bufferLength);
    // Every line is read before any is written.
    processReadDelayLines(damping, dampingMix, n);
    mixLines(left, right, n);
    processWriteDelayLines({w[0].data(), w[1].data(), w[2].data(), w[3].data()}, n);
}

// Frame by frame, with the same operations in the same order as whole-buffer
// passes: y0 += left, y1 += right; s = (y0 + y1, y0 - y1, y2 + y3, y2 - y3);
// w = (s0 + s2, s1 + s3, s0 - s2, s1 - s3); left = g y0 + g y2, right = g y1 + g y3.
void Reverb::mixLines(float* left, float* right, unsigned long n)
{
    const float* y0 = y[0].data();
    const float* y1 = y[1].data();
    const float* y2 = y[2].data();
    const float* y3 = y[3].data();
    float* w0 = w[0].data();
    float* w1 = w[1].data();
    float* w2 = w[2].data();
    float* w3 = w[3].data();
    unsigned long j = 0;
#if defined(__SSE2__)
    const __m128 tap = _mm_set1_ps(tapGain);
    for (; j + 4 <= n; j += 4)
    {
        const __m128 a = _mm_add_ps(_mm_loadu_ps(y0 + j), _mm_loadu_ps(left + j));
        const __m128 b = _mm_add_ps(_mm_loadu_ps(y1 + j), _mm_loadu_ps(right + j));
        const __m128 c = _mm_loadu_ps(y2 + j);
        const __m128 d = _mm_loadu_ps(y3 + j);
        const __m128 s0 = _mm_add_ps(a, b);
        const __m128 s1 = _mm_sub_ps(a, b);
        const __m128 s2 = _mm_add_ps(c, d);
        const __m128 s3 = _mm_sub_ps(c, d);
        _mm_storeu_ps(w0 + j, _mm_add_ps(s0, s2));
        _mm_storeu_ps(w1 + j, _mm_add_ps(s1, s3));
        _mm_storeu_ps(w2 + j, _mm_sub_ps(s0, s2));
        _mm_storeu_ps(w3 + j, _mm_sub_ps(s1, s3));
        _mm_storeu_ps(left + j, _mm_add_ps(_mm_mul_ps(a, tap), _mm_mul_ps(c, tap)));
        _mm_storeu_ps(right + j, _mm_add_ps(_mm_mul_ps(b, tap), _mm_mul_ps(d, tap)));
    }
#endif
    for (; j < n; ++j)
    {
        const float a = y0[j] + left[j];
        const float b = y1[j] + right[j];
        const float c = y2[j];
        const float d = y3[j];
        const float s0 = a + b;
        const float s1 = a - b;
        const float s2 = c + d;
        const float s3 = c - d;
        w0[j] = s0 + s2;
        w1[j] = s1 + s3;
        w2[j] = s0 - s2;
        w3[j] = s1 - s3;
        left[j] = a * tapGain + c * tapGain;
        right[j] = b * tapGain + d * tapGain;
    }
}
