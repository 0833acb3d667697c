#include "Common/ProcessBlock/Oscillators/Lfo.h"

#include "Common/Math/Accelerate/SignalProcessing.h"
#include "Common/Math/Memory.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>

namespace
{
    constexpr float twoPi = 6.2831855f;
    constexpr float halfPi = 1.5707964f;

    // Instances get different random sequences, reproducibly in construction order.
    std::uint32_t nextSeed()
    {
        static std::atomic<std::uint32_t> instances{0};
        return 0x9E3779B9u * (instances.fetch_add(1) + 1u);
    }

    float* allocateBuffer(unsigned long frames)
    {
        auto* buffer = static_cast<float*>(std::calloc(frames, sizeof(float)));
        if (buffer == nullptr)
            throw std::bad_alloc();
        return buffer;
    }
}

Lfo::Lfo()
    : phaseRamp(allocateBuffer(bufferFrames)), generator(nextSeed())
{
    smoothingFilter.init(channels, sampleRate);
    smoothingFilter.maximumSlice = bufferFrames;
}

Lfo::~Lfo()
{
    std::free(phaseRamp);
}

void Lfo::init(int channels, double sampleRate)
{
    ProcessBlock::init(channels, sampleRate);
    clear();
    smoothingFilter.init(channels, sampleRate);
    smoothingFilter.maximumSlice = bufferFrames;
}

void Lfo::clear()
{
    phase = 0.0f;
}

void Lfo::processContext(MusicalContextStruct context, TransportStateStruct transport, unsigned long frames)
{
    // A host without a valid tempo or position leaves the previous ones in force.
    if (std::isfinite(context.tempo))
        tempo = static_cast<float>(context.tempo);
    const double numerator = context.timeSignatureNumerator;
    if (std::isfinite(numerator) && std::fabs(numerator) < 1.0e9)
        barOffset = static_cast<std::int64_t>(numerator);
    if (std::isfinite(context.positionInQuarterNotes))
        position = static_cast<double>(barOffset) + context.positionInQuarterNotes
                   + static_cast<double>(frames) * tempo / (60.0 * sampleRate);
    playing = transport.playing;
}

Lfo::RampState Lfo::rampState() const
{
    return {phase, randomClock, {randomValues[0], randomValues[1]}, generator};
}

void Lfo::setRampState(const RampState& state)
{
    phase = state.phase;
    randomClock = state.randomClock;
    randomValues[0] = state.randomValues[0];
    randomValues[1] = state.randomValues[1];
    generator = state.generator;
}

void Lfo::process(float* out, unsigned long frames, unsigned long index, LfoParameters parameters, float* trigger)
{
    if (frames > bufferFrames)
        processLongCall(out, frames, index, parameters, trigger);
    else if (frames > 0)
        processPiece(out, frames, 0, index, parameters, trigger, false);
}

void Lfo::processLongCall(float* out, unsigned long frames, unsigned long index, LfoParameters parameters,
                          float* trigger)
{
    // The phase ramp holds one piece: longer calls run in pieces. Output 0
    // leaves only its last piece's ramp behind, so the other outputs render
    // each piece's ramp again from the state output 0 started with, and then
    // take back the state output 0 left.
    const bool rebuildRamp = index != 0;
    const RampState resume = rampState();
    if (rebuildRamp)
    {
        setRampState(longCallStart);
    }
    else
    {
        longCallStart = resume;
        longCallHasOffset = parameters.phaseOffset != nullptr;
        longCallOffset = longCallHasOffset ? parameters.phaseOffset[0] : 0.0f;
    }

    for (unsigned long offset = 0; offset < frames; offset += bufferFrames)
    {
        LfoParameters piece = parameters;
        if (piece.rate != nullptr)
            piece.rate += offset;
        if (piece.phasePercent != nullptr)
            piece.phasePercent += offset;
        if (piece.phaseOffset != nullptr)
            piece.phaseOffset += offset;
        if (piece.amount != nullptr)
            piece.amount += offset;
        processPiece(out + offset, std::min(bufferFrames, frames - offset), offset, index, piece,
                     trigger != nullptr ? trigger + offset : nullptr, rebuildRamp);
    }

    if (rebuildRamp)
        setRampState(resume);
}

void Lfo::processPiece(float* out, unsigned long frames, unsigned long firstFrame, unsigned long index,
                       LfoParameters parameters, float* trigger, bool rebuildRamp)
{
    if (mode == Mode::tempoSynced && playing)
    {
        processSynced(out, frames, firstFrame, index, parameters);
    }
    else
    {
        if (index == 0)
        {
            renderPhaseRamp(out, frames, parameters, trigger);
        }
        else if (rebuildRamp)
        {
            // The random values advance with output 0's offset.
            LfoParameters outputZero = parameters;
            outputZero.phaseOffset = longCallHasOffset ? &longCallOffset : nullptr;
            renderPhaseRamp(out, frames, outputZero, trigger);
        }
        else
        {
            Memory::copy(phaseRamp, out, frames);
        }
        applyPhaseOffset(out, frames, index, parameters);
        applyShape(out, frames, index);
    }
    applyDepth(out, frames, index, parameters);
}

// ---- tempo-synchronised, transport playing: each output computes its own phase ----

void Lfo::processSynced(float* out, unsigned long frames, unsigned long firstFrame, unsigned long index,
                        LfoParameters parameters)
{
    const double beatsPerSample = tempo / 60.0 / sampleRate;
    float period = syncDivision * syncFactor;
    if (shape == Shape::random)
        period *= 0.5f;
    const float offset = parameters.phaseOffset != nullptr ? parameters.phaseOffset[0] : 0.0f;

    for (unsigned long i = 0; i < frames; ++i)
    {
        double p = static_cast<double>(firstFrame + i) * beatsPerSample + (position - static_cast<double>(barOffset));
        const float percent = parameters.phasePercent != nullptr ? parameters.phasePercent[i] : 0.0f;
        if (offset >= 0.0f && index == 1)
            p -= offset * period;
        if (offset < 0.0f && index == 0)
            p += offset * period;

        float ph = std::fmod(static_cast<float>(percent / 100.0f * period + p), period);
        // A position before the bar start would give a negative phase and values beyond [-1, 1].
        if (ph < 0.0f)
            ph += period;
        out[i] = syncedValue(ph, period, index, offset);
    }
}

float Lfo::syncedValue(float ph, float period, unsigned long index, float offset)
{
    const float u = ph / period;
    switch (shape)
    {
        case Shape::sine:
            return std::sin(twoPi * u);
        case Shape::triangle:
        {
            float t = std::fmod(u + 0.25f, 1.0f);
            if (t > 0.5f)
                t = 1.0f - t;
            return 4.0f * t - 1.0f;
        }
        case Shape::sawUp:
            return 2.0f * u - 1.0f;
        case Shape::sawDown:
            return 2.0f * (1.0f - u) - 1.0f;
        case Shape::square:
            return ph <= period * 0.5f ? 1.0f : -1.0f;
        case Shape::random:
        {
            // Only outputs 0 and 1 have a sample-and-hold; further outputs share output 1's.
            const unsigned long slot = std::min(index, 1ul);
            if (ph > period * 0.5f)
            {
                aboveHalf[slot] = true;
            }
            else if (aboveHalf[slot])
            {
                aboveHalf[slot] = false;
                drawSyncedValue(slot, offset);
            }
            return heldValues[slot];
        }
    }
    return 0.0f;
}

void Lfo::drawSyncedValue(unsigned long slot, float offset)
{
    if (channels < 2)
        heldValues[slot] = drawRandom();
    else if (offset >= 0.0f)
        heldValues[slot] = slot == 0 ? drawRandom() : heldValues[0];
    else
        heldValues[slot] = slot == 1 ? drawRandom() : heldValues[1];
}

// ---- free-running, retriggered, or synchronised while stopped ----

float Lfo::periodMilliseconds(LfoParameters parameters) const
{
    if (mode == Mode::tempoSynced)
        return 60.0f / tempo * 1000.0f * syncDivision * syncFactor;
    const float rate = parameters.rate != nullptr ? parameters.rate[0] : minimumRate;
    return 1000.0f / std::min(40.0f, std::max(minimumRate, rate));
}

void Lfo::renderPhaseRamp(float* out, unsigned long frames, LfoParameters parameters, float* trigger)
{
    const float period = periodMilliseconds(parameters);
    if (randomRunning && frames > 0)
        advanceRandomValues(frames, period, parameters, trigger);

    float increment = period > 0.0f ? static_cast<float>((1000.0f / period) / sampleRate) : 0.0f;
    if (!std::isfinite(increment))
        increment = 0.0f;  // a phase that turned NaN would never recover

    if (mode == Mode::retriggered && trigger != nullptr)
    {
        float start = phase;
        float k = 0.0f;
        for (unsigned long i = 0; i < frames; ++i)
        {
            if (trigger[i] != 0.0f)
            {
                start = 0.0f;
                k = 0.0f;
            }
            out[i] = start + k * increment;
            k += 1.0f;
        }
    }
    else
    {
        for (unsigned long i = 0; i < frames; ++i)
            out[i] = phase + static_cast<float>(i) * increment;
    }

    SignalProcessing::frac(out, frames);

    if (frames > 0)
    {
        const float next = increment + out[frames - 1];
        phase = next - std::trunc(next);
    }
    Memory::copy(out, phaseRamp, frames);
}

void Lfo::advanceRandomValues(unsigned long frames, float period, LfoParameters parameters, float* trigger)
{
    if (!(period > 0.0f))
        return;

    const float halfPeriod = period * 0.5f;
    const float step = static_cast<float>(1000.0 / sampleRate);
    float& left = randomValues[0];
    float& right = randomValues[1];

    // The clock falls by half a period at each draw; after a long pause or a
    // shorter period it catches up at once instead of drawing on every sample.
    auto drawDue = [&]() {
        if (randomClock < halfPeriod)
            return false;
        randomClock = std::fmod(randomClock, halfPeriod);
        return true;
    };

    for (unsigned long i = 0; i < frames; ++i)
    {
        if (trigger != nullptr && mode == Mode::retriggered && trigger[i] > 0.0f)
            randomClock = halfPeriod;
        randomClock += step;

        if (parameters.phaseOffset == nullptr)
        {
            if (drawDue())
                left = right = drawRandom();
            continue;
        }

        const float offset = parameters.phaseOffset[0];
        if (offset == 0.0f && left != right)
        {
            left = right = drawRandom();
        }
        else if (offset > 0.0f)
        {
            if (randomClock >= offset * period && right != left)
                right = left;
            if (drawDue())
                left = drawRandom();
        }
        else
        {
            if (randomClock >= std::fabs(offset) * period && left != right)
                left = right;
            if (drawDue())
                right = drawRandom();
        }
    }
}

void Lfo::applyPhaseOffset(float* out, unsigned long frames, unsigned long index, LfoParameters parameters)
{
    if (parameters.phaseOffset == nullptr)
        return;
    const float offset = parameters.phaseOffset[0];
    if (!((index != 0 && offset >= 0.0f) || (index == 0 && offset < 0.0f)))
        return;
    for (unsigned long i = 0; i < frames; ++i)
        out[i] = out[i] + parameters.phaseOffset[i] + 1.0f;
    SignalProcessing::wrap(out, frames);
}

void Lfo::applyShape(float* out, unsigned long frames, unsigned long index)
{
    switch (shape)
    {
        case Shape::sine:
            for (unsigned long i = 0; i < frames; ++i)
                out[i] = twoPi * out[i] - halfPi;
            SignalProcessing::sin(out, out, frames);
            break;
        case Shape::triangle:
            for (unsigned long i = 0; i < frames; ++i)
                out[i] = 4.0f * std::min(out[i], 1.0f - out[i]) - 1.0f;
            break;
        case Shape::sawUp:
            for (unsigned long i = 0; i < frames; ++i)
                out[i] = 2.0f * out[i] - 1.0f;
            break;
        case Shape::sawDown:
            for (unsigned long i = 0; i < frames; ++i)
                out[i] = 1.0f - 2.0f * out[i];
            break;
        case Shape::square:
            for (unsigned long i = 0; i < frames; ++i)
                out[i] = out[i] >= 0.5f ? -1.0f : 1.0f;
            break;
        case Shape::random:
            std::fill(out, out + frames, index == 0 ? randomValues[0] : randomValues[1]);
            break;
        default:
            std::fill(out, out + frames, 0.0f);
            break;
    }
}

void Lfo::applyDepth(float* out, unsigned long frames, unsigned long index, LfoParameters parameters)
{
    if (parameters.amount != nullptr)
    {
        for (unsigned long i = 0; i < frames; ++i)
        {
            float depth = parameters.amount[i] * 0.01f;
            if (depthSquared)
                depth *= depth;
            out[i] *= depth;
        }
    }

    // The smoothing filter keeps one state per channel given to init.
    if (smoothing && index < static_cast<unsigned long>(std::max(0, channels)))
        smoothingFilter.process(out, frames, index, BiquadFilterParameters{100.0f, nullptr, -3.0f, nullptr, 0.0f, nullptr});
}

float Lfo::drawRandom()
{
    // 24 random bits give values in [-1, 1) exactly representable in float.
    const std::uint32_t bits = static_cast<std::uint32_t>(generator() >> 7) & 0xFFFFFFu;
    return static_cast<float>(bits) * (2.0f / 16777216.0f) - 1.0f;
}
