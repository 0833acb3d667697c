#include "Common/ProcessBlock/Filters/BiquadCoefficients.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
    struct Section
    {
        double b0, b1, b2, a1, a2;
    };

    // The bilinear-transform formulas of every shape, in double precision.
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
}

TEST(BiquadCoefficients, AllShapesMatchTheFormulas)
{
    const double settings[][3] = {{50, 0, 0},    {440, 6, 9},     {1000, -3, -12}, {2500, 12, 3},
                                  {8000, -6, 6}, {12000, 3, -6}, {17000, 0, 0}};
    for (float fs : {44100.0f, 96000.0f})
        for (int type = 0; type < 8; ++type)
            for (const auto& s : settings)
            {
                const Section e = reference(s[0], s[1], s[2], type, fs);
                BiquadCoefficients c;
                c.sampleRate = fs;
                c.calculateParams(float(s[0]), float(s[1]), float(s[2]), static_cast<BiquadFilterType>(type));
                SCOPED_TRACE(testing::Message() << "type " << type << " f " << s[0] << " fs " << fs);
                const double tolerance = 2e-5 * (1.0 + std::fabs(e.b0) + std::fabs(e.b1));
                EXPECT_NEAR(c.b0, e.b0, tolerance);
                EXPECT_NEAR(c.b1, e.b1, tolerance);
                EXPECT_NEAR(c.b2, e.b2, tolerance);
                EXPECT_NEAR(c.a1, e.a1, 2e-5);
                EXPECT_NEAR(c.a2, e.a2, 2e-5);
            }

    // An unknown shape leaves the coefficients as they were.
    BiquadCoefficients c;
    c.calculateParams(1000, 0, 0, BiquadFilterType::lowPass);
    const float b0 = c.b0, a2 = c.a2;
    c.calculateParams(2000, 3, 3, static_cast<BiquadFilterType>(8));
    EXPECT_EQ(c.b0, b0);
    EXPECT_EQ(c.a2, a2);
}
