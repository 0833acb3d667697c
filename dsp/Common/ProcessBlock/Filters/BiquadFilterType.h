#pragma once

#include <cstdint>

// The eight second-order shapes. Codes from 8 up are not shapes: computing
// coefficients for them leaves the previous coefficients in place.
enum class BiquadFilterType : std::int32_t
{
    lowPass = 0,
    highPass = 1,
    bandPass = 2,
    notch = 3,
    peak = 4,
    lowShelf = 5,
    highShelf = 6,
    allPass = 7
};
