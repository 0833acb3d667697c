// The edit controller as a host's generic editor and a validator see it:
// parameter infos, conversions, value texts both ways, units and program lists.
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
} // namespace

TEST(Controller, PublishesSeventeenParametersAndTheBypass)
{
    PluginInstance plugin;
    const auto& table = hostParameters();
    ASSERT_EQ(plugin.controller->getParameterCount(), static_cast<int32>(table.size() + 1));

    std::set<Vst::ParamID> ids;
    for (int32 i = 0; i < plugin.controller->getParameterCount(); ++i)
    {
        Vst::ParameterInfo info {};
        ASSERT_EQ(plugin.controller->getParameterInfo(i, info), kResultOk);
        EXPECT_TRUE(ids.insert(info.id).second) << "duplicate ID " << info.id;
        EXPECT_EQ(info.unitId, Vst::kRootUnitId);
        EXPECT_FALSE(info.flags & Vst::ParameterInfo::kIsReadOnly);
        EXPECT_TRUE(info.flags & Vst::ParameterInfo::kCanAutomate);
        EXPECT_FALSE(toAscii(info.shortTitle).empty());
        EXPECT_GE(info.defaultNormalizedValue, 0.0);
        EXPECT_LE(info.defaultNormalizedValue, 1.0);
        EXPECT_NEAR(plugin.controller->getParamNormalized(info.id), info.defaultNormalizedValue, 1e-6);

        if (i == static_cast<int32>(table.size()))
        {
            EXPECT_EQ(toAscii(info.title), "Bypass");
            EXPECT_TRUE(info.flags & Vst::ParameterInfo::kIsBypass);
            EXPECT_EQ(info.stepCount, 1);
            EXPECT_EQ(info.defaultNormalizedValue, 0.0);
            continue;
        }
        const auto& p = table[static_cast<size_t>(i)];
        EXPECT_EQ(toAscii(info.title), p.id);
        EXPECT_FALSE(info.flags & Vst::ParameterInfo::kIsBypass) << p.id;
        EXPECT_EQ(info.stepCount, p.curve == Curve::toggle ? 1 : 0) << p.id;
        EXPECT_NEAR(info.defaultNormalizedValue, normalised(p, p.defaultValue), 1e-5) << p.id;
    }
}

TEST(Controller, ConvertsBetweenNormalisedAndPlainBothWays)
{
    PluginInstance plugin;
    for (int32 i = 0; i < plugin.controller->getParameterCount(); ++i)
    {
        Vst::ParameterInfo info {};
        plugin.controller->getParameterInfo(i, info);
        for (double x = 0.0; x <= 1.0; x += 0.125)
        {
            const auto plain = plugin.controller->normalizedParamToPlain(info.id, x);
            EXPECT_TRUE(std::isfinite(plain));
            EXPECT_NEAR(plugin.controller->plainParamToNormalized(info.id, plain), x, 1e-9) << toAscii(info.title);
        }
    }
}

TEST(Controller, ValueTextsRoundTripForEveryParameter)
{
    PluginInstance plugin;
    for (int32 i = 0; i < plugin.controller->getParameterCount(); ++i)
    {
        Vst::ParameterInfo info {};
        plugin.controller->getParameterInfo(i, info);
        const auto title = toAscii(info.title);
        std::vector<double> positions { info.defaultNormalizedValue };
        for (double x = 0.0; x <= 1.0001; x += 0.05)
            positions.push_back(std::min(x, 1.0));
        for (double x : positions)
        {
            const auto shown = text(plugin, info.id, x);
            ASSERT_FALSE(shown.empty()) << title << " at " << x;
            const auto read = fromText(plugin, info.id, shown);
            ASSERT_TRUE(read.has_value()) << title << " cannot read its own text " << shown;
            ASSERT_GE(*read, 0.0);
            ASSERT_LE(*read, 1.0);
            EXPECT_EQ(text(plugin, info.id, *read), shown) << title << " at " << x;
            if (info.stepCount == 1)
            {
                EXPECT_EQ(*read, shown == "On" ? 1.0 : 0.0) << title << " " << shown;
            }
            else if (i < static_cast<int32>(hostParameters().size()))
            {
                // The text shows the value to 0.01; reading it back lands within that.
                const auto& p = hostParameters()[static_cast<size_t>(i)];
                EXPECT_NEAR(plainValue(p, *read), plainValue(p, x), 0.0051 + 1e-6 * p.maximum) << title << " " << shown;
            }
        }
    }
}

TEST(Controller, OddTextsGiveNoValueOrOneInRange)
{
    PluginInstance plugin;
    const std::vector<std::string> odd { "",     " ",    "abc",   "nan",  "NaN",  "-nan", "inf",  "-inf", "1e30",
                                         "-1e30", "1e-30", "3,5", "--1", "0x10", "  12  ", "12 dB", std::string(127, '9'),
                                         "On",   "off",  "true" };
    for (int32 i = 0; i < plugin.controller->getParameterCount(); ++i)
    {
        Vst::ParameterInfo info {};
        plugin.controller->getParameterInfo(i, info);
        for (const auto& s : odd)
        {
            const auto read = fromText(plugin, info.id, s);
            if (!read)
                continue;
            EXPECT_TRUE(std::isfinite(*read)) << toAscii(info.title) << " from \"" << s << "\"";
            EXPECT_GE(*read, 0.0) << toAscii(info.title) << " from \"" << s << "\"";
            EXPECT_LE(*read, 1.0) << toAscii(info.title) << " from \"" << s << "\"";
        }
        // Texts for values outside 0..1 do not break either.
        for (double x : { -1.0, 2.0, 1e300 })
            EXPECT_FALSE(text(plugin, info.id, x).empty());
    }
}

TEST(Controller, SetParamNormalizedKeepsValuesInRange)
{
    PluginInstance plugin;
    for (int32 i = 0; i < plugin.controller->getParameterCount(); ++i)
    {
        Vst::ParameterInfo info {};
        plugin.controller->getParameterInfo(i, info);
        for (double x : { 0.3, -4.0, 7.0, 1.0, 0.0 })
        {
            plugin.controller->setParamNormalized(info.id, x);
            const auto now = plugin.controller->getParamNormalized(info.id);
            EXPECT_GE(now, 0.0);
            EXPECT_LE(now, 1.0);
        }
    }
}

TEST(Controller, UnitsAndProgramListsAreNamed)
{
    PluginInstance plugin;
    for (FUnknown* side : { static_cast<FUnknown*>(plugin.controller), static_cast<FUnknown*>(plugin.component) })
    {
        void* object = nullptr;
        ASSERT_EQ(side->queryInterface(Vst::IUnitInfo::iid, &object), kResultOk);
        auto* units = static_cast<Vst::IUnitInfo*>(object);
        ASSERT_GE(units->getUnitCount(), 1);
        Vst::UnitInfo root {};
        ASSERT_EQ(units->getUnitInfo(0, root), kResultOk);
        EXPECT_EQ(root.id, Vst::kRootUnitId);
        EXPECT_FALSE(toAscii(root.name).empty());

        for (int32 list = 0; list < units->getProgramListCount(); ++list)
        {
            Vst::ProgramListInfo info {};
            ASSERT_EQ(units->getProgramListInfo(list, info), kResultOk);
            EXPECT_FALSE(toAscii(info.name).empty());
            ASSERT_GE(info.programCount, 1);
            for (int32 program = 0; program < info.programCount; ++program)
            {
                Vst::String128 name {};
                ASSERT_EQ(units->getProgramName(info.id, program, name), kResultOk);
                EXPECT_FALSE(toAscii(name).empty()) << "program " << program << " of list " << list;
            }
        }
        units->release();
    }
}
