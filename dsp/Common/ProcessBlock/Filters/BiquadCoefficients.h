#pragma once

#include "Common/ProcessBlock/Filters/BiquadFilterType.h"

// The five coefficients of one second-order section (a0 normalised to 1), for
// y[n] = b0 x[n] + b1 x[n-1] + b2 x[n-2] - a1 y[n-1] - a2 y[n-2].
// Used by the DSP filter and, on its own, by the filter displays.
struct BiquadCoefficients
{
    float sampleRate = 44100.0f;
    float a1 = 0.0f;
    float a2 = 0.0f;
    float b0 = 0.0f;
    float b1 = 0.0f;
    float b2 = 0.0f;

    // frequency in Hz; q is the resonance in dB (0 dB gives Q = 1), and for the
    // shelves their gain in dB; gain (dB) is used by the peak shape only.
    void calculateParams(float frequency, float q, float gain, BiquadFilterType type);

    // Linear magnitude at the angle pi * r (r = 1 is the Nyquist frequency).
    double magnitudeForFrequency(double r) const;
};
