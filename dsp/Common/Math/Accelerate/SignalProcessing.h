#pragma once

#include "Common/Math/Accelerate/BiquadState.h"

#include <cmath>
#include <cstddef>

// Element-wise operations over n contiguous values. a, b, c, d are inputs,
// out the output (it may be one of the inputs), s a scalar. Mind the argument
// orders of sub, div, s_div, pow and mod.
class SignalProcessing
{
public:
    // Seeds the C library's random generator with the current time.
    static void init();

    // std::trunc and std::floor bit for bit (signed zeros, infinities and NaN
    // included) in a form the compiler vectorises: a float of magnitude 2^23 or
    // more is already whole.
    static float truncated(float x)
    {
        const bool small = std::fabs(x) < 8388608.0f;
        const auto whole = static_cast<float>(static_cast<int>(small ? x : 0.0f));
        return small ? std::copysign(whole, x) : x;
    }
    static float floored(float x)
    {
        const float whole = truncated(x);
        return whole > x ? whole - 1.0f : whole;
    }

    static void add(const float* a, const float* b, float* out, std::size_t n);       // a + b
    static void add_s(const float* a, float s, float* out, std::size_t n);            // a + s
    static void add_s_D(const double* a, double s, double* out, std::size_t n);       // a + s
    static void sub(const float* a, const float* b, float* out, std::size_t n);       // a - b
    static void mul(const float* a, const float* b, float* out, std::size_t n);       // a * b
    static void mul_s(const float* a, float s, float* out, std::size_t n);            // a * s
    static void add_mul(const float* a, const float* b, const float* c, float* out,
                        std::size_t n);                                               // (a + b) * c
    static void mul_add(const float* a, const float* b, const float* c, float* out,
                        std::size_t n);                                               // a * b + c
    static void mul_add_s(const float* a, const float* b, float s, float* out,
                          std::size_t n);                                             // a * b + s
    static void mul_s_add(const float* a, float s, const float* c, float* out,
                          std::size_t n);                                             // a * s + c
    static void mul_s_add_s(const float* a, float s1, float s2, float* out,
                            std::size_t n);                                           // a * s1 + s2
    static void mul_mul_add(const float* a, const float* b, const float* c, const float* d,
                            float* out, std::size_t n);                               // a * b + c * d
    static void div(const float* a, const float* b, float* out, std::size_t n);       // a / b
    static void s_div(float s, const float* a, float* out, std::size_t n);            // s / a
    static void div_s(const float* a, float s, float* out, std::size_t n);            // a / s

    static void truncToInt(const float* a, float* out, std::size_t n); // toward zero, as float
    static void squareRoot(const float* a, float* out, std::size_t n);
    static void powTwo(float* a, std::size_t n);                       // a = a * a
    // out = base ^ exponent: the result comes first, then the exponent.
    static void pow(float* out, const float* exponent, const float* base, std::size_t n);
    // a < low gives low, a > high gives high, anything else (NaN too) passes.
    static void clip(const float* a, float low, float high, float* out, std::size_t n);
    static void ramp(float start, float step, float* out, std::size_t n);       // start + i * step
    static void rampD(double start, double step, double* out, std::size_t n);
    static void wrap(float* a, std::size_t n);                                  // a - floor(a)
    static void frac(float* a, std::size_t n);                                  // a - trunc(a)
    static void abs(const float* a, float* out, std::size_t n);
    static void fill(float* a, float value, std::size_t n);
    static void clear(float* a, std::size_t n);
    static void clear(double* a, std::size_t n);

    // Linear interpolation in table at fractional indices: an index below 0
    // (or NaN) gives table[0], one at or beyond tableLength - 1 the last entry.
    static void tableRead(const float* indices, const float* table, std::size_t tableLength,
                          float* out, std::size_t n);

    // std::cos, std::sin and VectorMaths::tanhOf, bit for bit, by VectorMaths.
    static void cos(const float* a, float* out, std::size_t n);
    static void sin(const float* a, float* out, std::size_t n);
    static void tanh(const float* a, float* out, std::size_t n);
    static void exp(const float* a, float* out, std::size_t n);
    static void log(const float* a, float* out, std::size_t n);     // natural
    static void log_ten(const float* a, float* out, std::size_t n); // base 10

    // Reductions into *out. NaN elements are skipped. For n = 0: peak 0,
    // max -infinity, min +infinity, rms 0.
    static void peak(const float* a, float* out, std::size_t n); // largest magnitude
    static void max(const float* a, float* out, std::size_t n);
    static void min(const float* a, float* out, std::size_t n);
    static void rms(const float* a, float* out, std::size_t n);  // sqrt(sum a^2 / n)

    // Per element; when a comparison involves NaN the element of a is kept.
    static void min_compare(const float* a, const float* b, float* out, std::size_t n);
    static void max_compare(const float* a, const float* b, float* out, std::size_t n);

    // value where a >= threshold, else -value (NaN gives -value).
    static void limit(const float* a, float threshold, float value, float* out, std::size_t n);
    // a where a >= t, else 0 (NaN gives 0).
    static void threshold(const float* a, float t, float* out, std::size_t n);
    static void mod(const float* a, const float* b, float* out, std::size_t n); // fmod(a, b)

    // out[2i] = left[i], out[2i + 1] = right[i]; out holds 2n values.
    static void interleaveStereo(const float* left, const float* right, float* out, std::size_t n);
    static void doubleToFloat(const double* a, float* out, std::size_t n);
    static void reverse(float* a, std::size_t n);

    // One second-order section over n samples (any n); coefficients are
    // {b0, b1, b2, a1, a2}; out may equal in. The state must come from
    // biquad_createState.
    static void biquad(const float* in, const float* coefficients, float* out, std::size_t n,
                       BiquadState* state);
    // Four sections run sample by sample side by side: section k filters
    // buffers[k] in place, after sections 0 .. k - 1 have taken the same sample,
    // so two sections on one buffer form a cascade. The results are those of
    // four biquad calls in order; the four recursions merely overlap in time.
    static void biquadLockstep4(float* const buffers[4], const float* const coefficients[4],
                                BiquadState* const states[4], std::size_t n);
    // Four independent sections, section k in place on buffers[k] (four distinct
    // buffers), run in SSE lanes. Each lane evaluates biquad's expression in the
    // same order, so the results equal four biquad calls bit for bit. A lane
    // whose buffer is null is left idle (its coefficients and state may be null).
    static void biquadLanes4(float* const buffers[4], const float* const coefficients[4],
                             BiquadState* const states[4], std::size_t n);
    static BiquadState* biquad_createState();
    static void biquad_destroyState(BiquadState* state); // null is accepted
};
