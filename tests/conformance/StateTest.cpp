// The component state as hosts store it in projects: a round trip between two
// instances gives the same sound, and hostile values never reach it. Broken
// blocks are tried in-process, in the hostile input tests.
#include "ParameterTable.h"
#include "PluginModule.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Steinberg;
using namespace conformance;

namespace
{
// Moves every parameter away from its default, as a user's project would.
void setUnusualValues(PluginInstance& plugin)
{
    ParameterChanges changes;
    double x = 0.13;
    for (const auto& p : hostParameters())
    {
        const double value = p.curve == Curve::toggle ? 1.0 - normalised(p, p.defaultValue) : x;
        changes.add(plugin.parameterId(p.id), 0, p.id == "Freeze" ? 0.0 : value);
        x = std::fmod(x + 0.37, 1.0);
    }
    ASSERT_EQ(plugin.flush(changes), kResultOk);
}

std::vector<std::vector<float>> render(PluginInstance& plugin, int blocks)
{
    std::vector<std::vector<float>> result;
    AudioBlock block(2, 512);
    for (int i = 0; i < blocks; ++i)
    {
        block.fillNoise(static_cast<unsigned>(100 + i), i < blocks / 2 ? 0.5f : 0.0f);
        EXPECT_EQ(plugin.process(block), kResultOk);
        result.push_back(block.output[0]);
        result.push_back(block.output[1]);
    }
    return result;
}
} // namespace

TEST(State, RoundTripBetweenInstancesGivesTheSameSound)
{
    PluginInstance source;
    source.start(48000.0, 512);
    setUnusualValues(source);
    render(source, 8); // the ramps reach their targets
    const auto saved = source.getState();
    ASSERT_FALSE(saved.empty());

    // The host restores a project: the new instance gets the state before it is activated.
    PluginInstance restored;
    ASSERT_EQ(restored.setState(saved), kResultOk);
    EXPECT_EQ(restored.getState(), saved);
    // The controller shows the restored values.
    for (const auto& p : hostParameters())
    {
        const auto id = restored.parameterId(p.id);
        EXPECT_NEAR(restored.controller->getParamNormalized(id), normalised(p, *stateValue(saved, p.id)), 1e-5)
            << p.id;
    }
    restored.start(48000.0, 512);

    // The source starts afresh at the same settings; both must now sound the same.
    source.stop();
    source.start(48000.0, 512);
    const auto expected = render(source, 40);
    const auto actual = render(restored, 40);
    ASSERT_EQ(expected.size(), actual.size());
    double energy = 0.0;
    for (size_t i = 0; i < expected.size(); ++i)
    {
        ASSERT_EQ(expected[i], actual[i]) << "block " << i / 2 << " channel " << i % 2;
        for (float s : expected[i])
            energy += static_cast<double>(s) * s;
    }
    EXPECT_GT(energy, 1.0);
}

// Non-finite or unreadable values take the default, not the value before the
// restore; finite ones are clamped; foreign entries are dropped.
TEST(State, HostileValuesAreClampedOrReplacedAndNeverReachTheSound)
{
    struct Entry
    {
        const char* id;
        const char* value;
        double expected;
    };
    const Entry entries[] = { { "ReverbTime", "nan", 3.2 },     { "DuckingRelease", "inf", 100.0 },
                              { "InputGain", "-inf", 0.0 },     { "InputFilterGain", "1e999", 0.0 },
                              { "PreDelay", "banana", 10.0 },   { "RoomSize", "1e30", 100.0 },
                              { "EffectDryWet", "-5", 0.0 },    { "DuckingThreshold", "-1000", -90.0 },
                              { "Freeze", "7", 1.0 } };
    std::string xml = "<Parameters PresetName=\"&lt;none&gt;\"><PARAM value=\"3\"/><PARAM id=\"HFDamp\"/>"
                      "<PARAM id=\"Unknown\" value=\"3\"/>";
    for (const auto& entry : entries)
        xml += std::string("<PARAM id=\"") + entry.id + "\" value=\"" + entry.value + "\"/>";
    xml += "</Parameters>";

    PluginInstance plugin;
    plugin.start(48000.0, 512);
    setUnusualValues(plugin);
    plugin.setState(binaryXml(xml));
    const auto state = plugin.getState();
    for (const auto& p : hostParameters())
    {
        const auto value = stateValue(state, p.id);
        ASSERT_TRUE(value.has_value()) << p.id;
        EXPECT_TRUE(std::isfinite(*value) && *value >= p.minimum && *value <= p.maximum) << p.id;
    }
    for (const auto& entry : entries)
        EXPECT_NEAR(stateValue(state, entry.id).value_or(-999.0), entry.expected, 1e-5) << entry.id;
    EXPECT_EQ(stateValue(state, "SizeModulationRate"), 1.0) << "missing entries hold the default";
    EXPECT_EQ(stateXml(state).find("Unknown"), std::string::npos);

    AudioBlock block(2, 512);
    for (int i = 0; i < 50; ++i)
    {
        block.fillNoise(static_cast<unsigned>(i));
        ASSERT_EQ(plugin.process(block), kResultOk);
        ASSERT_TRUE(block.outputIsClean());
    }
}
