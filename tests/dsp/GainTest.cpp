#include "Common/ProcessBlock/Mix/Gain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

TEST(Gain, ScalesByTheDecibelFactorOfItsBufferToTheEndOfLongBlocks)
{
    const auto linear = [](double dB) { return std::pow(10.0, dB / 20.0); };
    Gain gain;
    // A buffer overrides the field; blocks longer than the scratch buffer are scaled to their end only.
    const std::size_t n = 10000;
    std::vector<float> dB(n), buffer(n + 1, 1.0f);
    for (std::size_t i = 0; i < n; ++i)
        dB[i] = -20.0f + 26.0f * float(i % 97) / 96.0f;
    buffer[n] = 3.0f;
    auto viaOverload = buffer;
    gain.process(buffer.data(), n, GainParameters{12.0f, dB.data()});
    gain.process(viaOverload.data(), n, dB.data());
    for (std::size_t i = 0; i < n; ++i)
        ASSERT_NEAR(buffer[i], linear(dB[i]), 1e-5) << i;
    EXPECT_EQ(buffer[n], 3.0f);
    EXPECT_EQ(viaOverload, buffer);
}

TEST(Gain, AFixedGainScalesByItsDecibelFactorAndClearChangesNothing)
{
    struct Case { float dB; float factor; };
    for (const Case c : {Case{0.0f, 1.0f}, {-6.0206f, 0.5f}, {20.0f, 10.0f}, {-20.0f, 0.1f}})
    {
        Gain gain;
        gain.init(1, 96000.0);
        std::vector<float> buffer{1.0f, -2.0f, 0.25f};
        gain.process(buffer.data(), 2, GainParameters{c.dB, nullptr});
        gain.clear();
        gain.process(buffer.data() + 2, 1, GainParameters{c.dB, nullptr});
        EXPECT_NEAR(buffer[0], c.factor, 1e-6 * c.factor) << c.dB;
        EXPECT_NEAR(buffer[1], -2.0f * c.factor, 2e-6 * c.factor) << c.dB;
        EXPECT_NEAR(buffer[2], 0.25f * c.factor, 1e-6 * c.factor) << c.dB;
    }
}
