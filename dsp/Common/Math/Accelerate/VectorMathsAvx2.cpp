#include "Common/Math/Accelerate/VectorMathsAvx2.h"

#include "Common/Math/Accelerate/VectorMaths.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#define AVX2_FMA __attribute__((target("avx2,fma")))
#endif

// The arithmetic below is the C library's, operation for operation, with the
// same constants and the same fused multiply-adds, in four lanes: that is what
// makes the results equal. Sine and cosine work in double precision: the
// argument minus the nearest multiple of pi/2, then a sine or cosine
// polynomial by the quadrant's parity and a sign by its second bit. The
// exponential splits 2x / ln 2 into k / 128 + r, takes 2^(k/128) from a table
// and e^r from a polynomial.
namespace
{
    // 2 / pi * 2^24: the quadrant is the product, rounded at bit 24.
    constexpr double quadrantScale = 0x1.45f306dc9c883p+23;
    constexpr double halfPi = 0x1.921fb54442d18p+0;
    constexpr double cosine0 = 1.0;
    constexpr double cosine1 = -0x1.ffffffd0c621cp-2;
    constexpr double cosine2 = 0x1.55553e1068f19p-5;
    constexpr double cosine3 = -0x1.6c087e89a359dp-10;
    constexpr double cosine4 = 0x1.99343027bf8c3p-16;
    constexpr double sine1 = -0x1.555545995a603p-3;
    constexpr double sine2 = 0x1.1107605230bc4p-7;
    constexpr double sine3 = -0x1.994eb3774cf24p-13;
    // Below 2^-12 in magnitude the sine is the argument and the cosine 1; from
    // 120 on the library reduces the argument another way.
    constexpr std::int32_t tinyBits = 0x39800000;
    constexpr std::int32_t largestFastBits = 0x42efffff;

    constexpr int expTableBits = 7;
    constexpr int expTableSize = 1 << expTableBits;
    constexpr double expScale = 0x1.71547652b82fep+7;     // 128 / ln 2
    constexpr double expLn2High = -0x1.62e42fefa0000p-8;  // -ln 2 / 128, leading bits
    constexpr double expLn2Low = -0x1.cf79abc9e3b3ap-47;  // and the rest
    constexpr double expShift = 0x1.8p52;                 // rounds to a whole number in the low bits
    constexpr double expCoefficient2 = 0x1.ffffffffffdbdp-2;
    constexpr double expCoefficient3 = 0x1.555555555543cp-3;
    constexpr double expCoefficient4 = 0x1.55555cf172b91p-5;
    constexpr double expCoefficient5 = 0x1.1111167a4d017p-7;

    // Per i: the relative rounding error of 2^(i/128) as a double, then the
    // double's bits less i << 45 (the exponent k / 128 adds them back).
    std::uint64_t expTable[2 * expTableSize];
    bool expTableReady = false;

    std::uint64_t bitsOf(double x)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &x, sizeof bits);
        return bits;
    }

    // 2^(i/128) to about 112 bits: Newton's method on y^128 = 2^i, from the
    // double estimate. A rounding error may still differ from the library's
    // in its last bit (a part in 2^105 of the exponential); the check over
    // every float shows that no tanh changes by it.
    __float128 powerOfTwo(int i)
    {
        const __float128 target = std::ldexp(1.0, i);
        __float128 y = std::exp2(i / 128.0);
        for (int step = 0; step < 3; ++step)
        {
            __float128 p = y;
            for (int k = 0; k < 7; ++k)
                p = p * p;
            y -= (p - target) * y / (128 * p);
        }
        return y;
    }

#if defined(__x86_64__)
    AVX2_FMA inline __m256d all(double x) { return _mm256_set1_pd(x); }

    AVX2_FMA inline __m256d sinePolynomial(__m256d r, __m256d r2)
    {
        const __m256d r3 = _mm256_mul_pd(r2, r);
        const __m256d high = _mm256_fmadd_pd(all(sine3), r2, all(sine2));
        const __m256d r7 = _mm256_mul_pd(r3, r2);
        const __m256d low = _mm256_fmadd_pd(r3, all(sine1), r);
        return _mm256_fmadd_pd(high, r7, low);
    }

    AVX2_FMA inline __m256d cosinePolynomial(__m256d r2)
    {
        const __m256d r4 = _mm256_mul_pd(r2, r2);
        const __m256d low = _mm256_fmadd_pd(all(cosine1), r2, all(cosine0));
        const __m256d high = _mm256_fmadd_pd(all(cosine4), r2, all(cosine3));
        const __m256d r6 = _mm256_mul_pd(r2, r4);
        const __m256d middle = _mm256_fmadd_pd(r4, all(cosine2), low);
        return _mm256_fmadd_pd(high, r6, middle);
    }

    // Four sines (or cosines) of arguments below 120 in magnitude.
    template <bool cosine>
    AVX2_FMA inline __m128 sinCos4(__m128 y, __m128i magnitudeBits)
    {
        const __m256d x = _mm256_cvtps_pd(y);
        const __m128i scaled = _mm256_cvttpd_epi32(_mm256_mul_pd(x, all(quadrantScale)));
        const __m128i n = _mm_srai_epi32(_mm_add_epi32(scaled, _mm_set1_epi32(0x800000)), 24);
        const __m256d r = _mm256_fnmadd_pd(_mm256_cvtepi32_pd(n), all(halfPi), x);
        const __m256d r2 = _mm256_mul_pd(r, r);
        // The cosine is the sine one quadrant on.
        const __m128i quadrant = cosine ? _mm_add_epi32(n, _mm_set1_epi32(1)) : n;
        const __m256d odd = _mm256_castsi256_pd(_mm256_cvtepi32_epi64(_mm_slli_epi32(quadrant, 31)));
        const __m256d value = _mm256_blendv_pd(sinePolynomial(r, r2), cosinePolynomial(r2), odd);
        const __m128 negative = _mm_castsi128_ps(_mm_slli_epi32(_mm_srli_epi32(quadrant, 1), 31));
        const __m128 result = _mm_xor_ps(_mm256_cvtpd_ps(value), negative);
        const __m128 tiny = _mm_castsi128_ps(_mm_cmplt_epi32(magnitudeBits, _mm_set1_epi32(tinyBits)));
        return _mm_blendv_ps(result, cosine ? _mm_set1_ps(1.0f) : y, tiny);
    }

    template <bool cosine>
    AVX2_FMA void sinCos(const float* a, float* out, std::size_t n)
    {
        std::size_t i = 0;
        for (; i + 4 <= n; i += 4)
        {
            const __m128 y = _mm_loadu_ps(a + i);
            const __m128i magnitudeBits = _mm_and_si128(_mm_castps_si128(y), _mm_set1_epi32(0x7fffffff));
            if (_mm_movemask_epi8(_mm_cmpgt_epi32(magnitudeBits, _mm_set1_epi32(largestFastBits))) != 0)
                cosine ? VectorMaths::referenceCos(a + i, out + i, 4) : VectorMaths::referenceSin(a + i, out + i, 4);
            else
                _mm_storeu_ps(out + i, sinCos4<cosine>(y, magnitudeBits));
        }
        cosine ? VectorMaths::referenceCos(a + i, out + i, n - i) : VectorMaths::referenceSin(a + i, out + i, n - i);
    }

    // e^x for |x| in [2^-54, 512).
    AVX2_FMA inline __m256d exponential(__m256d x)
    {
        const __m256d shifted = _mm256_fmadd_pd(x, all(expScale), all(expShift));
        const __m256i k = _mm256_castpd_si256(shifted);
        const __m256d whole = _mm256_sub_pd(shifted, all(expShift));
        __m256d r = _mm256_fmadd_pd(whole, all(expLn2High), x);
        r = _mm256_fmadd_pd(whole, all(expLn2Low), r);
        const __m256i entry = _mm256_slli_epi64(_mm256_and_si256(k, _mm256_set1_epi64x(expTableSize - 1)), 1);
        const auto* table = reinterpret_cast<const long long*>(expTable);
        const __m256d tail = _mm256_castsi256_pd(_mm256_i64gather_epi64(table, entry, 8));
        const __m256i scaleBits = _mm256_add_epi64(_mm256_i64gather_epi64(table + 1, entry, 8),
                                                   _mm256_slli_epi64(k, 52 - expTableBits));
        const __m256d scale = _mm256_castsi256_pd(scaleBits);
        const __m256d r2 = _mm256_mul_pd(r, r);
        const __m256d low = _mm256_fmadd_pd(all(expCoefficient3), r, all(expCoefficient2));
        const __m256d first = _mm256_add_pd(r, tail);
        const __m256d high = _mm256_fmadd_pd(r, all(expCoefficient5), all(expCoefficient4));
        const __m256d lower = _mm256_fmadd_pd(low, r2, first);
        const __m256d r4 = _mm256_mul_pd(r2, r2);
        const __m256d sum = _mm256_fmadd_pd(r4, high, lower);
        return _mm256_fmadd_pd(scale, sum, scale);
    }

    // VectorMaths::tanhOf in four lanes, for values that are not NaN.
    AVX2_FMA inline __m128 tanh4(__m128 value)
    {
        const __m256d one = all(1.0);
        const __m256d x = _mm256_cvtps_pd(value);
        const __m256d magnitude = _mm256_andnot_pd(all(-0.0), x);
        const __m256d e = exponential(_mm256_add_pd(x, x));
        __m256d result = _mm256_div_pd(_mm256_sub_pd(e, one), _mm256_add_pd(e, one));
        const __m256d small = _mm256_cmp_pd(magnitude, all(4e-4), _CMP_LT_OQ);
        if (_mm256_movemask_pd(small) != 0)
        {
            const __m256d x3 = _mm256_div_pd(_mm256_mul_pd(x, x), all(3.0));
            result = _mm256_blendv_pd(result, _mm256_mul_pd(x, _mm256_sub_pd(one, x3)), small);
        }
        const __m256d unit = _mm256_blendv_pd(all(-1.0), one, _mm256_cmp_pd(x, _mm256_setzero_pd(), _CMP_GT_OQ));
        result = _mm256_blendv_pd(result, unit, _mm256_cmp_pd(magnitude, all(20.0), _CMP_GT_OQ));
        return _mm256_cvtpd_ps(result);
    }

    AVX2_FMA void tanhLanes(const float* a, float* out, std::size_t n)
    {
        std::size_t i = 0;
        for (; i + 4 <= n; i += 4)
        {
            const __m128 x = _mm_loadu_ps(a + i);
            if (_mm_movemask_ps(_mm_cmpunord_ps(x, x)) != 0)
                VectorMaths::referenceTanh(a + i, out + i, 4);
            else
                _mm_storeu_ps(out + i, tanh4(x));
        }
        VectorMaths::referenceTanh(a + i, out + i, n - i);
    }
#endif
}

bool VectorMathsAvx2::supported()
{
#if defined(__x86_64__)
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
#else
    return false;
#endif
}

void VectorMathsAvx2::prepare()
{
    if (expTableReady)
        return;
    for (int i = 0; i < expTableSize; ++i)
    {
        const __float128 exact = powerOfTwo(i);
        const auto rounded = static_cast<double>(exact);
        const auto error = static_cast<double>((exact - rounded) / rounded);
        expTable[2 * i] = bitsOf(error);
        expTable[2 * i + 1] = bitsOf(rounded) - (static_cast<std::uint64_t>(i) << (52 - expTableBits));
    }
    expTableReady = true;
}

#if defined(__x86_64__)
void VectorMathsAvx2::sin(const float* a, float* out, std::size_t n)
{
    sinCos<false>(a, out, n);
}

void VectorMathsAvx2::cos(const float* a, float* out, std::size_t n)
{
    sinCos<true>(a, out, n);
}

void VectorMathsAvx2::tanh(const float* a, float* out, std::size_t n)
{
    tanhLanes(a, out, n);
}
#else
void VectorMathsAvx2::sin(const float* a, float* out, std::size_t n)
{
    VectorMaths::referenceSin(a, out, n);
}

void VectorMathsAvx2::cos(const float* a, float* out, std::size_t n)
{
    VectorMaths::referenceCos(a, out, n);
}

void VectorMathsAvx2::tanh(const float* a, float* out, std::size_t n)
{
    VectorMaths::referenceTanh(a, out, n);
}
#endif
