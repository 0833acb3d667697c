#pragma once

#include "Common/MusicalContextStruct.h"
#include "Common/TransportStateStruct.h"
#include "Common/ProcessBlock/Filters/BiquadFilter.h"
#include "Common/ProcessBlock/ProcessBlock.h"

#include <cstdint>
#include <random>

// Low-frequency oscillator: renders one or more modulation signals per block in
// [-1, 1] scaled by a depth. Output 0 advances the phase; every further output
// reuses output 0's phase ramp of the same block, shifted by its own offset.
class Lfo : public ProcessBlock
{
public:
    enum class Shape : std::int32_t { sine = 0, triangle, sawUp, sawDown, square, random };
    enum class Mode : std::int32_t { freeRunning = 0, tempoSynced, retriggered };

    struct LfoParameters
    {
        float* rate = nullptr;         // Hz; element 0 is read
        float* phasePercent = nullptr; // optional, per sample, tempo-synced mode
        float* phaseOffset = nullptr;  // optional; element 0 is the output's offset in cycles
        float* amount = nullptr;       // optional, depth in percent per sample
    };

    static constexpr unsigned long bufferFrames = 4096;

    Lfo();
    ~Lfo() override;

    void init(int channels, double sampleRate) override;
    void clear() override;

    // frames: how far past the context's position the next block starts.
    void processContext(MusicalContextStruct context, TransportStateStruct transport, unsigned long frames);

    // Renders output index into out. Output 0 must be rendered first in every block.
    // trigger is an optional per-sample buffer (retriggered mode). A call longer
    // than bufferFrames runs in pieces; there every output must be given output
    // 0's rate and trigger, since each rebuilds output 0's phase ramp per piece.
    void process(float* out, unsigned long frames, unsigned long index, LfoParameters parameters,
                 float* trigger = nullptr);

    void setRandomSeed(std::uint32_t seed) { generator.seed(seed); }
    float getPhase() const { return phase; }

    Shape shape = Shape::sine;
    Mode mode = Mode::freeRunning;
    bool smoothing = false;
    bool depthSquared = true;
    bool randomRunning = true;
    float minimumRate = 0.0625f;
    float tempo = 120.0f;
    float syncFactor = 4.0f;
    float syncDivision = 1.0f;

private:
    // What output 0 advances block by block: the phase and the random values.
    struct RampState
    {
        float phase;
        float randomClock;
        float randomValues[2];
        std::minstd_rand generator;
    };

    RampState rampState() const;
    void setRampState(const RampState& state);
    void processLongCall(float* out, unsigned long frames, unsigned long index, LfoParameters parameters,
                         float* trigger);
    void processPiece(float* out, unsigned long frames, unsigned long firstFrame, unsigned long index,
                      LfoParameters parameters, float* trigger, bool rebuildRamp);
    void processSynced(float* out, unsigned long frames, unsigned long firstFrame, unsigned long index,
                       LfoParameters parameters);
    float syncedValue(float ph, float period, unsigned long index, float offset);
    void drawSyncedValue(unsigned long slot, float offset);

    void renderPhaseRamp(float* out, unsigned long frames, LfoParameters parameters, float* trigger);
    void advanceRandomValues(unsigned long frames, float period, LfoParameters parameters, float* trigger);
    void applyPhaseOffset(float* out, unsigned long frames, unsigned long index, LfoParameters parameters);
    void applyShape(float* out, unsigned long frames, unsigned long index);
    void applyDepth(float* out, unsigned long frames, unsigned long index, LfoParameters parameters);

    float periodMilliseconds(LfoParameters parameters) const;
    float drawRandom();

    float phase = 0.0f;
    float* phaseRamp;  // output 0's phase ramp of the current block, read by the other outputs
    float randomClock = 99999.0f;  // ms since the last draw; the first sample draws
    float randomValues[2] = {0.0f, 0.0f};
    double position = 0.0;
    bool aboveHalf[2] = {false, false};
    float heldValues[2] = {0.0f, 0.0f};
    bool playing = false;
    std::int64_t barOffset = 4;
    BiquadFilter smoothingFilter{BiquadFilterType::lowPass, 1};
    std::minstd_rand generator;
    // Where output 0's last call longer than bufferFrames started, and its offset.
    RampState longCallStart{};
    float longCallOffset = 0.0f;
    bool longCallHasOffset = false;
};
