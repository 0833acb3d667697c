#include "Common/Math/Accelerate/SignalProcessing.h"

#include "Common/Math/Accelerate/PortableBiquadState.h"
#include "Common/Math/Accelerate/VectorMaths.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#include <xmmintrin.h>
#endif

// Plain loops: out may alias an input, so no restrict qualifiers; the compiler
// vectorises them with a run-time overlap check.

void SignalProcessing::init()
{
    std::srand(static_cast<unsigned>(std::time(nullptr)));
}

void SignalProcessing::add(const float* a, const float* b, float* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = a[i] + b[i];
}

void SignalProcessing::add_s(const float* a, float s, float* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = a[i] + s;
}

void SignalProcessing::add_s_D(const double* a, double s, double* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = a[i] + s;
}

void SignalProcessing::sub(const float* a, const float* b, float* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = a[i] - b[i];
}

void SignalProcessing::mul(const float* a, const float* b, float* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = a[i] * b[i];
}

void SignalProcessing::mul_s(const float* a, float s, float* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = a[i] * s;
}

void SignalProcessing::add_mul(const float* a, const float* b, const float* c, float* out,
                               std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = (a[i] + b[i]) * c[i];
}

void SignalProcessing::mul_add(const float* a, const float* b, const float* c, float* out,
                               std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = a[i] * b[i] + c[i];
}

void SignalProcessing::mul_add_s(const float* a, const float* b, float s, float* out,
                                 std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = a[i] * b[i] + s;
}

void SignalProcessing::mul_s_add(const float* a, float s, const float* c, float* out,
                                 std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = a[i] * s + c[i];
}

void SignalProcessing::mul_s_add_s(const float* a, float s1, float s2, float* out,
                                   std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = a[i] * s1 + s2;
}

void SignalProcessing::mul_mul_add(const float* a, const float* b, const float* c,
                                   const float* d, float* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = a[i] * b[i] + c[i] * d[i];
}

void SignalProcessing::div(const float* a, const float* b, float* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = a[i] / b[i];
}

void SignalProcessing::s_div(float s, const float* a, float* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = s / a[i];
}

void SignalProcessing::div_s(const float* a, float s, float* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = a[i] / s;
}

void SignalProcessing::truncToInt(const float* a, float* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = std::trunc(a[i]);
}

void SignalProcessing::squareRoot(const float* a, float* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = std::sqrt(a[i]);
}

void SignalProcessing::powTwo(float* a, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        a[i] = a[i] * a[i];
}

void SignalProcessing::pow(float* out, const float* exponent, const float* base, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = std::pow(base[i], exponent[i]);
}

void SignalProcessing::clip(const float* a, float low, float high, float* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
    {
        const float v = a[i];
        out[i] = v < low ? low : (v > high ? high : v);
    }
}

void SignalProcessing::ramp(float start, float step, float* out, std::size_t n)
{
    // An int index converts to the same float as the size_t one, and its loop
    // vectorises.
    const auto intIndexed = static_cast<int>(std::min<std::size_t>(n, std::numeric_limits<int>::max()));
    for (int i = 0; i < intIndexed; ++i)
        out[i] = start + static_cast<float>(i) * step;
    for (auto i = static_cast<std::size_t>(intIndexed); i < n; ++i)
        out[i] = start + static_cast<float>(i) * step;
}

void SignalProcessing::rampD(double start, double step, double* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = start + static_cast<double>(i) * step;
}

namespace
{
#if defined(__SSE2__)
    // truncated() and floored() on four values at once, bit for bit: the
    // compiler does not vectorise them itself, as the conversion could trap.
    __m128 truncated4(__m128 x)
    {
        const __m128 sign = _mm_set1_ps(-0.0f);
        const __m128 small = _mm_cmplt_ps(_mm_andnot_ps(sign, x), _mm_set1_ps(8388608.0f));
        const __m128 whole = _mm_cvtepi32_ps(_mm_cvttps_epi32(_mm_and_ps(small, x)));
        // The whole part keeps the sign of x, -0 included.
        const __m128 signedWhole = _mm_or_ps(whole, _mm_and_ps(sign, x));
        return _mm_or_ps(_mm_and_ps(small, signedWhole), _mm_andnot_ps(small, x));
    }

    __m128 floored4(__m128 x)
    {
        const __m128 whole = truncated4(x);
        return _mm_sub_ps(whole, _mm_and_ps(_mm_cmpgt_ps(whole, x), _mm_set1_ps(1.0f)));
    }
#endif

    // a - whole(a) over n values, four at a time where SSE2 is there.
    template <typename Whole, typename WholeLanes>
    void subtractWholePart(float* a, std::size_t n, Whole whole, WholeLanes wholeLanes)
    {
        std::size_t i = 0;
#if defined(__SSE2__)
        for (; i + 4 <= n; i += 4)
        {
            const __m128 x = _mm_loadu_ps(a + i);
            _mm_storeu_ps(a + i, _mm_sub_ps(x, wholeLanes(x)));
        }
#else
        (void)wholeLanes;
#endif
        for (; i < n; ++i)
            a[i] = a[i] - whole(a[i]);
    }
}

void SignalProcessing::wrap(float* a, std::size_t n)
{
#if defined(__SSE2__)
    subtractWholePart(a, n, floored, floored4);
#else
    subtractWholePart(a, n, floored, nullptr);
#endif
}

void SignalProcessing::frac(float* a, std::size_t n)
{
#if defined(__SSE2__)
    subtractWholePart(a, n, truncated, truncated4);
#else
    subtractWholePart(a, n, truncated, nullptr);
#endif
}

void SignalProcessing::abs(const float* a, float* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = std::fabs(a[i]);
}

void SignalProcessing::fill(float* a, float value, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        a[i] = value;
}

void SignalProcessing::clear(float* a, std::size_t n)
{
    fill(a, 0.0f, n);
}

void SignalProcessing::clear(double* a, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        a[i] = 0.0;
}

void SignalProcessing::tableRead(const float* indices, const float* table,
                                 std::size_t tableLength, float* out, std::size_t n)
{
    if (tableLength == 0)
    {
        clear(out, n);
        return;
    }
    // Compared in double so that long tables need no float rounding of the end.
    const double lastIndex = static_cast<double>(tableLength - 1);
    const float last = table[tableLength - 1];
    for (std::size_t i = 0; i < n; ++i)
    {
        const float p = indices[i];
        if (!(p >= 0.0f))
            out[i] = table[0];
        else if (static_cast<double>(p) >= lastIndex)
            out[i] = last;
        else
        {
            const float q = std::floor(p);
            const std::size_t k = static_cast<std::size_t>(q);
            out[i] = table[k] + (p - q) * (table[k + 1] - table[k]);
        }
    }
}

void SignalProcessing::cos(const float* a, float* out, std::size_t n)
{
    VectorMaths::cos(a, out, n);
}

void SignalProcessing::sin(const float* a, float* out, std::size_t n)
{
    VectorMaths::sin(a, out, n);
}

void SignalProcessing::tanh(const float* a, float* out, std::size_t n)
{
    VectorMaths::tanh(a, out, n);
}

void SignalProcessing::exp(const float* a, float* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = std::exp(a[i]);
}

void SignalProcessing::log(const float* a, float* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = std::log(a[i]);
}

void SignalProcessing::log_ten(const float* a, float* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = std::log10(a[i]);
}

void SignalProcessing::peak(const float* a, float* out, std::size_t n)
{
    float largest = 0.0f;
    for (std::size_t i = 0; i < n; ++i)
    {
        const float magnitude = std::fabs(a[i]);
        largest = magnitude > largest ? magnitude : largest;
    }
    *out = largest;
}

void SignalProcessing::max(const float* a, float* out, std::size_t n)
{
    float largest = -std::numeric_limits<float>::infinity();
    for (std::size_t i = 0; i < n; ++i)
        largest = a[i] > largest ? a[i] : largest;
    *out = largest;
}

void SignalProcessing::min(const float* a, float* out, std::size_t n)
{
    float smallest = std::numeric_limits<float>::infinity();
    for (std::size_t i = 0; i < n; ++i)
        smallest = a[i] < smallest ? a[i] : smallest;
    *out = smallest;
}

void SignalProcessing::rms(const float* a, float* out, std::size_t n)
{
    if (n == 0)
    {
        *out = 0.0f;
        return;
    }
    double sum = 0.0;
    for (std::size_t i = 0; i < n; ++i)
        sum += static_cast<double>(a[i]) * static_cast<double>(a[i]);
    *out = static_cast<float>(std::sqrt(sum / static_cast<double>(n)));
}

void SignalProcessing::min_compare(const float* a, const float* b, float* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = b[i] < a[i] ? b[i] : a[i];
}

void SignalProcessing::max_compare(const float* a, const float* b, float* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = b[i] > a[i] ? b[i] : a[i];
}

void SignalProcessing::limit(const float* a, float threshold, float value, float* out,
                             std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = a[i] >= threshold ? value : -value;
}

void SignalProcessing::threshold(const float* a, float t, float* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = a[i] >= t ? a[i] : 0.0f;
}

void SignalProcessing::mod(const float* a, const float* b, float* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = std::fmod(a[i], b[i]);
}

void SignalProcessing::interleaveStereo(const float* left, const float* right, float* out,
                                        std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
    {
        out[2 * i] = left[i];
        out[2 * i + 1] = right[i];
    }
}

void SignalProcessing::doubleToFloat(const double* a, float* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = static_cast<float>(a[i]);
}

void SignalProcessing::reverse(float* a, std::size_t n)
{
    for (std::size_t i = 0, j = n; i + 1 < j; ++i)
    {
        --j;
        const float t = a[i];
        a[i] = a[j];
        a[j] = t;
    }
}

void SignalProcessing::biquad(const float* in, const float* coefficients, float* out,
                              std::size_t n, BiquadState* state)
{
    // PortableBiquadState is the only kind biquad_createState makes.
    static_cast<PortableBiquadState*>(state)->process(in, coefficients, out, n);
}

void SignalProcessing::biquadLockstep4(float* const buffers[4], const float* const coefficients[4],
                                       BiquadState* const states[4], std::size_t n)
{
    struct Section
    {
        float b0, b1, b2, a1, a2;
        float x2, x1, y2, y1;
    };
    Section sections[4];
    for (int k = 0; k < 4; ++k)
    {
        const float* c = coefficients[k];
        const auto* state = static_cast<PortableBiquadState*>(states[k]);
        sections[k] = {c[0], c[1], c[2], c[3], c[4], state->inputHistory[0], state->inputHistory[1],
                       state->outputHistory[0], state->outputHistory[1]};
    }
    for (std::size_t i = 0; i < n; ++i)
        for (int k = 0; k < 4; ++k)
        {
            Section& s = sections[k];
            const float x0 = buffers[k][i];
            // The same expression, in the same order, as a single section.
            const float y0 = s.b0 * x0 + s.b1 * s.x1 + s.b2 * s.x2 - s.a1 * s.y1 - s.a2 * s.y2;
            buffers[k][i] = y0;
            s.x2 = s.x1;
            s.x1 = x0;
            s.y2 = s.y1;
            s.y1 = y0;
        }
    for (int k = 0; k < 4; ++k)
    {
        auto* state = static_cast<PortableBiquadState*>(states[k]);
        state->inputHistory[0] = sections[k].x2;
        state->inputHistory[1] = sections[k].x1;
        state->outputHistory[0] = sections[k].y2;
        state->outputHistory[1] = sections[k].y1;
    }
}

void SignalProcessing::biquadLanes4(float* const buffers[4], const float* const coefficients[4],
                                    BiquadState* const states[4], std::size_t n)
{
#if defined(__SSE2__)
    // An idle lane runs on zeros and its results are dropped.
    const float zeros[5] = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    PortableBiquadState idle;
    PortableBiquadState* s[4];
    const float* c[4];
    for (int k = 0; k < 4; ++k)
    {
        const bool used = buffers[k] != nullptr;
        s[k] = used ? static_cast<PortableBiquadState*>(states[k]) : &idle;
        c[k] = used ? coefficients[k] : zeros;
    }
    auto lanes = [&](const float* const v[4], int i) { return _mm_setr_ps(v[0][i], v[1][i], v[2][i], v[3][i]); };
    const __m128 b0 = lanes(c, 0), b1 = lanes(c, 1), b2 = lanes(c, 2), a1 = lanes(c, 3), a2 = lanes(c, 4);
    __m128 x2 = _mm_setr_ps(s[0]->inputHistory[0], s[1]->inputHistory[0], s[2]->inputHistory[0], s[3]->inputHistory[0]);
    __m128 x1 = _mm_setr_ps(s[0]->inputHistory[1], s[1]->inputHistory[1], s[2]->inputHistory[1], s[3]->inputHistory[1]);
    __m128 y2 = _mm_setr_ps(s[0]->outputHistory[0], s[1]->outputHistory[0], s[2]->outputHistory[0], s[3]->outputHistory[0]);
    __m128 y1 = _mm_setr_ps(s[0]->outputHistory[1], s[1]->outputHistory[1], s[2]->outputHistory[1], s[3]->outputHistory[1]);
    float idleBuffer[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    // One frame of every lane; idle lanes read zeros and write nowhere.
    auto frameAt = [&](int k, std::size_t i) -> float& { return buffers[k] ? buffers[k][i] : idleBuffer[k]; };

    // The same sums, left to right, as the single section.
    auto step = [&](__m128 x0) {
        __m128 y0 = _mm_add_ps(_mm_mul_ps(b0, x0), _mm_mul_ps(b1, x1));
        y0 = _mm_add_ps(y0, _mm_mul_ps(b2, x2));
        y0 = _mm_sub_ps(y0, _mm_mul_ps(a1, y1));
        y0 = _mm_sub_ps(y0, _mm_mul_ps(a2, y2));
        x2 = x1;
        x1 = x0;
        y2 = y1;
        y1 = y0;
        return y0;
    };

    std::size_t i = 0;
    auto row = [&](int k, std::size_t at) { return buffers[k] ? _mm_loadu_ps(buffers[k] + at) : _mm_setzero_ps(); };
    for (; i + 4 <= n; i += 4)
    {
        // Rows are buffers, columns samples; transposed, each row is one sample.
        __m128 r[4] = {row(0, i), row(1, i), row(2, i), row(3, i)};
        _MM_TRANSPOSE4_PS(r[0], r[1], r[2], r[3]);
        for (__m128& sample : r)
            sample = step(sample);
        _MM_TRANSPOSE4_PS(r[0], r[1], r[2], r[3]);
        for (int k = 0; k < 4; ++k)
            if (buffers[k] != nullptr)
                _mm_storeu_ps(buffers[k] + i, r[k]);
    }
    for (; i < n; ++i)
    {
        alignas(16) float y[4];
        _mm_store_ps(y, step(_mm_setr_ps(frameAt(0, i), frameAt(1, i), frameAt(2, i), frameAt(3, i))));
        for (int k = 0; k < 4; ++k)
            frameAt(k, i) = y[k];
    }

    alignas(16) float h[4][4];
    _mm_store_ps(h[0], x2);
    _mm_store_ps(h[1], x1);
    _mm_store_ps(h[2], y2);
    _mm_store_ps(h[3], y1);
    for (int k = 0; k < 4; ++k)
    {
        s[k]->inputHistory[0] = h[0][k];
        s[k]->inputHistory[1] = h[1][k];
        s[k]->outputHistory[0] = h[2][k];
        s[k]->outputHistory[1] = h[3][k];
    }
#else
    for (int k = 0; k < 4; ++k)
        if (buffers[k] != nullptr)
            biquad(buffers[k], coefficients[k], buffers[k], n, states[k]);
#endif
}

BiquadState* SignalProcessing::biquad_createState()
{
    return new PortableBiquadState();
}

void SignalProcessing::biquad_destroyState(BiquadState* state)
{
    delete state;
}
