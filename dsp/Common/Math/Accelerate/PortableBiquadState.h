#pragma once

#include "Common/Math/Accelerate/BiquadState.h"

#include <cstddef>

// The history of one section as plain floats: x[n-2], x[n-1], y[n-2], y[n-1].
// It needs no work area, so a call may run any number of samples.
class PortableBiquadState : public BiquadState
{
public:
    void clear() override;
    void clearBadStateValue() override;

    // y[n] = b0 x[n] + b1 x[n-1] + b2 x[n-2] - a1 y[n-1] - a2 y[n-2] over n
    // samples; coefficients are {b0, b1, b2, a1, a2}. out may equal in.
    void process(const float* in, const float* coefficients, float* out, std::size_t n);

    float inputHistory[2] = {0.0f, 0.0f};  // x[n-2], x[n-1]
    float outputHistory[2] = {0.0f, 0.0f}; // y[n-2], y[n-1]
};
