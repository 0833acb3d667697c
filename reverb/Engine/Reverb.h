#pragma once

#include "DelayGroup.h"
#include "DelayLineDamped.h"
#include "EarlyReflections.h"

#include <array>
#include <memory>
#include <vector>

// What one network slice reads, per sample from the slice's start unless noted.
struct ReverbSliceParameters
{
    const float* roomSize = nullptr;            // %
    std::array<const float*, 4> lfo{};          // the four LFO outputs
    float reverbTime = 1.0f;                    // s, the slice's first value
    bool freeze = false;                        // the slice's first value is not 0
    const float* damping = nullptr;             // HFDamp, Hz
    const float* dampingMix = nullptr;          // %
};

// The reverb tail: a four-line feedback delay network mixed by a 4 x 4 Hadamard
// matrix, with damped lines and a decay-time feedback gain, fed by the early
// reflections. Each slice reads every line before any is written.
class Reverb : public DelayGroup<DelayLineDamped>
{
public:
    static constexpr unsigned long bufferLength = 4096;
    static constexpr unsigned long sliceLength = 64;
    static constexpr float maximumDelayMs = 400.0f;
    static constexpr std::array<float, lineCount> delayInitTimes{58.6435f, 69.4325f, 74.5234f,
                                                                  86.1244f};
    static constexpr float modulationDepthMs = 1.25f;
    static constexpr float tapGain = 0.259f;
    static constexpr float frozenGain = 0.5f;

    Reverb();
    ~Reverb() override;

    // Mono lines; the early reflections get the given channel count and rate.
    void init(int channelCount, double rate) override;
    // Silences the network's lines and the early reflections.
    void clear() override;

    // One network slice, in place on the stereo wet signal. Any frame count:
    // longer calls run in slices of 64 frames.
    void processSlice(float* left, float* right, unsigned long frames,
                      const ReverbSliceParameters& parameters);

    // The steps of a slice (frames up to 64 each).
    // size[j] = (RoomSize + 3) / 41.66; sets the network's and the reflections'
    // delay buffers and the network's base times.
    void setDelayTimes(const float* roomSize, const std::array<const float*, 4>& lfo,
                       unsigned long frames);
    // The feedback-gain ramp toward the gain that ReverbTime (or freeze) asks for.
    void setFeedbackGain(float reverbTime, bool freeze, unsigned long frames);
    // The target gain: 0.5 frozen, else 0.5 * 0.001^(d3 / RT). Always in [0, 0.5].
    float targetGain(float reverbTime, bool freeze) const;
    void processNetwork(float* left, float* right, const float* damping, const float* dampingMix,
                        unsigned long frames);

    // io += feedback gain * damped(read of line), the line read with its delay
    // buffer; cutoff in Hz and mix in % per sample. The line is not written.
    void processReadDelayLine(unsigned long line, float* io, unsigned long frames,
                              const float* cutoff, const float* mix);
    // processReadDelayLine for every line, with y[line] cleared first; the four
    // damping filters run side by side.
    void processReadDelayLines(const float* cutoff, const float* mix, unsigned long frames);
    // Stores the line's new input (values that are not finite or not strictly
    // between 1e-15 and 1e15 in magnitude are stored as 0).
    virtual void processWriteDelayLine(unsigned long line, float* buffer, unsigned long frames);
    // Every line's write of the slice, line 0 first: processWriteDelayLine per line.
    virtual void processWriteDelayLines(const std::array<float*, lineCount>& buffers, unsigned long frames);

    // Zeroes every value whose magnitude is not strictly between 1e-15 and
    // 1e15, NaN included: what may enter a line of the loop.
    static void zeroBadValues(float* buffer, unsigned long frames);

    EarlyReflections& getEarlyReflections() { return *earlyReflections; }
    float getPreviousFeedbackGain() const { return previousFeedbackGain; }
    const float* getFeedbackGainBuffer() const { return feedbackGain.data(); }
    bool isFrozen() const { return freeze; }

private:
    void computeSize(const float* roomSize, unsigned long frames);
    // The 4 x 4 Hadamard mix: the lines' reads (with the stereo input added to
    // lines 0 and 1) into their new inputs w, and the taps into left and right.
    void mixLines(float* left, float* right, unsigned long n);
    // Zeroes the line's non-finite values, then io += feedback gain * line.
    void addDamped(float* dampedLine, float* io, unsigned long frames);

    bool earlyReflectionsOn = true;
    std::unique_ptr<EarlyReflections> earlyReflections;
    std::vector<float> size;
    std::vector<float> feedbackGain;
    float previousFeedbackGain = 0.0f;
    std::array<std::vector<float>, lineCount> y;
    std::array<std::vector<float>, lineCount> w;
    std::array<std::vector<float>, lineCount> damped;
    bool freeze = false;
};
