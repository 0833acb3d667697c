#pragma once

// The note domain in which frequencies ramp: MIDI note numbers, note 0 is
// 8.175799 Hz, 12 notes per octave, 440 Hz is note 69. Single precision.
namespace NoteDomain
{
    constexpr float silentNote = -1500.0f;

    // note(f) = 17.31234 * ln(0.1223122 * f); -1500 for f <= 0.
    float note(float frequency);
    // frequency(n) = 8.175799 * exp(0.057762265 * n); 0 at or below -1500,
    // the value at note 1499 above it.
    float frequency(float note);
}
