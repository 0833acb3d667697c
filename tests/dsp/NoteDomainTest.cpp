#include "Common/Parameters/NoteDomain.h"
#include "Common/Parameters/ParameterUnit.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(NoteDomain, MatchesTheMidiNoteScale)
{
    for (double f : {8.175799, 20.0, 440.0, 1000.0, 20000.0})
    {
        const double expected = 12.0 * std::log2(f / 8.175799);
        EXPECT_NEAR(NoteDomain::note(static_cast<float>(f)), expected, 2e-4) << f;
    }
    EXPECT_NEAR(NoteDomain::note(440.0f), 69.0f, 1e-4);
    for (double n : {-20.0, 0.0, 69.0, 135.0})
    {
        const double expected = 8.175799 * std::pow(2.0, n / 12.0);
        EXPECT_NEAR(NoteDomain::frequency(static_cast<float>(n)), expected, expected * 2e-6) << n;
    }
}

TEST(NoteDomain, RoundTripsAcrossTheAudibleRange)
{
    for (float f = 1.0f; f < 100000.0f; f *= 1.37f)
        EXPECT_NEAR(NoteDomain::frequency(NoteDomain::note(f)), f, f * 1e-5) << f;
    for (float n = -100.0f; n < 200.0f; n += 7.3f)
        EXPECT_NEAR(NoteDomain::note(NoteDomain::frequency(n)), n, 1e-3) << n;
}

TEST(NoteDomain, HandlesTheEdges)
{
    EXPECT_EQ(NoteDomain::note(0.0f), -1500.0f);
    EXPECT_EQ(NoteDomain::note(-5.0f), -1500.0f);
    EXPECT_EQ(NoteDomain::frequency(-1500.0f), 0.0f);
    EXPECT_EQ(NoteDomain::frequency(-3000.0f), 0.0f);
    EXPECT_EQ(NoteDomain::frequency(1500.0f), 3.282408e38f);
    EXPECT_TRUE(std::isfinite(NoteDomain::frequency(1499.0f)));
}

TEST(ParameterUnit, GivesTheDisplaySuffix)
{
    EXPECT_EQ(parameterUnitSuffix(ParameterUnit::hertz), "Hz");
    EXPECT_EQ(parameterUnitSuffix(ParameterUnit::decibels), "dB");
    EXPECT_EQ(parameterUnitSuffix(ParameterUnit::phase), "\xC2\xB0");
    EXPECT_EQ(parameterUnitSuffix(ParameterUnit::rate), "");
    EXPECT_EQ(parameterUnitSuffix(static_cast<ParameterUnit>(14)), "");
}
