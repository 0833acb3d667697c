#include "Common/Math/Accelerate/PortableBiquadState.h"

#include <cmath>

namespace
{
    // Floats cannot hold 1e-15 or 1e15; the nearest floats, 1e-15f and 1e15f,
    // lie just inside the bounds. So for a float m, m > 1e-15 exactly when
    // m >= 1e-15f, and m < 1e15 exactly when m <= 1e15f.
    constexpr float smallestKept = 1e-15f;
    constexpr float largestKept = 1e15f;

    // Magnitudes outside (1e-15, 1e15), and NaN, are cleared.
    float cleared(float value)
    {
        const float magnitude = std::fabs(value);
        return (magnitude >= smallestKept && magnitude <= largestKept) ? value : 0.0f;
    }
}

void PortableBiquadState::clear()
{
    inputHistory[0] = inputHistory[1] = 0.0f;
    outputHistory[0] = outputHistory[1] = 0.0f;
}

void PortableBiquadState::clearBadStateValue()
{
    for (int i = 0; i < 2; ++i)
    {
        inputHistory[i] = cleared(inputHistory[i]);
        outputHistory[i] = cleared(outputHistory[i]);
    }
}

void PortableBiquadState::process(const float* in, const float* coefficients, float* out,
                                  std::size_t n)
{
    const float b0 = coefficients[0], b1 = coefficients[1], b2 = coefficients[2];
    const float a1 = coefficients[3], a2 = coefficients[4];
    float x2 = inputHistory[0], x1 = inputHistory[1];
    float y2 = outputHistory[0], y1 = outputHistory[1];

    for (std::size_t i = 0; i < n; ++i)
    {
        const float x0 = in[i];
        const float y0 = b0 * x0 + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        out[i] = y0;
        x2 = x1;
        x1 = x0;
        y2 = y1;
        y1 = y0;
    }

    inputHistory[0] = x2;
    inputHistory[1] = x1;
    outputHistory[0] = y2;
    outputHistory[1] = y1;
}
