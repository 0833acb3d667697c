#include "GenericTemplates.h"
#include "ZorvikReverbParameterList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{
    using T = GenericTemplates;
    using Curve = Parameter::CurveFunction;

    struct Row
    {
        const char* name;
        float minimum, maximum, defaultValue;
        ParameterUnit unit;
        std::uint32_t flags;
        Curve from, to;
    };

    // The parameter table as hosts, stored projects, presets and controls know it.
    const Row table[] = {
        {"InputGain", -30, 12, 0, ParameterUnit::decibels, 0, nullptr, nullptr},
        {"InputFilterType", 0, 1, 0, ParameterUnit::boolean, 0, nullptr, nullptr},
        {"InputFilterGain", -24, 24, 0, ParameterUnit::decibels, 0, nullptr, nullptr},
        {"InputFilterFrequency", 20, 20000, 400, ParameterUnit::hertz, 0, T::ratioToFrequencies, T::frequenciesToRatio},
        {"PreDelay", 0, 200, 10, ParameterUnit::milliseconds, 0, T::powThree, T::invertPowThree},
        {"RoomSize", 0, 100, 50, ParameterUnit::percent, 0, nullptr, nullptr},
        {"SizeModulationRate", 0.5f, 12.5f, 1, ParameterUnit::rate, 0, nullptr, nullptr},
        {"SizeModulationAmount", 0, 100, 25, ParameterUnit::percent, 0, nullptr, nullptr},
        {"ReverbTime", 0.2f, 30, 3.2f, ParameterUnit::seconds, 0, T::powThree, T::invertPowThree},
        {"HFDamp", 800, 18000, 9000, ParameterUnit::hertz, 4, T::powThree, T::invertPowThree},
        {"Freeze", 0, 1, 0, ParameterUnit::boolean, 0, nullptr, nullptr},
        {"FreqShifterFrequency", -100, 100, -100, static_cast<ParameterUnit>(13), 0, T::signedPowThree,
         T::invertSignedPowThree},
        {"FreqShifterDryWet", 0, 100, 0, ParameterUnit::percent, 0, nullptr, nullptr},
        {"DuckingThreshold", -90, 0, -10, ParameterUnit::decibels, 0, nullptr, nullptr},
        {"DuckingAttack", 1, 200, 20, ParameterUnit::milliseconds, 0, nullptr, nullptr},
        {"DuckingRelease", 10, 1000, 100, ParameterUnit::milliseconds, 0, nullptr, nullptr},
        {"DuckerMeter", 0, 0, 0, ParameterUnit::number, 0, nullptr, nullptr},
        {"EffectDryWet", 0, 100, 50, ParameterUnit::percent, 0, nullptr, nullptr},
    };
}

TEST(ZorvikReverbParameterList, RowsMatchTheParameterTable)
{
    ZorvikReverbParameterList list;
    ASSERT_EQ(list.size(), 18u);
    for (std::size_t i = 0; i < list.size(); ++i)
    {
        const Parameter& p = *list[i];
        const Row& row = table[i];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(p.identifier, static_cast<int>(i));
        EXPECT_EQ(p.name, row.name);
        EXPECT_EQ(p.isOutput, i == ZorvikReverbParameterList::DuckerMeter);
        EXPECT_EQ(p.ramper == nullptr, p.isOutput);
        if (p.isOutput)
            continue;
        EXPECT_EQ(p.minimum, row.minimum);
        EXPECT_EQ(p.maximum, row.maximum);
        EXPECT_EQ(p.defaultValue, row.defaultValue);
        EXPECT_EQ(p.unit, row.unit);
        EXPECT_EQ(p.flags, row.flags);
        EXPECT_EQ(p.fromZeroToOne, row.from);
        EXPECT_EQ(p.toZeroToOne, row.to);
    }
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
