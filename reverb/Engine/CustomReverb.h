#pragma once

#include "DryWet.h"
#include "Reverb.h"

#include "Common/ProcessBlock/FrequencyShifter/FrequencyShifter.h"

#include <vector>

// The reverb network whose line writes pass through a single-sideband frequency
// shifter and a tanh drive. The shift sits inside the feedback loop, so every
// pass moves the tail's partials once more, up for a positive shift frequency
// and down for a negative one; the shift mix sets how much of the loop is
// shifted and how hard it is driven.
class CustomReverb : public Reverb
{
public:
    static constexpr float twoPi = 6.2831855f;

    CustomReverb();

    // Mono lines and early reflections as the plain network, then fresh
    // all-pass states for one shifter channel per line.
    void init(int channelCount, double rate) override;
    // Silences the lines and the all-pass histories; the shifter phases stay.
    void clear() override;

    // The shift settings of the coming slice, set before its line writes:
    // the frequency in Hz (a value that is not finite counts as 0) and the mix
    // in percent per sample (at most 4096 values; the first also sets the drive).
    void setShiftFrequency(float hertz);
    void setShiftMix(const float* mixPercent, unsigned long frames);

    // Shifts, blends and drives the line's new input, then stores it.
    void processWriteDelayLine(unsigned long line, float* buffer, unsigned long frames) override;
    // The same as processWriteDelayLine on each line in turn, with the four lines'
    // all-pass sections running side by side.
    void processWriteDelayLines(const std::array<float*, lineCount>& buffers, unsigned long frames) override;
    // The write path without the store: buffer becomes the value the line would
    // receive (before the loop's bad-value zeroing).
    void shiftAndDrive(unsigned long line, float* buffer, unsigned long frames);

    float getShiftFrequency() const { return shiftFrequency; }
    const FrequencyShifter& getFrequencyShifter() const { return frequencyShifter; }

private:
    void processChunk(unsigned long line, float* x, unsigned long frames);
    void shiftLines(const std::array<float*, lineCount>& buffers, unsigned long frames);
    void finishShift(float* x, float* s, float* pathB, unsigned long frames);
    void rampPhase(unsigned long line, unsigned long frames);
    void advancePhase(unsigned long line, unsigned long frames);
    float& storedPhase(unsigned long line);
    float phaseIncrement() const;
    static float phaseAfter(float last, float increment);
    void makeCarriers(unsigned long frames);
    void applyCarriers(float* s, float* pathB, unsigned long frames);
    static bool sameBits(float a, float b);
    void blendAndDrive(float* x, float* s, unsigned long frames);
    float drive() const;
    bool mixIsZero(unsigned long frames) const;

    FrequencyShifter frequencyShifter;
    ZorvikDSP::DryWet dryWet;
    std::vector<float> shiftScratch;
    std::array<std::vector<float>, lineCount> linePathA;
    std::array<std::vector<float>, lineCount> linePathB;
    float shiftFrequency = 0.0f;
    std::vector<float> shiftMix;
};
