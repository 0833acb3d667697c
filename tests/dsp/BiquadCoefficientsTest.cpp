#include "Common/ProcessBlock/Filters/BiquadCoefficients.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

namespace
{
    struct Section
    {
        double b0, b1, b2, a1, a2;
    };

    // The coefficient formulas, written out again in double precision.
    Section reference(double f, double q, double gain, int type, double fs)
    {
        const double K = std::tan(M_PI * f / fs), K2 = K * K, Q = std::pow(10.0, q / 20.0);
        const double V = std::pow(10.0, std::fabs(type == 4 ? gain : q) / 20.0), r = std::sqrt(2.0 * V);
        const double butter = 1 + std::sqrt(2.0) * K + K2, butterMinus = 1 - std::sqrt(2.0) * K + K2;
        const double low = 1 + r * K + V * K2, lowMinus = 1 - r * K + V * K2;
        const double high = V + r * K + K2, highMinus = V - r * K + K2;
        const double plain = 1 + K / Q + K2, plainMinus = 1 - K / Q + K2;
        const double boost = 1 + V / Q * K + K2, boostMinus = 1 - V / Q * K + K2;
        const double n = 1 / plain, c = 2 * (K2 - 1);
        switch (type)
        {
            case 0: return {K2 * n, 2 * K2 * n, K2 * n, c * n, plainMinus * n};
            case 1: return {n, -2 * n, n, c * n, plainMinus * n};
            case 2: return {K / Q * n, 0, -K / Q * n, c * n, plainMinus * n};
            case 3: return {(1 + K2) * n, c * n, (1 + K2) * n, c * n, plainMinus * n};
            case 4:
                if (gain >= 0)
                    return {boost * n, c * n, boostMinus * n, c * n, plainMinus * n};
                return {plain / boost, c / boost, plainMinus / boost, c / boost, boostMinus / boost};
            case 5:
                if (q >= 0)
                    return {low / butter, 2 * (V * K2 - 1) / butter, lowMinus / butter, c / butter, butterMinus / butter};
                return {butter / low, c / low, butterMinus / low, 2 * (V * K2 - 1) / low, lowMinus / low};
            case 6:
                if (q >= 0)
                    return {high / butter, 2 * (K2 - V) / butter, highMinus / butter, c / butter, butterMinus / butter};
                return {butter / high, c / high, butterMinus / high, 2 * (K2 - V) / high, highMinus / high};
            default: return {plainMinus * n, c * n, 1.0, c * n, plainMinus * n};
        }
    }

    BiquadCoefficients compute(double f, double q, double gain, int type, float fs = 44100.0f)
    {
        BiquadCoefficients c;
        c.sampleRate = fs;
        c.calculateParams(float(f), float(q), float(gain), static_cast<BiquadFilterType>(type));
        return c;
    }

    double response(const BiquadCoefficients& c, double r)
    {
        const std::complex<double> z1 = std::polar(1.0, -M_PI * r), z2 = z1 * z1;
        const double b0 = c.b0, b1 = c.b1, b2 = c.b2, a1 = c.a1, a2 = c.a2;
        return std::abs((b0 + b1 * z1 + b2 * z2) / (1.0 + a1 * z1 + a2 * z2));
    }
}

TEST(BiquadCoefficients, AllShapesMatchDoublePrecisionFormulas)
{
    const double settings[][3] = {{50, 0, 0},    {440, 6, 9},     {1000, -3, -12}, {2500, 12, 3},
                                  {8000, -6, 6}, {12000, 3, -6}, {17000, 0, 0}};
    for (float fs : {44100.0f, 48000.0f, 96000.0f})
        for (int type = 0; type < 8; ++type)
            for (const auto& s : settings)
            {
                const Section expected = reference(s[0], s[1], s[2], type, fs);
                const BiquadCoefficients actual = compute(s[0], s[1], s[2], type, fs);
                const double tolerance = 2e-5 * (1.0 + std::fabs(expected.b0) + std::fabs(expected.b1));
                SCOPED_TRACE(testing::Message() << "type " << type << " f " << s[0] << " q " << s[1]
                                                << " gain " << s[2] << " fs " << fs);
                EXPECT_NEAR(actual.b0, expected.b0, tolerance);
                EXPECT_NEAR(actual.b1, expected.b1, tolerance);
                EXPECT_NEAR(actual.b2, expected.b2, tolerance);
                EXPECT_NEAR(actual.a1, expected.a1, 2e-5);
                EXPECT_NEAR(actual.a2, expected.a2, 2e-5);
            }
}

TEST(BiquadCoefficients, LowPassAtQuarterRateAndUnknownShapes)
{
    BiquadCoefficients c = compute(11025, 0, 0, 0);
    EXPECT_NEAR(c.b0, 1.0 / 3, 1e-6);
    EXPECT_NEAR(c.b1, 2.0 / 3, 1e-6);
    EXPECT_NEAR(c.a1, 0.0, 1e-6);
    EXPECT_NEAR(c.a2, 1.0 / 3, 1e-6);
    EXPECT_NEAR(c.magnitudeForFrequency(0.5), 1.0, 1e-6);

    const BiquadCoefficients before = c;
    c.calculateParams(2000, 3, 3, static_cast<BiquadFilterType>(8));
    EXPECT_EQ(c.b0, before.b0);
    EXPECT_EQ(c.a2, before.a2);
}

TEST(BiquadCoefficients, MagnitudeMatchesComplexEvaluation)
{
    for (int type = 0; type < 8; ++type)
    {
        const BiquadCoefficients c = compute(1500, 4, -5, type);
        for (double r : {0.0, 0.01, 0.068, 0.2, 0.5, 0.9, 1.0})
            EXPECT_NEAR(c.magnitudeForFrequency(r), response(c, r), 1e-9 * (1.0 + response(c, r)))
                << "type " << type << " r " << r;
    }
}

TEST(BiquadCoefficients, ShelvesPeakAndAllPassHaveTheirGains)
{
    EXPECT_NEAR(compute(500, 6, 0, 5).magnitudeForFrequency(0.0), std::pow(10.0, 6.0 / 20), 1e-4);
    EXPECT_NEAR(compute(500, 6, 0, 5).magnitudeForFrequency(1.0), 1.0, 1e-4);
    EXPECT_NEAR(compute(500, -6, 0, 5).magnitudeForFrequency(0.0), std::pow(10.0, -6.0 / 20), 1e-4);
    EXPECT_NEAR(compute(5000, 6, 0, 6).magnitudeForFrequency(1.0), std::pow(10.0, 6.0 / 20), 1e-4);
    EXPECT_NEAR(compute(5000, -6, 0, 6).magnitudeForFrequency(0.0), 1.0, 1e-4);
    // At its centre the peak has the gain V; the gain of a cut inverts it.
    EXPECT_NEAR(compute(1000, 3, 12, 4).magnitudeForFrequency(2000.0 / 44100), std::pow(10.0, 0.6), 1e-3);
    EXPECT_NEAR(compute(1000, 3, -12, 4).magnitudeForFrequency(2000.0 / 44100), std::pow(10.0, -0.6), 1e-4);

    const BiquadCoefficients flatPeak = compute(1000, 3, 0, 4), allPass = compute(3000, 6, 0, 7);
    for (double r = 0.0; r <= 1.0; r += 0.05)
    {
        EXPECT_NEAR(flatPeak.magnitudeForFrequency(r), 1.0, 1e-5);
        EXPECT_NEAR(allPass.magnitudeForFrequency(r), 1.0, 1e-5);
    }
}
