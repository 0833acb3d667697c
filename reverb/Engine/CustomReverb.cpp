#include "CustomReverb.h"

#include "Common/Math/Accelerate/SignalProcessing.h"
#include "Common/Math/Memory.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
    // The Hilbert pair: path A is S2 after S1, path B is S4 after S3; A leads B
    // by about 90 degrees across the audio band. Sets are a1, a2, b0, b1, b2.
    constexpr FrequencyShifter::CoefficientSet pathA1{0.02569f, -0.260502f, -0.260502f, 0.02568f, 1.0f};
    constexpr FrequencyShifter::CoefficientSet pathA2{-1.8685f, 0.870686f, 0.870686f, -1.8685f, 1.0f};
    constexpr FrequencyShifter::CoefficientSet pathB1{-1.94632f, 0.94657f, 0.94657f, -1.94632f, 1.0f};
    constexpr FrequencyShifter::CoefficientSet pathB2{-0.83774f, 0.06338f, 0.06338f, -0.83774f, 1.0f};

    constexpr unsigned long shifterChannels = 4;
}

CustomReverb::CustomReverb()
    : shiftScratch(bufferLength, 0.0f), shiftMix(bufferLength, 0.0f)
{
    for (unsigned long line = 0; line < lineCount; ++line)
    {
        linePathA[line].assign(bufferLength, 0.0f);
        linePathB[line].assign(bufferLength, 0.0f);
    }
    frequencyShifter.coefficients[FrequencyShifter::pathAStage1] = pathA1;
    frequencyShifter.coefficients[FrequencyShifter::pathAStage2] = pathA2;
    frequencyShifter.coefficients[FrequencyShifter::pathBStage1] = pathB1;
    frequencyShifter.coefficients[FrequencyShifter::pathBStage2] = pathB2;
    // States exist from construction, so a write before the first init is safe.
    frequencyShifter.init(shifterChannels, sampleRate);
    dryWet.init(shifterChannels, sampleRate);
}

void CustomReverb::init(int channelCount, double rate)
{
    Reverb::init(channelCount, rate);
    frequencyShifter.init(shifterChannels, rate);
    dryWet.init(shifterChannels, rate);
}

void CustomReverb::clear()
{
    Reverb::clear();
    frequencyShifter.clear();
}

void CustomReverb::setShiftFrequency(float hertz)
{
    shiftFrequency = std::isfinite(hertz) ? hertz : 0.0f;
}

void CustomReverb::setShiftMix(const float* mixPercent, unsigned long frames)
{
    const unsigned long n = std::min(frames, bufferLength);
    if (mixPercent == nullptr)
        std::fill(shiftMix.begin(), shiftMix.begin() + static_cast<long>(n), 0.0f);
    else
        Memory::copy(mixPercent, shiftMix.data(), n);
}

void CustomReverb::processWriteDelayLine(unsigned long line, float* buffer, unsigned long frames)
{
    shiftAndDrive(line, buffer, frames);
    Reverb::processWriteDelayLine(line, buffer, frames);
}

void CustomReverb::shiftAndDrive(unsigned long line, float* buffer, unsigned long frames)
{
    if (line >= static_cast<unsigned long>(frequencyShifter.getChannelCount()))
        return;
    // Chunks keep every call inside the 4096-sample work buffers.
    for (unsigned long offset = 0; offset < frames; offset += bufferLength)
        processChunk(line, buffer + offset, std::min(bufferLength, frames - offset));
}

void CustomReverb::processChunk(unsigned long line, float* x, unsigned long frames)
{
    float* s = shiftScratch.data();
    float* pathB = frequencyShifter.pathBBuffer;
    Memory::copy(x, s, frames);
    Memory::copy(x, pathB, frames);
    rampPhase(line, frames);
    frequencyShifter.processPaths(s, pathB, frames, line);
    finishShift(x, s, pathB, frames);
}

void CustomReverb::processWriteDelayLines(const std::array<float*, lineCount>& buffers, unsigned long frames)
{
    if (frequencyShifter.getChannelCount() != static_cast<int>(lineCount))
    {
        Reverb::processWriteDelayLines(buffers, frames);
        return;
    }
    for (unsigned long offset = 0; offset < frames; offset += bufferLength)
    {
        const unsigned long n = std::min(bufferLength, frames - offset);
        std::array<float*, lineCount> chunk{};
        for (unsigned long line = 0; line < lineCount; ++line)
            chunk[line] = buffers[line] + offset;
        shiftLines(chunk, n);
    }
    for (unsigned long line = 0; line < lineCount; ++line)
        Reverb::processWriteDelayLine(line, buffers[line], frames);
}

// processChunk for every line, the four lines' all-pass paths computed together.
// Without shift mix the paths' outputs and the phase ramps go unused: only the
// all-pass histories and the stored phases move on.
void CustomReverb::shiftLines(const std::array<float*, lineCount>& buffers, unsigned long frames)
{
    const bool mixed = !mixIsZero(frames);
    float* pathA[lineCount];
    float* pathB[lineCount];
    for (unsigned long line = 0; line < lineCount; ++line)
    {
        pathA[line] = linePathA[line].data();
        pathB[line] = linePathB[line].data();
    }
    frequencyShifter.processChannels(buffers.data(), mixed ? pathA : nullptr, mixed ? pathB : nullptr, frames);
    if (!mixed)
    {
        for (unsigned long line = 0; line < lineCount; ++line)
            advancePhase(line, frames);
        return;
    }
    // The carriers and the phase a line moves on to depend on its stored phase,
    // the shift frequency and the frame count alone: a line whose stored phase
    // equals the line before's takes that line's. The lines start together and
    // move on together, so the carriers are made once per slice.
    float carrierStart = 0.0f;
    for (unsigned long line = 0; line < lineCount; ++line)
    {
        const float start = storedPhase(line);
        if (line > 0 && sameBits(start, carrierStart))
        {
            frequencyShifter.phases[line] = frequencyShifter.phases[line - 1];
        }
        else
        {
            rampPhase(line, frames);
            makeCarriers(frames);
            carrierStart = start;
        }
        applyCarriers(pathA[line], pathB[line], frames);
        blendAndDrive(buffers[line], pathA[line], frames);
    }
}

bool CustomReverb::sameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// With no shift mix anywhere in the slice both blends keep x exactly as it is;
// the phase and the all-pass histories have moved on all the same.
void CustomReverb::finishShift(float* x, float* s, float* pathB, unsigned long frames)
{
    if (mixIsZero(frames))
        return;
    makeCarriers(frames);
    applyCarriers(s, pathB, frames);
    blendAndDrive(x, s, frames);
}

// The phase ramp of the slice from the line's stored phase, kept as a fraction
// of a cycle (negative while the shift is negative); the stored phase moves on
// to the slice's end.
void CustomReverb::rampPhase(unsigned long line, unsigned long frames)
{
    float* phase = frequencyShifter.phaseRamp;
    float& stored = storedPhase(line);
    const float increment = phaseIncrement();
    SignalProcessing::ramp(stored, increment, phase, frames);
    SignalProcessing::frac(phase, frames);
    stored = phaseAfter(phase[frames - 1], increment);
}

// The stored phase rampPhase leaves, computed from the ramp's last value alone.
void CustomReverb::advancePhase(unsigned long line, unsigned long frames)
{
    float& stored = storedPhase(line);
    const float increment = phaseIncrement();
    float last = stored + static_cast<float>(frames - 1) * increment;
    SignalProcessing::frac(&last, 1);
    stored = phaseAfter(last, increment);
}

float& CustomReverb::storedPhase(unsigned long line)
{
    float& stored = frequencyShifter.phases[line];
    if (!std::isfinite(stored))
        stored = 0.0f;
    return stored;
}

float CustomReverb::phaseIncrement() const
{
    const auto increment = static_cast<float>(static_cast<double>(shiftFrequency) / sampleRate);
    return std::isfinite(increment) ? increment : 0.0f;
}

float CustomReverb::phaseAfter(float last, float increment)
{
    const float end = increment + last;
    return end - std::trunc(end);
}

// The two carriers of the slice's phase ramp: cos(2πφ) in the cosine buffer
// and cos(2π(φ − 1/4)) = sin(2πφ) in place of the ramp.
void CustomReverb::makeCarriers(unsigned long frames)
{
    float* phase = frequencyShifter.phaseRamp;
    float* cosine = frequencyShifter.cosineBuffer;
    SignalProcessing::mul_s(phase, twoPi, cosine, frames);
    SignalProcessing::cos(cosine, cosine, frames);
    SignalProcessing::add_s(phase, -0.25f, phase, frames);
    SignalProcessing::mul_s(phase, twoPi, phase, frames);
    SignalProcessing::cos(phase, phase, frames);
}

// s = A·cos(2πφ) − B·sin(2πφ): with A leading B by 90 degrees every component
// moves up by the shift frequency (down for a negative one).
void CustomReverb::applyCarriers(float* s, float* pathB, unsigned long frames)
{
    SignalProcessing::mul(s, frequencyShifter.cosineBuffer, s, frames);
    SignalProcessing::mul(pathB, frequencyShifter.phaseRamp, pathB, frames);
    SignalProcessing::sub(s, pathB, s, frames);
}

// Blends the shifted signal s into x, drives it, and blends the result into x.
void CustomReverb::blendAndDrive(float* x, float* s, unsigned long frames)
{
    dryWet.setTwoSided(true);
    dryWet.process(x, s, s, frames, shiftMix.data());
    SignalProcessing::mul_s(s, drive(), s, frames);
    SignalProcessing::tanh(s, s, frames);
    SignalProcessing::mul_s(s, 2.0f, s, frames);
    dryWet.setTwoSided(false);
    dryWet.process(x, s, x, frames, shiftMix.data());
}

// 0.5 at a shift mix of 0 %, 0.81 at 100 %, from the slice's first mix value.
float CustomReverb::drive() const
{
    const double mix = std::isfinite(shiftMix[0]) ? shiftMix[0] : 0.0;
    return static_cast<float>(mix / 100.0 * 0.31 + 0.5);
}

bool CustomReverb::mixIsZero(unsigned long frames) const
{
    return std::none_of(shiftMix.begin(), shiftMix.begin() + static_cast<long>(frames),
                        [](float mix) { return mix > 0.0f; });
}
