#include "DelayRead.h"

#include "DelayReadAvx2.h"
#include "DelayWrite.h"

#include "Common/Math/Accelerate/VectorMaths.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

DelayRead::DelayRead(float rate)
    : sampleRate(rate), eightLanes(VectorMaths::current() == VectorMaths::Path::avx2Fma)
{
}

namespace
{
    // Written so that NaN falls to the lower bound and infinity to the upper.
    inline float clampTo(float samples, float lowest, float highest)
    {
        const float p = samples >= lowest ? samples : lowest;
        return p <= highest ? p : highest;
    }

    inline float highestPosition(int size)
    {
        return static_cast<float>(size - DelayWrite::sliceLength - 3);
    }

#if defined(__SSE2__)
    // interpolate's expression for four frames, in the same order.
    inline __m128 lagrange(__m128 y0, __m128 y1, __m128 y2, __m128 y3, __m128 f)
    {
        const __m128 two = _mm_set1_ps(2.0f);
        const __m128 three = _mm_set1_ps(3.0f);
        const __m128 w = _mm_add_ps(_mm_mul_ps(f, _mm_set1_ps(-0.1666667f)), _mm_set1_ps(0.1666667f));
        const __m128 a = _mm_sub_ps(_mm_add_ps(_mm_sub_ps(y3, _mm_mul_ps(three, y2)), _mm_mul_ps(three, y1)), y0);
        const __m128 b = _mm_add_ps(_mm_sub_ps(_mm_add_ps(_mm_mul_ps(f, a), _mm_mul_ps(two, y0)), _mm_mul_ps(three, y1)), y3);
        const __m128 c = _mm_sub_ps(_mm_sub_ps(y2, y1), _mm_mul_ps(w, b));
        return _mm_add_ps(y1, _mm_mul_ps(f, c));
    }

    // Taps y0 (the newest) to y3 of four frames whose newest taps are at index.
    inline void loadTaps(const float* buffer, __m128i index, __m128 y[4])
    {
        const int first = _mm_cvtsi128_si32(index);
        const __m128i expected = _mm_add_epi32(_mm_set1_epi32(first), _mm_setr_epi32(0, 1, 2, 3));
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(index, expected)) == 0xFFFF)
        {
            // The frames' taps follow each other in the line: one load per tap.
            for (int tap = 0; tap < 4; ++tap)
                y[tap] = _mm_loadu_ps(buffer + first - tap);
            return;
        }
        // One load per frame; a transpose gives each tap for the four frames.
        alignas(16) int frames[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(frames), index);
        for (int frame = 0; frame < 4; ++frame)
            y[3 - frame] = _mm_loadu_ps(buffer + frames[frame] - 3);
        _MM_TRANSPOSE4_PS(y[3], y[2], y[1], y[0]);
    }
#endif
}

float DelayRead::clampPosition(float samples, int size)
{
    return clampTo(samples, static_cast<float>(DelayWrite::sliceLength), highestPosition(size));
}

void DelayRead::process(const float* delay, float* out, const DelayWrite& line,
                        unsigned long frames, float unitSeconds)
{
    // Reading does not move the line: a longer read continues from a virtual
    // write index one chunk further on.
    int writeIndex = line.getWriteIndex();
    while (frames > 0)
    {
        const int count = static_cast<int>(std::min<unsigned long>(frames, chunkLength));
        processChunk(delay, unitSeconds, out, line, writeIndex, count);
        delay += count;
        out += count;
        frames -= static_cast<unsigned long>(count);
        writeIndex = (writeIndex + count) % line.getSize();
    }
}

void DelayRead::processChunk(const float* delay, float unitSeconds, float* out, const DelayWrite& line,
                             int writeIndex, int frames)
{
    const int first = interpolateInLanes(delay, unitSeconds, out, line, writeIndex, frames);
    locate(delay, unitSeconds, line.getSize(), first, frames);
    gatherTaps(line, writeIndex, first, frames);
    interpolate(out, first, frames);
}

// Eight frames at a time where AVX2 is there, then four at a time where SSE2
// is there, with the positions found as locate finds them and the
// interpolation in lanes.
// Returns the frames done.
int DelayRead::interpolateInLanes(const float* delay, float unitSeconds, float* out, const DelayWrite& line,
                                  int writeIndex, int frames) const
{
    int i = 0;
#if defined(__SSE2__)
    const int size = line.getSize();
    const float* buffer = line.data();
    if (eightLanes)
        i = DelayReadAvx2::interpolate(delay, unitSeconds, sampleRate,
                                       {buffer, size, writeIndex - chunkLength,
                                        static_cast<float>(DelayWrite::sliceLength), highestPosition(size)},
                                       out, frames);
    const __m128 rate = _mm_set1_ps(sampleRate);
    const __m128 unit = _mm_set1_ps(unitSeconds);
    const __m128 lowest = _mm_set1_ps(static_cast<float>(DelayWrite::sliceLength));
    const __m128 highest = _mm_set1_ps(highestPosition(size));
    // tapIndex for four frames in integer lanes: start + i - integer[i], wrapped.
    __m128i start = _mm_add_epi32(_mm_set1_epi32(writeIndex - chunkLength + i), _mm_setr_epi32(0, 1, 2, 3));
    const __m128i four = _mm_set1_epi32(4);
    const __m128i wrap = _mm_set1_epi32(size);
    for (; i + 4 <= frames; i += 4)
    {
        // max and min give their second operand for NaN and ties, as clampTo does.
        const __m128 samples = _mm_mul_ps(_mm_mul_ps(_mm_loadu_ps(delay + i), unit), rate);
        const __m128 position = _mm_min_ps(_mm_max_ps(samples, lowest), highest);
        const __m128i whole = _mm_cvttps_epi32(position);
        const __m128 fractions = _mm_sub_ps(position, _mm_cvtepi32_ps(whole));
        const __m128i k = _mm_sub_epi32(start, whole);
        start = _mm_add_epi32(start, four);
        __m128 y[4];
        loadTaps(buffer, _mm_add_epi32(k, _mm_and_si128(_mm_cmplt_epi32(k, four), wrap)), y);
        _mm_storeu_ps(out + i, lagrange(y[0], y[1], y[2], y[3], fractions));
    }
#else
    (void)delay;
    (void)unitSeconds;
    (void)out;
    (void)line;
    (void)writeIndex;
    (void)frames;
#endif
    return i;
}

// Integer part and fraction of each clamped position, from frame first on.
void DelayRead::locate(const float* delay, float unitSeconds, int size, int first, int frames)
{
    const float lowest = static_cast<float>(DelayWrite::sliceLength);
    const float highest = highestPosition(size);
    int i = first;
#if defined(__SSE2__)
    const __m128 rate = _mm_set1_ps(sampleRate);
    const __m128 unit = _mm_set1_ps(unitSeconds);
    for (; i + 4 <= frames; i += 4)
    {
        // max and min give their second operand for NaN and ties, as clampTo does.
        const __m128 samples = _mm_mul_ps(_mm_mul_ps(_mm_loadu_ps(delay + i), unit), rate);
        const __m128 position = _mm_min_ps(_mm_max_ps(samples, _mm_set1_ps(lowest)), _mm_set1_ps(highest));
        const __m128i whole = _mm_cvttps_epi32(position);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(integer.data() + i), whole);
        _mm_storeu_ps(fraction.data() + i, _mm_sub_ps(position, _mm_cvtepi32_ps(whole)));
    }
#endif
    for (; i < frames; ++i)
    {
        const float position = clampTo(delay[i] * unitSeconds * sampleRate, lowest, highest);
        integer[i] = static_cast<int>(position);
        fraction[i] = position - static_cast<float>(integer[i]);
    }
}

void DelayRead::gatherTaps(const DelayWrite& line, int writeIndex, int first, int frames)
{
    const int size = line.getSize();
    const float* buffer = line.data();
    for (int i = first; i < frames; ++i)
    {
        const int k = tapIndex(writeIndex, i, size);
        taps[0][i] = buffer[k];
        taps[1][i] = buffer[k - 1];
        taps[2][i] = buffer[k - 2];
        taps[3][i] = buffer[k - 3];
    }
}

// Third-order Lagrange interpolation between taps 1 and 2 at the fraction f.
void DelayRead::interpolate(float* out, int first, int frames)
{
    const float* y0 = taps[0].data();
    const float* y1 = taps[1].data();
    const float* y2 = taps[2].data();
    const float* y3 = taps[3].data();
    for (int i = first; i < frames; ++i)
    {
        const float f = fraction[i];
        const float w = f * -0.1666667f + 0.1666667f;
        out[i] = y1[i] + f * ((y2[i] - y1[i]) - w * (f * (y3[i] - 3.0f * y2[i] + 3.0f * y1[i] - y0[i])
                                                   + 2.0f * y0[i] - 3.0f * y1[i] + y3[i]));
    }
}
