#include "ZorvikReverbParameterList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

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
        EXPECT_EQ(p.isOutput, i == 16);
        EXPECT_EQ(p.ramper == nullptr, p.isOutput);
    }
    EXPECT_EQ(list[16]->name, "DuckerMeter");
    EXPECT_EQ(list[9]->name, "HFDamp");
    EXPECT_EQ(list[9]->unit, ParameterUnit::hertz);
    EXPECT_EQ(list[9]->flags, ParameterFlag::linearFrequency);
    EXPECT_EQ(list.getFavourites(), (std::vector<unsigned long>{8, 9, 11, 12}));
    EXPECT_TRUE(list.getUnrandomizable().empty());
}

// The curves each row carries, at the positions a user sees, and back.
TEST(ZorvikReverbParameterList, ValueCurvesPlaceTheControlsWhereTheUserExpectsThem)
{
    ZorvikReverbParameterList list;
    struct Case { const char* name; float position; float value; float tolerance; };
    const Case cases[] = {
        {"PreDelay", 0.5f, 25.0f, 1e-4f},       {"PreDelay", 0.3684f, 10.0f, 2e-3f},
        {"ReverbTime", 0.5f, 3.925f, 1e-4f},    {"ReverbTime", 0.4652f, 3.2f, 2e-3f},
        {"HFDamp", 0.7812f, 9000.0f, 1.0f},     {"InputFilterFrequency", 0.0f, 20.0f, 1e-3f},
        {"InputFilterFrequency", 0.25f, 112.47f, 0.01f}, {"InputFilterFrequency", 0.5f, 632.46f, 0.05f},
        {"InputFilterFrequency", 1.0f, 20000.0f, 0.5f},  {"FreqShifterFrequency", 0.75f, 12.5f, 1e-4f},
        {"FreqShifterFrequency", 0.0f, -100.0f, 1e-4f},  {"FreqShifterFrequency", 0.5f, 0.0f, 1e-4f},
        {"FreqShifterFrequency", 1.0f, 100.0f, 1e-4f},
    };
    auto row = [&](const std::string& name) -> const Parameter& {
        for (const Parameter* p : list)
            if (p->name == name)
                return *p;
        throw std::out_of_range(name);
    };
    for (const Case& c : cases)
    {
        const Parameter& p = row(c.name);
        SCOPED_TRACE(testing::Message() << c.name << " at " << c.position);
        ASSERT_NE(p.fromZeroToOne, nullptr);
        EXPECT_NEAR(p.fromZeroToOne(p.minimum, p.maximum, c.position), c.value, c.tolerance);
        EXPECT_NEAR(p.toZeroToOne(p.minimum, p.maximum, c.value), c.position, 2e-4);
    }
    // Positions outside [0, 1] and values outside the range are held at the ends.
    const Parameter& frequency = row("InputFilterFrequency");
    EXPECT_NEAR(frequency.fromZeroToOne(20, 20000, -1.0f), 20.0f, 1e-3f);
    EXPECT_NEAR(frequency.fromZeroToOne(20, 20000, 2.0f), 20000.0f, 0.5f);
    EXPECT_NEAR(frequency.toZeroToOne(20, 20000, 1e6f), 1.0f, 1e-6f);
    EXPECT_EQ(row("PreDelay").toZeroToOne(0, 200, -5.0f), 0.0f);
    for (const char* linear : {"InputGain", "RoomSize", "EffectDryWet"})
        EXPECT_EQ(row(linear).fromZeroToOne, nullptr) << linear;
}
