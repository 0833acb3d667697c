#pragma once

// Value curves of the reverb's controls. Each maps between a normalised position
// x in [0, 1] (a slider's position) and a plain value in [minimum, maximum];
// a parameter carries one pair (from 0 to 1, to 0 to 1).
class GenericTemplates
{
public:
    // Cubic: fine resolution at the low end (times, damping).
    static float powThree(float minimum, float maximum, float x);
    static float invertPowThree(float minimum, float maximum, float value);

    // Signed cubic centred on 0 at x = 0.5, spanning [-maximum, maximum].
    // The minimum is not used and nothing is clamped.
    static float signedPowThree(float minimum, float maximum, float x);
    static float invertSignedPowThree(float minimum, float maximum, float value);

    // Evenly spaced in pitch (the note domain).
    static float ratioToFrequencies(float minimum, float maximum, float x);
    static float frequenciesToRatio(float minimum, float maximum, float value);
};
