#pragma once

// Per-channel history of one second-order filter section. Made only by
// SignalProcessing::biquad_createState and destroyed by biquad_destroyState.
class BiquadState
{
public:
    BiquadState() = default;
    virtual ~BiquadState() = default;

    BiquadState(const BiquadState&) = delete;
    BiquadState& operator=(const BiquadState&) = delete;

    // Sets the two previous inputs and the two previous outputs to 0.
    virtual void clear() = 0;

    // Zeroes every history value whose magnitude is not strictly between 1e-15
    // and 1e15 (NaN included), so a section never stays stuck on denormals or
    // on a blown-up value.
    virtual void clearBadStateValue() = 0;
};
