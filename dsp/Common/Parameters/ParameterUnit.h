#pragma once

#include <cstdint>

// A parameter's unit and kind of value. The code is stored as a plain 32-bit
// number: codes above 13 may occur and are shown without a suffix.
enum class ParameterUnit : std::int32_t
{
    number = 0,
    stepped = 1,      // integer: ramps to a rounded target, integer host parameter
    boolean = 2,
    percent = 3,
    seconds = 4,
    milliseconds = 5,
    degrees = 6,
    rate = 7,         // Hz, shown as a period unless the rate-in-hertz flag is set
    hertz = 8,        // ramped in the note domain unless the linear-frequency flag is set
    semitones = 9,
    decibels = 10,
    phase = 11,       // degrees
    generic = 12,
    amount = 13
};
