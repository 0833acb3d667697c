#include "DryWet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace
{
    // The crossfade law, written out in double precision.
    void twoSidedGains(double percent, double& dry, double& wet)
    {
        const double m = std::clamp(percent * 0.01, 0.0, 1.0);
        wet = std::pow(std::min(2.0 * m, 1.0), 1.5);
        dry = std::pow(std::min(2.0 - 2.0 * m, 1.0), 1.5);
    }

    float mixOne(ZorvikDSP::DryWet& block, float dry, float wet, float percent)
    {
        float out = 0.0f;
        block.process(&dry, &wet, &out, 1, &percent);
        return out;
    }
}

TEST(DryWet, TwoSidedCurveFollowsThePowerLaw)
{
    ZorvikDSP::DryWet block;
    for (double percent : {0.0, 10.0, 25.0, 40.0, 50.0, 60.0, 75.0, 90.0, 100.0})
    {
        double dryGain = 0.0;
        double wetGain = 0.0;
        twoSidedGains(percent, dryGain, wetGain);
        const auto p = static_cast<float>(percent);
        EXPECT_NEAR(mixOne(block, 1.0f, 0.0f, p), dryGain, 1e-6) << percent;
        EXPECT_NEAR(mixOne(block, 0.0f, 1.0f, p), wetGain, 1e-6) << percent;
        EXPECT_NEAR(mixOne(block, 0.3f, -0.7f, p), 0.3 * dryGain - 0.7 * wetGain, 1e-6) << percent;
    }
    EXPECT_NEAR(mixOne(block, 0.0f, 1.0f, 25.0f), 0.35355339059327373, 1e-6);
    EXPECT_FLOAT_EQ(mixOne(block, 1.0f, 0.0f, 25.0f), 1.0f);
    EXPECT_FLOAT_EQ(mixOne(block, 1.0f, 1.0f, 50.0f), 2.0f);
}

TEST(DryWet, EndsAreExactAndOutOfRangeMixesClamp)
{
    ZorvikDSP::DryWet block;
    EXPECT_EQ(mixOne(block, 0.123f, 5.0f, 0.0f), 0.123f);
    EXPECT_EQ(mixOne(block, 5.0f, 0.123f, 100.0f), 0.123f);
    EXPECT_EQ(mixOne(block, 0.123f, 5.0f, -10.0f), 0.123f);
    EXPECT_EQ(mixOne(block, 5.0f, 0.123f, 150.0f), 0.123f);
    // A mix that is not a number keeps the dry signal rather than spoiling it,
    // and a side that is faded out cannot spoil the other.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(mixOne(block, 0.123f, 5.0f, nan), 0.123f);
    EXPECT_EQ(mixOne(block, 0.123f, nan, 0.0f), 0.123f);
    EXPECT_EQ(mixOne(block, std::numeric_limits<float>::infinity(), 0.123f, 100.0f), 0.123f);
}

TEST(DryWet, LinearCurve)
{
    ZorvikDSP::DryWet block;
    block.setTwoSided(false);
    EXPECT_FLOAT_EQ(mixOne(block, 1.0f, 3.0f, 50.0f), 2.0f);
    EXPECT_FLOAT_EQ(mixOne(block, 1.0f, 0.0f, 25.0f), 0.75f);
    EXPECT_FLOAT_EQ(mixOne(block, 0.0f, 1.0f, 25.0f), 0.25f);
    EXPECT_FLOAT_EQ(mixOne(block, 2.0f, 3.0f, 150.0f), 3.0f);
}

TEST(DryWet, WorksInPlaceAndBeyondItsWorkBuffers)
{
    ZorvikDSP::DryWet block;
    const unsigned long frames = 2 * ZorvikDSP::DryWet::bufferLength + 100;
    std::vector<float> dry(frames), wet(frames), mix(frames), expected(frames);
    for (unsigned long i = 0; i < frames; ++i)
    {
        dry[i] = std::sin(0.01f * static_cast<float>(i));
        wet[i] = std::cos(0.03f * static_cast<float>(i));
        mix[i] = static_cast<float>(i % 101);
        double d = 0.0;
        double w = 0.0;
        twoSidedGains(mix[i], d, w);
        expected[i] = static_cast<float>(dry[i] * d + wet[i] * w);
    }
    std::vector<float> intoDry = dry;
    block.process(intoDry.data(), wet.data(), intoDry.data(), frames, mix.data());
    std::vector<float> intoWet = wet;
    block.process(dry.data(), intoWet.data(), intoWet.data(), frames, mix.data());
    for (unsigned long i = 0; i < frames; ++i)
    {
        ASSERT_NEAR(intoDry[i], expected[i], 2e-6) << i;
        ASSERT_NEAR(intoWet[i], expected[i], 2e-6) << i;
    }
}
