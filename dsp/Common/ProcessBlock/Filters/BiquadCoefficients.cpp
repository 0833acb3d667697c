#include "Common/ProcessBlock/Filters/BiquadCoefficients.h"

#include <cmath>

namespace
{
    constexpr double pi = 3.14159265358979323846;

    // The shelves' 1 +/- sqrt(2) K + K^2 terms are kept in double precision.
    double butterworthTerm(double sign, float K, float K2)
    {
        return 1.0 + sign * std::sqrt(2.0) * K + K2;
    }
}

void BiquadCoefficients::calculateParams(float frequency, float q, float gain, BiquadFilterType type)
{
    if (static_cast<int>(type) < 0 || static_cast<int>(type) > 7)
        return;

    const float K = std::tan(static_cast<float>(pi * frequency / sampleRate));
    const float K2 = K * K;
    const float Q = std::pow(10.0f, q / 20.0f);
    const float x = type == BiquadFilterType::peak ? gain : q;
    const float V = std::pow(10.0f, std::fabs(x) / 20.0f);
    const float root2V = std::sqrt(2.0f * V);
    const float KQ = K / Q;
    const float VKQ = V / Q * K;

    switch (type)
    {
        case BiquadFilterType::lowPass:
        {
            const float norm = 1.0f / (1.0f + KQ + K2);
            b0 = K2 * norm;
            b1 = 2.0f * b0;
            b2 = b0;
            a1 = 2.0f * (K2 - 1.0f) * norm;
            a2 = (1.0f - KQ + K2) * norm;
            break;
        }
        case BiquadFilterType::highPass:
        {
            const float norm = 1.0f / (1.0f + KQ + K2);
            b0 = norm;
            b1 = -2.0f * norm;
            b2 = norm;
            a1 = 2.0f * (K2 - 1.0f) * norm;
            a2 = (1.0f - KQ + K2) * norm;
            break;
        }
        case BiquadFilterType::bandPass:
        {
            const float norm = 1.0f / (1.0f + KQ + K2);
            b0 = KQ * norm;
            b1 = 0.0f;
            b2 = -b0;
            a1 = 2.0f * (K2 - 1.0f) * norm;
            a2 = (1.0f - KQ + K2) * norm;
            break;
        }
        case BiquadFilterType::notch:
        {
            const float norm = 1.0f / (1.0f + KQ + K2);
            b0 = (1.0f + K2) * norm;
            b1 = 2.0f * (K2 - 1.0f) * norm;
            b2 = b0;
            a1 = b1;
            a2 = (1.0f - KQ + K2) * norm;
            break;
        }
        case BiquadFilterType::peak:
        {
            if (gain >= 0.0f)
            {
                const float norm = 1.0f / (1.0f + KQ + K2);
                b0 = (1.0f + VKQ + K2) * norm;
                b1 = 2.0f * (K2 - 1.0f) * norm;
                b2 = (1.0f - VKQ + K2) * norm;
                a1 = b1;
                a2 = (1.0f - KQ + K2) * norm;
            }
            else
            {
                const float norm = 1.0f / (1.0f + VKQ + K2);
                b0 = (1.0f + KQ + K2) * norm;
                b1 = 2.0f * (K2 - 1.0f) * norm;
                b2 = (1.0f - KQ + K2) * norm;
                a1 = b1;
                a2 = (1.0f - VKQ + K2) * norm;
            }
            break;
        }
        case BiquadFilterType::lowShelf:
        {
            if (q >= 0.0f)
            {
                const float norm = static_cast<float>(1.0 / butterworthTerm(1.0, K, K2));
                b0 = (1.0f + root2V * K + V * K2) * norm;
                b1 = 2.0f * (V * K2 - 1.0f) * norm;
                b2 = (1.0f - root2V * K + V * K2) * norm;
                a1 = 2.0f * (K2 - 1.0f) * norm;
                a2 = static_cast<float>(butterworthTerm(-1.0, K, K2) * norm);
            }
            else
            {
                const float norm = 1.0f / (1.0f + root2V * K + V * K2);
                b0 = static_cast<float>(butterworthTerm(1.0, K, K2) * norm);
                b1 = 2.0f * (K2 - 1.0f) * norm;
                b2 = static_cast<float>(butterworthTerm(-1.0, K, K2) * norm);
                a1 = 2.0f * (V * K2 - 1.0f) * norm;
                a2 = (1.0f - root2V * K + V * K2) * norm;
            }
            break;
        }
        case BiquadFilterType::highShelf:
        {
            if (q >= 0.0f)
            {
                const float norm = static_cast<float>(1.0 / butterworthTerm(1.0, K, K2));
                b0 = (V + root2V * K + K2) * norm;
                b1 = 2.0f * (K2 - V) * norm;
                b2 = (V - root2V * K + K2) * norm;
                a1 = 2.0f * (K2 - 1.0f) * norm;
                a2 = static_cast<float>(butterworthTerm(-1.0, K, K2) * norm);
            }
            else
            {
                const float norm = 1.0f / (V + root2V * K + K2);
                b0 = static_cast<float>(butterworthTerm(1.0, K, K2) * norm);
                b1 = 2.0f * (K2 - 1.0f) * norm;
                b2 = static_cast<float>(butterworthTerm(-1.0, K, K2) * norm);
                a1 = 2.0f * (K2 - V) * norm;
                a2 = (V - root2V * K + K2) * norm;
            }
            break;
        }
        case BiquadFilterType::allPass:
        {
            const float norm = 1.0f / (1.0f + KQ + K2);
            b0 = (1.0f - KQ + K2) * norm;
            b1 = 2.0f * (K2 - 1.0f) * norm;
            b2 = (1.0f + KQ + K2) * norm;
            a1 = b1;
            a2 = b0;
            break;
        }
    }
}

double BiquadCoefficients::magnitudeForFrequency(double r) const
{
    const double w = pi * r;
    const double cosW = std::cos(w);
    const double sinW = std::sin(w);
    const double cos2W = cosW * cosW - sinW * sinW;
    const double sin2W = 2.0 * sinW * cosW;

    const double numeratorReal = b0 + b1 * cosW + b2 * cos2W;
    const double numeratorImaginary = b1 * sinW + b2 * sin2W;
    const double denominatorReal = 1.0 + a1 * cosW + a2 * cos2W;
    const double denominatorImaginary = a1 * sinW + a2 * sin2W;

    return std::sqrt(numeratorReal * numeratorReal + numeratorImaginary * numeratorImaginary)
           / std::sqrt(denominatorReal * denominatorReal + denominatorImaginary * denominatorImaginary);
}
