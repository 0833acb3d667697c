#include "DryWet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
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

TEST(DryWet, EndsAreExactAndBadValuesCannotSpoilTheMix)
{
    ZorvikDSP::DryWet block;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    // {dry, wet, mix}: each gives exactly 0.123. Out of range mixes clamp, a
    // NaN mix keeps the dry signal, a faded-out side cannot spoil the other.
    const float cases[][3] = {{0.123f, 5, 0},   {5, 0.123f, 100}, {0.123f, 5, -10}, {5, 0.123f, 150},
                              {0.123f, 5, nan}, {0.123f, nan, 0}, {inf, 0.123f, 100}};
    for (const auto& c : cases)
        EXPECT_EQ(mixOne(block, c[0], c[1], c[2]), 0.123f) << c[0] << " " << c[1] << " " << c[2];
    const float dryIn[] = {0.123f, inf, 0.123f}, wetIn[] = {nan, 0.123f, nan}, moving[] = {0, 100, -10};
    float both[3];
    block.process(dryIn, wetIn, both, 3, moving);  // the same, with a mix that moves
    EXPECT_EQ(std::vector<float>(both, both + 3), std::vector<float>(3, 0.123f));

    block.setTwoSided(false);
    for (float percent : {25.0f, 50.0f, 150.0f})
    {
        const double m = std::min(percent * 0.01, 1.0);
        EXPECT_NEAR(mixOne(block, 1.0f, 3.0f, percent), (1 - m) + 3 * m, 1e-6) << percent;
    }
    // A mix that moves only in the last values of a call is followed there.
    std::vector<float> dry(7, 1.0f), wet(7, 3.0f), out(7), mix(7, 0.0f);
    mix[6] = 100.0f;
    block.process(dry.data(), wet.data(), out.data(), 7, mix.data());
    EXPECT_EQ(out, (std::vector<float>{1, 1, 1, 1, 1, 1, 3}));
}
