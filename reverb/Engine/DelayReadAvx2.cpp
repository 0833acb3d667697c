#include "DelayReadAvx2.h"

#if defined(__x86_64__)
#include <immintrin.h>

namespace
{
    __attribute__((target("avx2"))) inline __m256 lagrange(__m256 y0, __m256 y1, __m256 y2, __m256 y3, __m256 f)
    {
        const __m256 two = _mm256_set1_ps(2.0f);
        const __m256 three = _mm256_set1_ps(3.0f);
        const __m256 w = _mm256_add_ps(_mm256_mul_ps(f, _mm256_set1_ps(-0.1666667f)), _mm256_set1_ps(0.1666667f));
        const __m256 a = _mm256_sub_ps(_mm256_add_ps(_mm256_sub_ps(y3, _mm256_mul_ps(three, y2)), _mm256_mul_ps(three, y1)), y0);
        const __m256 b = _mm256_add_ps(
            _mm256_sub_ps(_mm256_add_ps(_mm256_mul_ps(f, a), _mm256_mul_ps(two, y0)), _mm256_mul_ps(three, y1)), y3);
        const __m256 c = _mm256_sub_ps(_mm256_sub_ps(y2, y1), _mm256_mul_ps(w, b));
        return _mm256_add_ps(y1, _mm256_mul_ps(f, c));
    }

    __attribute__((target("avx2"))) int interpolateLanes(const float* delay, float scale, float rate,
                                                         const DelayReadAvx2::Line& line, float* out, int frames)
    {
        const __m256 unit = _mm256_set1_ps(scale);
        const __m256 samplesPerUnit = _mm256_set1_ps(rate);
        const __m256 lowest = _mm256_set1_ps(line.lowest);
        const __m256 highest = _mm256_set1_ps(line.highest);
        const __m256i steps = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
        const __m256i eight = _mm256_set1_epi32(8);
        const __m256i four = _mm256_set1_epi32(4);
        const __m256i wrap = _mm256_set1_epi32(line.size);
        __m256i start = _mm256_add_epi32(_mm256_set1_epi32(line.firstTap), steps);
        int i = 0;
        for (; i + 8 <= frames; i += 8)
        {
            // max and min give their second operand for NaN and ties.
            const __m256 samples = _mm256_mul_ps(_mm256_mul_ps(_mm256_loadu_ps(delay + i), unit), samplesPerUnit);
            const __m256 position = _mm256_min_ps(_mm256_max_ps(samples, lowest), highest);
            const __m256i whole = _mm256_cvttps_epi32(position);
            const __m256 fractions = _mm256_sub_ps(position, _mm256_cvtepi32_ps(whole));
            const __m256i k = _mm256_sub_epi32(start, whole);
            const __m256i wrapped = _mm256_add_epi32(k, _mm256_and_si256(_mm256_cmpgt_epi32(four, k), wrap));
            start = _mm256_add_epi32(start, eight);
            const int first = _mm256_cvtsi256_si32(wrapped);
            const __m256i expected = _mm256_add_epi32(_mm256_set1_epi32(first), steps);
            __m256 y[4];
            if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(wrapped, expected)) == -1)
            {
                // The taps follow each other in the line: one load per tap.
                for (int tap = 0; tap < 4; ++tap)
                    y[tap] = _mm256_loadu_ps(line.buffer + first - tap);
            }
            else
            {
                for (int tap = 0; tap < 4; ++tap)
                    y[tap] = _mm256_i32gather_ps(line.buffer, _mm256_sub_epi32(wrapped, _mm256_set1_epi32(tap)), 4);
            }
            _mm256_storeu_ps(out + i, lagrange(y[0], y[1], y[2], y[3], fractions));
        }
        return i;
    }
}

int DelayReadAvx2::interpolate(const float* delay, float scale, float rate, const Line& line, float* out, int frames)
{
    return interpolateLanes(delay, scale, rate, line, out, frames);
}
#else
int DelayReadAvx2::interpolate(const float*, float, float, const Line&, float*, int)
{
    return 0;
}
#endif
