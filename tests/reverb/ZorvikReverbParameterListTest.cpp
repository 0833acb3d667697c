#include "GenericTemplates.h"
#include "ZorvikReverbParameterList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{
    using T = GenericTemplates;
}

// Names, ranges and defaults are checked where the host sees them; here what
// only the engine sees: identifiers in table order, one output, ramps on the rest.
TEST(ZorvikReverbParameterList, IdentifiersFollowTheTableAndOnlyTheMeterIsAnOutput)
{
    ZorvikReverbParameterList list;
    ASSERT_EQ(list.size(), 18u);
    for (std::size_t i = 0; i < list.size(); ++i)
    {
        const Parameter& p = *list[i];
        SCOPED_TRACE(p.name);
        EXPECT_EQ(p.identifier, static_cast<int>(i));
        EXPECT_EQ(p.isOutput, i == ZorvikReverbParameterList::DuckerMeter);
        EXPECT_EQ(p.ramper == nullptr, p.isOutput);
    }
    EXPECT_EQ(list[ZorvikReverbParameterList::DuckerMeter]->name, "DuckerMeter");
    EXPECT_EQ(list.getFavourites(), (std::vector<unsigned long>{8, 9, 11, 12}));
}

// Each curve against its formula, positions out of range held at the ends,
// and each round trip.
TEST(ValueCurves, CurvesFollowTheirFormulasAndInvert)
{
    auto note = [](double f) { return std::log2(f / 8.175799); };
    for (const double x : {-1.0, 0.0, 0.1, 0.5, 0.75, 1.0, 2.0})
    {
        const double u = std::clamp(x, 0.0, 1.0);
        EXPECT_NEAR(T::powThree(0.2f, 30, float(x)), 0.2 + 29.8 * u * u * u, 1e-4) << x;
        EXPECT_NEAR(T::signedPowThree(-100, 100, float(u)), 100.0 * std::pow(2.0 * u - 1.0, 3.0), 1e-4) << x;
        const double f = 8.175799 * std::exp2(note(20) + u * (note(20000) - note(20)));
        EXPECT_NEAR(T::ratioToFrequencies(20, 20000, float(x)), f, f * 2e-5) << x;
    }
    EXPECT_EQ(T::invertPowThree(0, 200, -5), 0.0f);
    EXPECT_NEAR(T::frequenciesToRatio(20, 20000, 1e6f), 1.0, 1e-6);
    for (float x = 0.0f; x <= 1.0f; x += 0.0625f)
    {
        EXPECT_NEAR(T::invertPowThree(0.2f, 30, T::powThree(0.2f, 30, x)), x, 2e-5);
        EXPECT_NEAR(T::invertSignedPowThree(-100, 100, T::signedPowThree(-100, 100, x)), x, 2e-5);
        EXPECT_NEAR(T::frequenciesToRatio(20, 20000, T::ratioToFrequencies(20, 20000, x)), x, 2e-5);
    }
}
