#include "Common/Parameters/NoteDomain.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(NoteDomain, FollowsTheMidiNoteScaleAndRoundTrips)
{
    for (float f = 1.0f; f < 100000.0f; f *= 1.37f)
    {
        EXPECT_NEAR(NoteDomain::note(f), 12.0 * std::log2(f / 440.0) + 69.0, 2e-4) << f;
        EXPECT_NEAR(NoteDomain::frequency(NoteDomain::note(f)), f, f * 1e-5) << f;
    }
    EXPECT_EQ(NoteDomain::note(0.0f), -1500.0f);
    EXPECT_EQ(NoteDomain::note(-5.0f), -1500.0f);
    EXPECT_EQ(NoteDomain::frequency(-1500.0f), 0.0f);
    EXPECT_TRUE(std::isfinite(NoteDomain::frequency(1500.0f)));
}
