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
