// The host parameters: order, kinds, ranges, defaults, curves and value texts.
#include "PluginTestSupport.h"

#include <cmath>

using namespace zorvik_test;

namespace
{
struct Row
{
    const char* id;
    float minimum, maximum, defaultValue;
};

const Row table[] = {
    { "InputGain", -30, 12, 0 },         { "InputFilterType", 0, 1, 0 },
    { "InputFilterGain", -24, 24, 0 },   { "InputFilterFrequency", 20, 20000, 400 },
    { "PreDelay", 0, 200, 10 },          { "RoomSize", 0, 100, 50 },
    { "SizeModulationRate", 0.5f, 12.5f, 1 }, { "SizeModulationAmount", 0, 100, 25 },
    { "ReverbTime", 0.2f, 30, 3.2f },    { "HFDamp", 800, 18000, 9000 },
    { "Freeze", 0, 1, 0 },               { "FreqShifterFrequency", -100, 100, -100 },
    { "FreqShifterDryWet", 0, 100, 0 },  { "DuckingThreshold", -90, 0, -10 },
    { "DuckingAttack", 1, 200, 20 },     { "DuckingRelease", 10, 1000, 100 },
    { "EffectDryWet", 0, 100, 50 },
};

class ParameterLayout : public ::testing::Test
{
protected:
    ScopedHome home;
    ReverbProcessor processor;
};
} // namespace

TEST_F(ParameterLayout, SeventeenHostParametersInTableOrderWithRangesAndDefaults)
{
    const auto& all = processor.getParameters();
    ASSERT_EQ(all.size(), 17);
    for (int i = 0; i < all.size(); ++i)
    {
        SCOPED_TRACE(table[i].id);
        auto* parameter = dynamic_cast<juce::RangedAudioParameter*>(all[i]);
        ASSERT_NE(parameter, nullptr);
        EXPECT_EQ(parameter->getParameterID(), table[i].id);
        EXPECT_EQ(parameter->getName(100), table[i].id);
        EXPECT_EQ(parameter->getLabel(), "");
        const auto& range = parameter->getNormalisableRange();
        EXPECT_FLOAT_EQ(range.start, table[i].minimum);
        EXPECT_FLOAT_EQ(range.end, table[i].maximum);
        EXPECT_NEAR(parameter->convertFrom0to1(parameter->getDefaultValue()), table[i].defaultValue,
                    1.0e-4 * std::max(1.0f, std::abs(table[i].defaultValue)));
        EXPECT_FLOAT_EQ(plainValue(processor, table[i].id), table[i].defaultValue);
    }
    EXPECT_EQ(processor.parameters.getParameter("DuckerMeter"), nullptr);
}

TEST_F(ParameterLayout, BooleansAreSwitchesAndTheOthersAreFloats)
{
    for (const auto& row : table)
    {
        auto& parameter = hostParameter(processor, row.id);
        const bool isSwitch = juce::String(row.id) == "InputFilterType" || juce::String(row.id) == "Freeze";
        EXPECT_EQ(dynamic_cast<juce::AudioParameterBool*>(&parameter) != nullptr, isSwitch) << row.id;
        if (!isSwitch)
        {
            EXPECT_FLOAT_EQ(parameter.getNormalisableRange().interval, 0.01f) << row.id;
        }
    }
    auto& freeze = hostParameter(processor, "Freeze");
    EXPECT_EQ(freeze.getText(0.0f, 10), "Off");
    EXPECT_EQ(freeze.getText(1.0f, 10), "On");
}

TEST_F(ParameterLayout, CurvedRangesFollowTheValueCurves)
{
    // The ranges themselves; the host parameters snap these to steps of 0.01.
    auto from = [&](const char* id, float x) {
        return hostParameter(processor, id).getNormalisableRange().convertFrom0to1(x);
    };
    auto to = [&](const char* id, float v) { return hostParameter(processor, id).convertTo0to1(v); };

    EXPECT_NEAR(from("PreDelay", 0.5f), 0.125 * 200.0, 1e-4);
    EXPECT_NEAR(from("ReverbTime", 0.5f), 0.125 * 29.8 + 0.2, 1e-4);
    EXPECT_NEAR(to("HFDamp", 9000.0f), std::cbrt((9000.0 - 800.0) / 17200.0), 1e-5);
    EXPECT_NEAR(from("InputFilterFrequency", 0.5f), std::sqrt(20.0 * 20000.0), 0.05);
    EXPECT_NEAR(from("InputFilterFrequency", 0.25f), 20.0 * std::pow(1000.0, 0.25), 0.02);
    EXPECT_NEAR(from("FreqShifterFrequency", 0.75f), 12.5, 1e-4);
    EXPECT_NEAR(from("FreqShifterFrequency", 0.0f), -100.0, 1e-4);
    EXPECT_NEAR(to("FreqShifterFrequency", 0.0f), 0.5, 1e-6);
    EXPECT_NEAR(hostParameter(processor, "ReverbTime").convertFrom0to1(0.5f), 3.925, 0.0051);
    // The linear rows stay linear.
    EXPECT_NEAR(from("RoomSize", 0.3f), 30.0, 1e-4);
    EXPECT_NEAR(from("DuckingThreshold", 0.5f), -45.0, 1e-4);
}

TEST_F(ParameterLayout, ValueTextsShowPlainValues)
{
    auto text = [&](const char* id, float plain) {
        auto& parameter = hostParameter(processor, id);
        return parameter.getText(parameter.convertTo0to1(plain), 20);
    };
    EXPECT_EQ(text("ReverbTime", 3.2f), "3.20");
    EXPECT_EQ(text("PreDelay", 25.0f), "25.00");
    EXPECT_EQ(text("DuckingThreshold", -45.0f), "-45.00");
    EXPECT_NEAR(hostParameter(processor, "ReverbTime").getValueForText("10"),
                hostParameter(processor, "ReverbTime").convertTo0to1(10.0f), 1e-6);
}

TEST_F(ParameterLayout, AHostChangeReachesTheKernelAsThePlainValue)
{
    setPlainValue(processor, "ReverbTime", 7.5f);
    setPlainValue(processor, "InputFilterFrequency", 1000.0f);
    EXPECT_NEAR(processor.kernel->getParameter(8), 7.5f, 1e-3);
    EXPECT_NEAR(processor.kernel->getParameter(3), 1000.0f, 0.5f);
}

TEST_F(ParameterLayout, IdentityOfTheProduct)
{
    EXPECT_EQ(processor.getName(), "ZORVIK Reverb");
    EXPECT_EQ(processor.productCode, "zrvkreverb");
    EXPECT_EQ(processor.presetExtension, "rbprs");
    EXPECT_FALSE(processor.acceptsMidi());
    EXPECT_FALSE(processor.producesMidi());
    EXPECT_TRUE(processor.hasEditor());
    EXPECT_EQ(processor.getNumPrograms(), 1);
    EXPECT_FALSE(processor.getProgramName(0).isEmpty());
    ASSERT_EQ(processor.getBusCount(true), 1);
    ASSERT_EQ(processor.getBusCount(false), 1);
    EXPECT_EQ(processor.getBus(true, 0)->getName(), "Input");
    EXPECT_EQ(processor.getBus(false, 0)->getName(), "Output");
    EXPECT_EQ(processor.getBus(true, 0)->getCurrentLayout(), juce::AudioChannelSet::stereo());
    EXPECT_STREQ(JucePlugin_Manufacturer, "ZORVIK");
    EXPECT_STREQ(JucePlugin_VersionString, "1.2.0");
}
