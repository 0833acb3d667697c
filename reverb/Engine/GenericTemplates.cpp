#include "GenericTemplates.h"

#include "Common/Parameters/NoteDomain.h"

#include <cmath>

namespace
{
    // The single-precision value of one third.
    constexpr float oneThird = 0.33333334f;

    // A position or value outside the range (or NaN) is held at the nearest end.
    float clampTo(float value, float low, float high)
    {
        if (!(value > low))
            return low;
        return value < high ? value : high;
    }
}

float GenericTemplates::powThree(float minimum, float maximum, float x)
{
    const float position = clampTo(x, 0.0f, 1.0f);
    return position * position * position * (maximum - minimum) + minimum;
}

float GenericTemplates::invertPowThree(float minimum, float maximum, float value)
{
    const float ratio = (clampTo(value, minimum, maximum) - minimum) / (maximum - minimum);
    return std::pow(ratio, oneThird);
}

float GenericTemplates::signedPowThree(float, float maximum, float x)
{
    const auto centred = static_cast<float>(2.0 * static_cast<double>(x) - 1.0);
    return centred * centred * centred * maximum;
}

float GenericTemplates::invertSignedPowThree(float, float maximum, float value)
{
    const float ratio = value / maximum;
    const float sign = ratio > 0.0f ? 1.0f : -1.0f;
    return (sign * std::pow(std::fabs(ratio), oneThird) + 1.0f) * 0.5f;
}

float GenericTemplates::ratioToFrequencies(float minimum, float maximum, float x)
{
    const float low = NoteDomain::note(minimum);
    const float high = NoteDomain::note(maximum);
    return NoteDomain::frequency(low + clampTo(x, 0.0f, 1.0f) * (high - low));
}

float GenericTemplates::frequenciesToRatio(float minimum, float maximum, float value)
{
    const float low = NoteDomain::note(minimum);
    const float high = NoteDomain::note(maximum);
    return (NoteDomain::note(clampTo(value, minimum, maximum)) - low) / (high - low);
}
