#include "DryWet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
    // The crossfade law, written out in double precision.
    double twoSided(double dry, double wet, double percent)
    {
        const double m = std::clamp(percent * 0.01, 0.0, 1.0);
        return dry * std::pow(std::min(2.0 - 2.0 * m, 1.0), 1.5) + wet * std::pow(std::min(2.0 * m, 1.0), 1.5);
    }

    float mixOne(ZorvikDSP::DryWet& block, float dry, float wet, float percent)
    {
        float out = 0.0f;
        block.process(&dry, &wet, &out, 1, &percent);
        return out;
    }
}

TEST(DryWet, TwoSidedCrossfadeWorksInPlaceAndBeyondItsWorkBuffers)
{
    ZorvikDSP::DryWet block;
    const unsigned long frames = 2 * ZorvikDSP::DryWet::bufferLength + 100;
    std::vector<float> dry(frames), wet(frames), mix(frames);
    for (unsigned long i = 0; i < frames; ++i)
    {
        dry[i] = std::sin(0.01f * static_cast<float>(i));
        wet[i] = std::cos(0.03f * static_cast<float>(i));
        mix[i] = static_cast<float>(i % 101);
    }
    std::vector<float> intoDry = dry, intoWet = wet;
    block.process(intoDry.data(), wet.data(), intoDry.data(), frames, mix.data());
    block.process(dry.data(), intoWet.data(), intoWet.data(), frames, mix.data());
    for (unsigned long i = 0; i < frames; ++i)
    {
        const double expected = twoSided(dry[i], wet[i], mix[i]);
        ASSERT_NEAR(intoDry[i], expected, 2e-6) << i;
        ASSERT_NEAR(intoWet[i], expected, 2e-6) << i;
    }
}

TEST(DryWet, EndsAreExact)
{
    ZorvikDSP::DryWet block;
    EXPECT_EQ(mixOne(block, 0.123f, 5.0f, 0.0f), 0.123f);
    EXPECT_EQ(mixOne(block, 5.0f, 0.123f, 100.0f), 0.123f);
}
