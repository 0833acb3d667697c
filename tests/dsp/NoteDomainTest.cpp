#include "Common/Parameters/NoteDomain.h"

#include <gtest/gtest.h>

#include <cmath>

// MIDI note numbers: 440 Hz is note 69, 12 notes an octave; nothing below 0 Hz
// and nothing past the float range.
TEST(NoteDomain, FollowsTheMidiNoteScaleRoundTripsAndHoldsItsEnds)
{
    for (float f = 1.0f; f < 100000.0f; f *= 1.37f)
    {
        EXPECT_NEAR(NoteDomain::note(f), 12.0 * std::log2(f / 440.0) + 69.0, 2e-4) << f;
        EXPECT_NEAR(NoteDomain::frequency(NoteDomain::note(f)), f, f * 1e-5) << f;
    }
    EXPECT_NEAR(NoteDomain::note(440.0f), 69.0f, 1e-4f);
    for (float silent : {0.0f, -5.0f, NAN})
        EXPECT_EQ(NoteDomain::note(silent), -1500.0f) << silent;
    EXPECT_EQ(NoteDomain::frequency(-1500.0f), 0.0f);
    EXPECT_EQ(NoteDomain::frequency(-2000.0f), 0.0f);
    EXPECT_EQ(NoteDomain::frequency(1500.0f), 3.282408e38f);
    EXPECT_EQ(NoteDomain::frequency(INFINITY), 3.282408e38f);
}
