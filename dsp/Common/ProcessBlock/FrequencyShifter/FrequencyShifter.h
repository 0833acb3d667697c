#pragma once

#include "Common/ProcessBlock/ProcessBlock.h"

#include <array>
#include <vector>

class BiquadState;

// State of a single-sideband frequency shifter built from a Hilbert pair: two
// chains of two all-pass sections (path A and path B) whose outputs are about
// 90 degrees apart over the audio band, path A leading. The owner fills the
// coefficient sets and forms the shifted signal from the two paths.
class FrequencyShifter : public ProcessBlock
{
public:
    static constexpr int maximumChannels = 4;
    static constexpr unsigned long bufferFrames = 4096;

    // One section's coefficients, in the order a1, a2, b0, b1, b2.
    using CoefficientSet = std::array<float, 5>;
    enum Section { pathAStage1 = 0, pathAStage2, pathBStage1, pathBStage2, sectionCount };

    FrequencyShifter();
    ~FrequencyShifter() override;

    // Makes fresh, cleared states for every section and channel (at most four channels)
    // and sets the phases back to 0.
    void init(int channels, double sampleRate) override;
    // Clears every section's history; phases and coefficients stay.
    void clear() override;

    // Runs path A (stage 1, then stage 2) or path B in place on one channel, cleaning
    // each section's history of bad values after it.
    void processPathA(float* buffer, unsigned long frames, unsigned long channel);
    void processPathB(float* buffer, unsigned long frames, unsigned long channel);

    // Both paths at once: the same results as processPathA on pathA and
    // processPathB on pathB, with the four sections' recursions overlapping.
    void processPaths(float* pathA, float* pathB, unsigned long frames, unsigned long channel);

    // All four channels at once, one per vector lane: for each channel c the same
    // results as processPaths on two copies of inputs[c], written to pathA[c] and
    // pathB[c]. Needs four channels (does nothing otherwise). With pathA and pathB
    // null only the histories move on.
    void processChannels(const float* const inputs[maximumChannels], float* const pathA[maximumChannels],
                         float* const pathB[maximumChannels], unsigned long frames);

    BiquadState* getState(Section section, unsigned long channel) const;
    int getChannelCount() const { return static_cast<int>(states[pathAStage1].size()); }

    // Oscillator phase per channel, in cycles.
    std::array<float, maximumChannels> phases{};
    std::array<CoefficientSet, sectionCount> coefficients{};

    // Work buffers of bufferFrames floats each, for the owner's use.
    float* const phaseRamp;
    float* const pathBBuffer;
    float* const cosineBuffer;

private:
    void destroyStates();
    void processSection(Section section, float* buffer, unsigned long frames, unsigned long channel);

    std::array<std::vector<BiquadState*>, sectionCount> states;
};
