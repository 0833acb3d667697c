#include "Common/ProcessBlock/Mix/Gain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
    double linear(double dB)
    {
        return std::pow(10.0, dB / 20.0);
    }

    std::vector<float> ones(std::size_t n)
    {
        return std::vector<float>(n, 1.0f);
    }
}

TEST(Gain, FixedGainScalesByTheDecibelFactor)
{
    Gain gain;
    for (float dB : {0.0f, -6.0206f, 20.0f, -120.0f})
    {
        auto buffer = ones(37);
        buffer[3] = -0.25f;
        gain.process(buffer.data(), buffer.size(), GainParameters{dB, nullptr});
        EXPECT_NEAR(buffer[0], linear(dB), 1e-6 * linear(dB)) << dB;
        EXPECT_NEAR(buffer[3], -0.25 * linear(dB), 1e-6 * linear(dB)) << dB;
    }
    auto unity = ones(4);
    gain.process(unity.data(), 4, GainParameters{0.0f, nullptr});
    EXPECT_EQ(unity, ones(4));
}

TEST(Gain, GainBufferScalesEachSampleAndOverridesTheField)
{
    const std::size_t n = 64;
    std::vector<float> dB(n);
    for (std::size_t i = 0; i < n; ++i)
        dB[i] = -20.0f * float(i) / float(n - 1);

    Gain gain;
    auto buffer = ones(n);
    gain.process(buffer.data(), n, GainParameters{12.0f, dB.data()});
    for (std::size_t i = 0; i < n; ++i)
        EXPECT_NEAR(buffer[i], linear(dB[i]), 2e-6) << i;

    auto viaOverload = ones(n);
    gain.process(viaOverload.data(), n, dB.data());
    EXPECT_EQ(viaOverload, buffer);
}

TEST(Gain, LongBlocksWithAGainBufferAreScaledToTheEnd)
{
    const std::size_t n = 10000; // more than the scratch buffer holds
    std::vector<float> dB(n, -6.0f);
    dB[n - 1] = 6.0f;
    auto buffer = ones(n + 1);
    buffer[n] = 3.0f; // past the block: untouched

    Gain gain;
    gain.clear();
    gain.init(1, 96000.0);
    gain.process(buffer.data(), n, dB.data());
    EXPECT_NEAR(buffer[5000], linear(-6.0), 1e-6);
    EXPECT_NEAR(buffer[n - 1], linear(6.0), 1e-5);
    EXPECT_EQ(buffer[n], 3.0f);
    EXPECT_EQ(gain.sampleRate, 96000.0);
    EXPECT_EQ(gain.channels, 1);
}
