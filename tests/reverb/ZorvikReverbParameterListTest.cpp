#include "GenericTemplates.h"
#include "ZorvikReverbParameterList.h"

#include "Common/Parameters/NoteDomain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

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

    // The product's parameter table, as the host, presets and controls know it.
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

    double note(double frequency) { return 12.0 * std::log2(frequency / 8.175799); }
    double frequency(double note) { return 8.175799 * std::pow(2.0, note / 12.0); }
}

TEST(ZorvikReverbParameterList, RowsMatchTheProductTable)
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
        EXPECT_TRUE(p.valueList.empty());
        EXPECT_EQ(p.choiceList, nullptr);
        EXPECT_EQ(p.intToText, nullptr);
        if (i == ZorvikReverbParameterList::DuckerMeter)
        {
            EXPECT_TRUE(p.isOutput);
            EXPECT_EQ(p.ramper, nullptr);
            continue;
        }
        EXPECT_FALSE(p.isOutput);
        EXPECT_NE(p.ramper, nullptr);
        EXPECT_EQ(p.minimum, row.minimum);
        EXPECT_EQ(p.maximum, row.maximum);
        EXPECT_EQ(p.defaultValue, row.defaultValue);
        EXPECT_EQ(p.unit, row.unit);
        EXPECT_EQ(p.flags, row.flags);
        EXPECT_EQ(p.scale, 1.0f);
        EXPECT_EQ(p.fromZeroToOne, row.from);
        EXPECT_EQ(p.toZeroToOne, row.to);
    }
}

TEST(ZorvikReverbParameterList, FavouritesAreTheTailControls)
{
    ZorvikReverbParameterList list;
    const std::vector<unsigned long> expected{8, 9, 11, 12};
    EXPECT_EQ(list.getFavourites(), expected);
    EXPECT_TRUE(list.getUnrandomizable().empty());
}

TEST(ValueCurves, CubicCurveAndItsInverse)
{
    EXPECT_NEAR(T::powThree(0, 200, 0.5f), 25.0, 1e-5);
    EXPECT_NEAR(T::invertPowThree(0, 200, 10), std::cbrt(10.0 / 200.0), 1e-6);
    EXPECT_NEAR(T::powThree(0.2f, 30, 0.5f), 0.125 * 29.8 + 0.2, 1e-5);
    EXPECT_NEAR(T::invertPowThree(0.2f, 30, 3.2f), std::cbrt(3.0 / 29.8), 1e-6);
    EXPECT_NEAR(T::invertPowThree(800, 18000, 9000), std::cbrt(8200.0 / 17200.0), 1e-6);
    // Out of range positions and values are held at the ends.
    EXPECT_EQ(T::powThree(0, 200, -1), 0.0f);
    EXPECT_EQ(T::powThree(0, 200, 2), 200.0f);
    EXPECT_EQ(T::invertPowThree(0, 200, -5), 0.0f);
    EXPECT_NEAR(T::invertPowThree(0, 200, 500), 1.0, 1e-6);
    for (float x = 0.0f; x <= 1.0f; x += 0.0625f)
        EXPECT_NEAR(T::invertPowThree(0.2f, 30, T::powThree(0.2f, 30, x)), x, 2e-5);
}

TEST(ValueCurves, SignedCubicIsCentredOnZero)
{
    EXPECT_NEAR(T::signedPowThree(-100, 100, 0.75f), 12.5, 1e-5);
    EXPECT_NEAR(T::signedPowThree(-100, 100, 0.0f), -100.0, 1e-4);
    EXPECT_NEAR(T::signedPowThree(-100, 100, 0.5f), 0.0, 1e-6);
    EXPECT_NEAR(T::invertSignedPowThree(-100, 100, -100), 0.0, 1e-6);
    EXPECT_NEAR(T::invertSignedPowThree(-100, 100, 0), 0.5, 1e-6);
    EXPECT_NEAR(T::invertSignedPowThree(-100, 100, 100), 1.0, 1e-6);
    EXPECT_NEAR(T::invertSignedPowThree(-100, 100, -12.5f), 0.25, 1e-6);
    for (float x = 0.0f; x <= 1.0f; x += 0.0625f)
        EXPECT_NEAR(T::invertSignedPowThree(-100, 100, T::signedPowThree(-100, 100, x)), x, 2e-5);
}

TEST(ValueCurves, FrequencyCurveIsEvenInPitch)
{
    EXPECT_NEAR(T::ratioToFrequencies(20, 20000, 0), 20.0, 1e-3);
    EXPECT_NEAR(T::ratioToFrequencies(20, 20000, 1), 20000.0, 0.5);
    for (const double x : {0.1, 0.25, 0.5, 0.9})
    {
        const double expected = frequency(note(20) + x * (note(20000) - note(20)));
        EXPECT_NEAR(T::ratioToFrequencies(20, 20000, static_cast<float>(x)), expected, expected * 1e-5);
    }
    EXPECT_NEAR(T::ratioToFrequencies(20, 20000, 0.5f), std::sqrt(20.0 * 20000.0), 0.01);
    EXPECT_NEAR(T::ratioToFrequencies(20, 20000, -3), 20.0, 1e-3);
    EXPECT_NEAR(T::ratioToFrequencies(20, 20000, 3), 20000.0, 0.5);
    EXPECT_NEAR(T::frequenciesToRatio(20, 20000, 400), (note(400) - note(20)) / (note(20000) - note(20)), 1e-6);
    EXPECT_NEAR(T::frequenciesToRatio(20, 20000, 5), 0.0, 1e-6);
    EXPECT_NEAR(T::frequenciesToRatio(20, 20000, 1e6f), 1.0, 1e-6);
}
