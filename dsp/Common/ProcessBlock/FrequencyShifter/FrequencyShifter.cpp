#include "Common/ProcessBlock/FrequencyShifter/FrequencyShifter.h"

#include "Common/Math/Accelerate/PortableBiquadState.h"
#include "Common/Math/Accelerate/SignalProcessing.h"

#include <algorithm>
#include <cstdlib>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace
{
    float* allocateBuffer(unsigned long frames)
    {
        auto* buffer = static_cast<float*>(std::calloc(frames, sizeof(float)));
        if (buffer == nullptr)
            throw std::bad_alloc();
        return buffer;
    }

    // Four floats, one per channel. Each operation rounds exactly as the scalar
    // one does, so a lane gives the scalar result bit for bit.
#if defined(__SSE2__)
    struct Lanes
    {
        __m128 v;
        static Lanes load(const float* p) { return {_mm_loadu_ps(p)}; }
        static Lanes all(float x) { return {_mm_set1_ps(x)}; }
        void store(float* p) const { _mm_storeu_ps(p, v); }
    };
    Lanes operator+(Lanes a, Lanes b) { return {_mm_add_ps(a.v, b.v)}; }
    Lanes operator-(Lanes a, Lanes b) { return {_mm_sub_ps(a.v, b.v)}; }
    Lanes operator*(Lanes a, Lanes b) { return {_mm_mul_ps(a.v, b.v)}; }
#else
    struct Lanes
    {
        float v[4];
        static Lanes load(const float* p) { return {{p[0], p[1], p[2], p[3]}}; }
        static Lanes all(float x) { return {{x, x, x, x}}; }
        void store(float* p) const { std::copy(v, v + 4, p); }
    };
    template <typename Op> Lanes eachLane(Lanes a, Lanes b, Op op)
    {
        return {{op(a.v[0], b.v[0]), op(a.v[1], b.v[1]), op(a.v[2], b.v[2]), op(a.v[3], b.v[3])}};
    }
    Lanes operator+(Lanes a, Lanes b) { return eachLane(a, b, [](float x, float y) { return x + y; }); }
    Lanes operator-(Lanes a, Lanes b) { return eachLane(a, b, [](float x, float y) { return x - y; }); }
    Lanes operator*(Lanes a, Lanes b) { return eachLane(a, b, [](float x, float y) { return x * y; }); }
#endif

    // One all-pass section for four channels: its coefficients (the same for every
    // channel) and each channel's history.
    struct LaneSection
    {
        Lanes b0, b1, b2, a1, a2;
        Lanes x2, x1, y2, y1;

        // The same expression, in the same order, as a single section.
        Lanes step(Lanes x0)
        {
            const Lanes y0 = b0 * x0 + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
            x2 = x1;
            x1 = x0;
            y2 = y1;
            y1 = y0;
            return y0;
        }
    };

    // A section's coefficients (a1, a2, b0, b1, b2) and the histories of four channels.
    LaneSection loadLaneSection(const FrequencyShifter::CoefficientSet& set, const std::vector<BiquadState*>& states)
    {
        float history[4][4];
        for (std::size_t c = 0; c < 4; ++c)
        {
            const auto* state = static_cast<const PortableBiquadState*>(states[c]);
            history[0][c] = state->inputHistory[0];
            history[1][c] = state->inputHistory[1];
            history[2][c] = state->outputHistory[0];
            history[3][c] = state->outputHistory[1];
        }
        return {Lanes::all(set[2]), Lanes::all(set[3]), Lanes::all(set[4]), Lanes::all(set[0]), Lanes::all(set[1]),
                Lanes::load(history[0]), Lanes::load(history[1]), Lanes::load(history[2]), Lanes::load(history[3])};
    }

    void storeLaneSection(const LaneSection& section, const std::vector<BiquadState*>& states)
    {
        float history[4][4];
        section.x2.store(history[0]);
        section.x1.store(history[1]);
        section.y2.store(history[2]);
        section.y1.store(history[3]);
        for (std::size_t c = 0; c < 4; ++c)
        {
            auto* state = static_cast<PortableBiquadState*>(states[c]);
            state->inputHistory[0] = history[0][c];
            state->inputHistory[1] = history[1][c];
            state->outputHistory[0] = history[2][c];
            state->outputHistory[1] = history[3][c];
            state->clearBadStateValue();
        }
    }

    constexpr unsigned long laneChunkFrames = 64;
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

void FrequencyShifter::processChannels(const float* const inputs[maximumChannels], float* const pathA[maximumChannels],
                                       float* const pathB[maximumChannels], unsigned long frames)
{
    if (getChannelCount() != maximumChannels)
        return;
    // Named sections, not an array: the compiler keeps them out of memory.
    LaneSection a1 = loadLaneSection(coefficients[pathAStage1], states[pathAStage1]);
    LaneSection a2 = loadLaneSection(coefficients[pathAStage2], states[pathAStage2]);
    LaneSection b1 = loadLaneSection(coefficients[pathBStage1], states[pathBStage1]);
    LaneSection b2 = loadLaneSection(coefficients[pathBStage2], states[pathBStage2]);
    unsigned long done = 0;
#if defined(__SSE2__)
    // Four frames at a time: a transpose turns four channels' frames into four
    // frames of four channels, and back.
    for (; done + 4 <= frames; done += 4)
    {
        __m128 x[4];
        for (unsigned long c = 0; c < 4; ++c)
            x[c] = _mm_loadu_ps(inputs[c] + done);
        _MM_TRANSPOSE4_PS(x[0], x[1], x[2], x[3]);
        __m128 outA[4];
        __m128 outB[4];
        for (unsigned long j = 0; j < 4; ++j)
        {
            const Lanes in{x[j]};
            outA[j] = a2.step(a1.step(in)).v;
            outB[j] = b2.step(b1.step(in)).v;
        }
        if (pathA == nullptr || pathB == nullptr)
            continue;
        _MM_TRANSPOSE4_PS(outA[0], outA[1], outA[2], outA[3]);
        _MM_TRANSPOSE4_PS(outB[0], outB[1], outB[2], outB[3]);
        for (unsigned long c = 0; c < 4; ++c)
        {
            _mm_storeu_ps(pathA[c] + done, outA[c]);
            _mm_storeu_ps(pathB[c] + done, outB[c]);
        }
    }
#endif
    for (unsigned long offset = done; offset < frames; offset += laneChunkFrames)
    {
        const unsigned long n = std::min(laneChunkFrames, frames - offset);
        float in[laneChunkFrames * 4];
        float outA[laneChunkFrames * 4];
        float outB[laneChunkFrames * 4];
        for (unsigned long i = 0; i < n; ++i)
            for (unsigned long c = 0; c < 4; ++c)
                in[4 * i + c] = inputs[c][offset + i];
        for (unsigned long i = 0; i < n; ++i)
        {
            const Lanes x = Lanes::load(in + 4 * i);
            a2.step(a1.step(x)).store(outA + 4 * i);
            b2.step(b1.step(x)).store(outB + 4 * i);
        }
        if (pathA == nullptr || pathB == nullptr)
            continue;
        for (unsigned long c = 0; c < 4; ++c)
            for (unsigned long i = 0; i < n; ++i)
            {
                pathA[c][offset + i] = outA[4 * i + c];
                pathB[c][offset + i] = outB[4 * i + c];
            }
    }
    storeLaneSection(a1, states[pathAStage1]);
    storeLaneSection(a2, states[pathAStage2]);
    storeLaneSection(b1, states[pathBStage1]);
    storeLaneSection(b2, states[pathBStage2]);
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
