#include "Common/ProcessBlock/Filters/BiquadFilter.h"

#include "Common/Math/Accelerate/SignalProcessing.h"

#include <algorithm>
#include <stdexcept>

BiquadFilter::BiquadFilter(BiquadFilterType type, int stages)
    : type(type), stages(std::max(1, stages))
{
}

BiquadFilter::~BiquadFilter()
{
    destroyStates();
}

void BiquadFilter::init(int channels, double sampleRate)
{
    ProcessBlock::init(channels, sampleRate);
    coefficients.sampleRate = static_cast<float>(sampleRate);
    // The cached coefficients belong to the previous rate.
    coefficientsValid = false;

    destroyStates();
    const int count = stages * std::max(0, channels);
    states.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        states.push_back(SignalProcessing::biquad_createState());
}

void BiquadFilter::clear()
{
    for (BiquadState* state : states)
        state->clear();
}

void BiquadFilter::setType(BiquadFilterType newType)
{
    if (newType == type)
        return;
    type = newType;
    clear();
}

void BiquadFilter::process(float* buffer, unsigned long frames, unsigned long channel,
                           BiquadFilterParameters parameters)
{
    const bool followsBuffers = parameters.frequencyBuffer != nullptr && parameters.qBuffer != nullptr;
    const unsigned long chunk = followsBuffers ? std::max(1ul, std::min(maximumSlice, frames)) : frames;

    for (unsigned long offset = 0; offset < frames; offset += chunk)
    {
        const unsigned long length = std::min(chunk, frames - offset);
        const float frequency = parameters.frequencyBuffer ? parameters.frequencyBuffer[offset] : parameters.frequency;
        const float q = parameters.qBuffer ? parameters.qBuffer[offset] : parameters.q;
        const float gain = parameters.gainBuffer ? parameters.gainBuffer[offset] : parameters.gain;
        processFilter(buffer + offset, length, channel, frequency, q, gain);
    }
}

void BiquadFilter::process(float* buffer, unsigned long frames, unsigned long channel,
                           float* frequencyBuffer, float* qBuffer, float* gainBuffer)
{
    process(buffer, frames, channel, BiquadFilterParameters{0.0f, frequencyBuffer, 0.0f, qBuffer, 0.0f, gainBuffer});
}

void BiquadFilter::processFilter(float* buffer, unsigned long frames, unsigned long channel,
                                 float frequency, float q, float gain)
{
    updateCoefficients(frequency, q, gain);
    const float section[5] = {coefficients.b0, coefficients.b1, coefficients.b2, coefficients.a1, coefficients.a2};

    const std::size_t channelCount = static_cast<std::size_t>(std::max(0, channels));
    if (channel >= channelCount)
        throw std::out_of_range("BiquadFilter: channel out of range");

    for (int stage = 0; stage < stages; ++stage)
    {
        BiquadState* state = states.at(static_cast<std::size_t>(stage) * channelCount + channel);
        SignalProcessing::biquad(buffer, section, buffer, frames, state);
        state->clearBadStateValue();
    }
}

void BiquadFilter::processChannels(float* const buffers[], unsigned long count, unsigned long frames,
                                   float frequency, float q, float gain)
{
    const auto channelCount = static_cast<unsigned long>(std::max(0, channels));
    if (stages != 1 || count > 4 || count > channelCount)
    {
        for (unsigned long c = 0; c < count; ++c)
            processFilter(buffers[c], frames, c, frequency, q, gain);
        return;
    }
    updateCoefficients(frequency, q, gain);
    const float section[5] = {coefficients.b0, coefficients.b1, coefficients.b2, coefficients.a1, coefficients.a2};
    float* lanes[4] = {nullptr, nullptr, nullptr, nullptr};
    const float* sets[4] = {section, section, section, section};
    BiquadState* laneStates[4] = {nullptr, nullptr, nullptr, nullptr};
    for (unsigned long c = 0; c < count; ++c)
    {
        lanes[c] = buffers[c];
        laneStates[c] = states[c];
    }
    SignalProcessing::biquadLanes4(lanes, sets, laneStates, frames);
    for (unsigned long c = 0; c < count; ++c)
        states[c]->clearBadStateValue();
}

void BiquadFilter::processFilters4(BiquadFilter* const filters[4], float* const buffers[4],
                                   unsigned long frames, const unsigned long channels[4],
                                   const float frequencies[4], const float qs[4], const float gains[4])
{
    bool lanes = true;
    for (int k = 0; k < 4; ++k)
    {
        const BiquadFilter& f = *filters[k];
        lanes = lanes && f.stages == 1 && channels[k] < static_cast<std::size_t>(std::max(0, f.channels));
        for (int j = 0; j < k; ++j)
            lanes = lanes && buffers[j] != buffers[k];
    }
    if (!lanes)
    {
        for (int k = 0; k < 4; ++k)
            filters[k]->processFilter(buffers[k], frames, channels[k], frequencies[k], qs[k], gains[k]);
        return;
    }

    float sections[4][5];
    const float* sets[4];
    BiquadState* states[4];
    for (int k = 0; k < 4; ++k)
    {
        BiquadFilter& f = *filters[k];
        f.updateCoefficients(frequencies[k], qs[k], gains[k]);
        const BiquadCoefficients& c = f.coefficients;
        const float section[5] = {c.b0, c.b1, c.b2, c.a1, c.a2};
        std::copy(section, section + 5, sections[k]);
        sets[k] = sections[k];
        states[k] = f.states[channels[k]];
    }
    SignalProcessing::biquadLanes4(buffers, sets, states, frames);
    for (BiquadState* state : states)
        state->clearBadStateValue();
}

void BiquadFilter::updateCoefficients(float frequency, float q, float gain)
{
    frequency = std::min(frequency, maximumFrequencyRatio * coefficients.sampleRate);

    if (coefficientsValid && frequency == lastFrequency && q == lastQ && gain == lastGain && type == lastType)
        return;

    coefficients.calculateParams(frequency, q, gain, type);
    lastFrequency = frequency;
    lastQ = q;
    lastGain = gain;
    lastType = type;
    coefficientsValid = true;
}

void BiquadFilter::destroyStates()
{
    for (BiquadState* state : states)
        SignalProcessing::biquad_destroyState(state);
    states.clear();
}
