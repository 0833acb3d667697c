#include "Common/ProcessBlock/FrequencyShifter/FrequencyShifter.h"

#include "Common/Math/Accelerate/SignalProcessing.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace
{
    float* allocateBuffer(unsigned long frames)
    {
        auto* buffer = static_cast<float*>(std::calloc(frames, sizeof(float)));
        if (buffer == nullptr)
            throw std::bad_alloc();
        return buffer;
    }
}

FrequencyShifter::FrequencyShifter()
    : phaseRamp(allocateBuffer(bufferFrames)),
      pathBBuffer(allocateBuffer(bufferFrames)),
      cosineBuffer(allocateBuffer(bufferFrames))
{
}

FrequencyShifter::~FrequencyShifter()
{
    destroyStates();
    std::free(phaseRamp);
    std::free(pathBBuffer);
    std::free(cosineBuffer);
}

void FrequencyShifter::init(int channels, double sampleRate)
{
    // The phases exist for four channels only.
    ProcessBlock::init(std::clamp(channels, 0, maximumChannels), sampleRate);

    // A fresh start: the oscillators begin at phase 0 again, so a processor that is
    // prepared anew sounds the same whatever it played before.
    phases.fill(0.0f);
    destroyStates();
    for (auto& sectionStates : states)
    {
        sectionStates.reserve(static_cast<std::size_t>(this->channels));
        for (int channel = 0; channel < this->channels; ++channel)
            sectionStates.push_back(SignalProcessing::biquad_createState());
    }
}

void FrequencyShifter::clear()
{
    for (auto& sectionStates : states)
        for (BiquadState* state : sectionStates)
            state->clear();
}

void FrequencyShifter::processPathA(float* buffer, unsigned long frames, unsigned long channel)
{
    processSection(pathAStage1, buffer, frames, channel);
    processSection(pathAStage2, buffer, frames, channel);
}

void FrequencyShifter::processPathB(float* buffer, unsigned long frames, unsigned long channel)
{
    processSection(pathBStage1, buffer, frames, channel);
    processSection(pathBStage2, buffer, frames, channel);
}

void FrequencyShifter::processPaths(float* pathA, float* pathB, unsigned long frames, unsigned long channel)
{
    float ordered[sectionCount][5];
    const float* sets[sectionCount];
    BiquadState* sectionStates[sectionCount];
    for (int k = 0; k < sectionCount; ++k)
    {
        const CoefficientSet& set = coefficients[static_cast<std::size_t>(k)];
        // The section routine takes b0, b1, b2, a1, a2.
        ordered[k][0] = set[2];
        ordered[k][1] = set[3];
        ordered[k][2] = set[4];
        ordered[k][3] = set[0];
        ordered[k][4] = set[1];
        sets[k] = ordered[k];
        sectionStates[k] = getState(static_cast<Section>(k), channel);
    }
    float* const buffers[sectionCount] = {pathA, pathA, pathB, pathB};
    SignalProcessing::biquadLockstep4(buffers, sets, sectionStates, frames);
    for (BiquadState* state : sectionStates)
        state->clearBadStateValue();
}

BiquadState* FrequencyShifter::getState(Section section, unsigned long channel) const
{
    return states.at(section).at(channel);
}

void FrequencyShifter::processSection(Section section, float* buffer, unsigned long frames, unsigned long channel)
{
    const CoefficientSet& set = coefficients[section];
    // The section routine takes b0, b1, b2, a1, a2.
    const float ordered[5] = {set[2], set[3], set[4], set[0], set[1]};
    BiquadState* state = getState(section, channel);
    SignalProcessing::biquad(buffer, ordered, buffer, frames, state);
    state->clearBadStateValue();
}

void FrequencyShifter::destroyStates()
{
    for (auto& sectionStates : states)
    {
        for (BiquadState* state : sectionStates)
            SignalProcessing::biquad_destroyState(state);
        sectionStates.clear();
    }
}
