// The edit controller as a host's generic editor and a validator see it:
// parameter infos and value texts both ways.
#include "ParameterTable.h"
#include "PluginModule.h"

#include <gtest/gtest.h>

#include <set>

using namespace Steinberg;
using namespace conformance;

namespace
{
std::string text(PluginInstance& plugin, Vst::ParamID id, double value)
{
    Vst::String128 result {};
    EXPECT_EQ(plugin.controller->getParamStringByValue(id, value, result), kResultOk);
    return toAscii(result);
}

// The normalised value the controller reads from a text, if it accepts it.
std::optional<double> fromText(PluginInstance& plugin, Vst::ParamID id, const std::string& s)
{
    auto wide = toUtf16(s);
    Vst::ParamValue value = -1.0;
    if (plugin.controller->getParamValueByString(id, wide.data(), value) != kResultOk)
        return std::nullopt;
    return value;
}

Vst::ParameterInfo info(PluginInstance& plugin, int32 index)
{
    Vst::ParameterInfo result {};
    EXPECT_EQ(plugin.controller->getParameterInfo(index, result), kResultOk);
    return result;
}
} // namespace

TEST(Controller, PublishesSeventeenParametersInOrderAndTheBypass)
{
    PluginInstance plugin;
    const auto& table = hostParameters();
    ASSERT_EQ(plugin.controller->getParameterCount(), static_cast<int32>(table.size() + 1));

    std::set<Vst::ParamID> ids;
    for (int32 i = 0; i < plugin.controller->getParameterCount(); ++i)
    {
        const auto p = info(plugin, i);
        EXPECT_TRUE(ids.insert(p.id).second) << "duplicate ID " << p.id;
        EXPECT_TRUE(p.flags & Vst::ParameterInfo::kCanAutomate);
        EXPECT_NEAR(plugin.controller->getParamNormalized(p.id), p.defaultNormalizedValue, 1e-6);
        const bool bypass = i == static_cast<int32>(table.size());
        EXPECT_EQ((p.flags & Vst::ParameterInfo::kIsBypass) != 0, bypass);
        if (bypass)
        {
            EXPECT_EQ(toAscii(p.title), "Bypass");
            EXPECT_EQ(p.defaultNormalizedValue, 0.0);
            continue;
        }
        const auto& row = table[static_cast<size_t>(i)];
        EXPECT_EQ(toAscii(p.title), row.id);
        EXPECT_EQ(p.stepCount, row.curve == Curve::toggle ? 1 : 0) << row.id;
        EXPECT_NEAR(p.defaultNormalizedValue, normalised(row, row.defaultValue), 1e-5) << row.id;
    }
    EXPECT_EQ(text(plugin, plugin.parameterId("ReverbTime"), normalised(table[8], 3.2)), "3.20");
    EXPECT_EQ(text(plugin, plugin.parameterId("Freeze"), 0.0), "Off");
    EXPECT_EQ(text(plugin, plugin.parameterId("Freeze"), 1.0), "On");
}

// The texts show plain values to 0.01, so reading them back checks each curve.
TEST(Controller, ValueTextsRoundTripAlongEachCurve)
{
    PluginInstance plugin;
    for (int32 i = 0; i < static_cast<int32>(hostParameters().size()); ++i)
    {
        const auto& p = hostParameters()[static_cast<size_t>(i)];
        const auto id = info(plugin, i).id;
        for (int step = 0; step <= 20; ++step)
        {
            const double x = step / 20.0;
            const auto shown = text(plugin, id, x);
            const auto read = fromText(plugin, id, shown);
            ASSERT_TRUE(read.has_value()) << p.id << " cannot read its own text " << shown;
            EXPECT_EQ(text(plugin, id, *read), shown) << p.id << " at " << x;
            EXPECT_NEAR(plainValue(p, *read), plainValue(p, x), 0.0051 + 1e-6 * p.maximum) << p.id << " " << shown;
        }
    }
}

TEST(Controller, OddTextsReadAsValuesInRange)
{
    PluginInstance plugin;
    const std::vector<std::string> odd { "",     "abc",  "nan",   "-nan",  "inf", "-inf", "1e30",
                                         "-1e30", "3,5", "0x10", "12 dB", std::string(127, '9') };
    for (int32 i = 0; i < plugin.controller->getParameterCount(); ++i)
    {
        const auto p = info(plugin, i);
        for (const auto& s : odd)
        {
            const auto read = fromText(plugin, p.id, s);
            if (read)
            {
                EXPECT_TRUE(*read >= 0.0 && *read <= 1.0) << toAscii(p.title) << " from \"" << s << "\"";
            }
        }
    }
}
