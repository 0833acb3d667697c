// The factory presets against their table.
#include "PluginTestSupport.h"

#include <BinaryData.h>

#include <array>

using namespace zorvik_test;

namespace
{
struct FactoryRow
{
    const char* name;
    std::array<float, 17> values; // in host parameter order
};

// Plain values of the factory presets, one column per host parameter.
const FactoryRow factoryTable[] = {
    {"BEHIND", {-14.735067f, 0.0f, 3.7158024f, 154.22f, 0.0f, 43.83334f, 1.9702231f, 0.0f, 10.396405f, 1427.77f, 0.0f, -100.0f, 0.0f, -21.299995f, 20.0f, 100.0f, 32.346256f}},
    {"BRIGHT", {1.5f, 1.0f, 4.0f, 1000.0f, 37.0f, 41.0f, 4.0f, 35.0f, 1.3f, 12517.0f, 0.0f, -100.0f, 0.0f, -18.0f, 20.0f, 200.0f, 48.0f}},
    {"CATHEDRAL", {1.0f, 0.0f, 2.0f, 400.0f, 30.0f, 41.5f, 1.0f, 59.0f, 10.0f, 5200.0f, 0.0f, -100.0f, 0.0f, -6.0f, 20.0f, 400.0f, 60.0f}},
    {"CHORUS", {5.0f, 1.0f, 0.0f, 800.0f, 6.8f, 28.5f, 1.66f, 100.0f, 0.3f, 2000.0f, 0.0f, -100.0f, 0.0f, 0.0f, 20.0f, 100.0f, 45.0f}},
    {"EMPTY VENUE", {5.8f, 0.0f, 0.0f, 100.0f, 67.0f, 42.9f, 0.5f, 42.9f, 0.647f, 18000.0f, 0.0f, -100.0f, 0.0f, -23.0f, 20.0f, 100.0f, 65.0f}},
    {"FAR AWAY", {6.0f, 1.0f, -3.0f, 100.0f, 100.0f, 74.0f, 1.66f, 50.0f, 1.2f, 6000.0f, 0.0f, -100.0f, 0.0f, -18.0f, 7.0f, 60.0f, 46.0f}},
    {"FLANGED", {1.0f, 0.0f, 3.0f, 300.0f, 12.0f, 0.7f, 0.52f, 96.0f, 0.4f, 5400.0f, 0.0f, -100.0f, 0.0f, -10.0f, 10.0f, 80.0f, 40.0f}},
    {"FREEZE", {-6.128956f, 0.0f, -16.700695f, 901.74f, 8.0f, 68.666664f, 1.0f, 0.0f, 4.2819986f, 17999.99f, 1.0f, -100.0f, 0.0f, -10.0f, 20.0f, 100.0f, 50.0f}},
    {"HALL", {0.0f, 1.0f, 1.0f, 100.0f, 8.0f, 47.7f, 0.625f, 7.0f, 2.9f, 18000.0f, 0.0f, -100.0f, 0.0f, -15.0f, 20.0f, 100.0f, 31.0f}},
    {"HEAVY BOUNCING", {0.0f, 0.0f, -3.0f, 400.0f, 8.0f, 13.833334f, 12.5f, 100.0f, 0.8471395f, 9000.0f, 0.0f, -100.0f, 0.0f, -21.249992f, 20.0f, 100.0f, 50.0f}},
    {"HIGH VOICES", {0.044992447f, 1.0f, 14.005716f, 992.06f, 0.0f, 15.500005f, 0.51084024f, 100.0f, 19.907522f, 17999.99f, 0.0f, -100.0f, 0.0f, 0.0f, 20.0f, 100.0f, 32.346256f}},
    {"HUGE", {-2.6f, 0.0f, -3.0f, 80.0f, 70.0f, 100.7f, 0.5f, 100.0f, 7.0f, 7300.0f, 0.0f, -100.0f, 0.0f, 0.0f, 12.0f, 191.0f, 53.0f}},
    {"INIFINITE", {1.0f, 1.0f, -6.0f, 1000.0f, 0.0f, 52.7f, 0.71f, 5.3f, 30.0f, 7300.0f, 0.0f, -100.0f, 0.0f, -17.2f, 12.0f, 191.0f, 53.0f}},
    {"LARGE FACTORY", {0.0f, 0.0f, 3.5f, 200.0f, 72.0f, 91.7f, 0.7f, 12.0f, 6.9f, 10000.0f, 0.0f, -100.0f, 0.0f, -12.0f, 20.0f, 200.0f, 31.0f}},
    {"LATE REFLECTIONS", {0.0f, 0.0f, -1.5f, 1000.0f, 67.0f, 37.7f, 0.95f, 64.0f, 0.375f, 18000.0f, 0.0f, -100.0f, 0.0f, -3.0f, 20.0f, 200.0f, 49.0f}},
    {"LAZERS", {0.0f, 1.0f, 3.7158024f, 484.86f, 8.0f, 0.0f, 11.172904f, 100.0f, 1.2860627f, 17999.99f, 0.0f, -100.0f, 0.0f, -10.0f, 20.0f, 100.0f, 74.99621f}},
    {"LIGHT DUCKER", {0.0f, 1.0f, -1.6741527f, 520.85f, 8.0f, 50.0f, 1.0f, 25.0f, 0.57454264f, 9000.0f, 0.0f, -100.0f, 0.0f, -27.400005f, 10.058502f, 37.08225f, 75.60261f}},
    {"METAL BOX", {0.0f, 1.0f, 3.0f, 1000.0f, 30.0f, 3.5f, 0.5f, 1.0f, 0.8f, 5100.0f, 0.0f, -100.0f, 0.0f, -22.5f, 20.0f, 100.0f, 65.0f}},
    {"METALLIC", {0.0f, 0.0f, -3.0f, 400.0f, 8.0f, 0.0f, 1.0f, 25.0f, 1.2860627f, 9000.0f, 0.0f, -100.0f, 0.0f, -10.0f, 20.0f, 100.0f, 50.0f}},
    {"NEW AREA", {0.0f, 0.0f, -3.0f, 400.0f, 8.0f, 50.0f, 1.0f, 25.0f, 0.7924914f, 17999.99f, 0.0f, -100.0f, 0.0f, -20.350006f, 20.0f, 100.0f, 50.0f}},
    {"NUCLEAR PLANT", {-4.8f, 0.0f, 0.0f, 100.0f, 56.0f, 42.9f, 0.5f, 71.3f, 6.2f, 6910.0f, 0.0f, -100.0f, 0.0f, 0.0f, 20.0f, 100.0f, 42.0f}},
    {"PLATE", {4.5f, 0.0f, -3.5f, 500.0f, 29.0f, 47.5f, 0.71f, 90.0f, 3.6f, 6000.0f, 0.0f, -100.0f, 0.0f, -16.0f, 1.0f, 50.0f, 34.0f}},
    {"ROOM", {0.0f, 1.0f, 3.0f, 200.0f, 14.0f, 28.7f, 1.25f, 1.5f, 0.4f, 4300.0f, 0.0f, -100.0f, 0.0f, 0.0f, 20.0f, 100.0f, 65.0f}},
    {"STAGE", {0.0f, 0.0f, -6.0f, 2000.0f, 19.0f, 63.5f, 0.71f, 36.0f, 2.8f, 7300.0f, 0.0f, -100.0f, 0.0f, 0.0f, 20.0f, 100.0f, 40.0f}},
    {"STRANGER", {6.0f, 1.0f, 3.0f, 1000.0f, 29.0f, 61.0f, 3.33f, 85.0f, 4.4f, 3000.0f, 0.0f, -100.0f, 0.0f, -16.0f, 20.0f, 100.0f, 46.0f}},
    {"TOO LATE", {6.5931168f, 0.0f, -3.0f, 400.0f, 138.61687f, 85.333336f, 0.51084024f, 100.0f, 0.27746946f, 17999.99f, 0.0f, -100.0f, 0.0f, -20.350006f, 20.0f, 100.0f, 57.612812f}},
    {"UNDERWATER", {8.0f, 0.0f, 9.0f, 200.0f, 98.0f, 64.7f, 1.25f, 17.0f, 1.1f, 800.0f, 0.0f, -100.0f, 0.0f, -65.0f, 2.0f, 550.0f, 53.0f}},
    {"VIBRANT TAILS", {0.6f, 1.0f, 3.0f, 750.0f, 40.0f, 90.7f, 4.34f, 100.0f, 2.0f, 18000.0f, 0.0f, -100.0f, 0.0f, 0.0f, 20.0f, 100.0f, 30.0f}},
};

const float defaults[17] = { 0, 0, 0, 400, 10, 50, 1, 25, 3.2f, 9000, 0, -100, 0, -10, 20, 100, 50 };

} // namespace

// The archive's presets as the processor lists them, against the table; the
// archive itself is checked byte for byte against its script below.
TEST(FactoryPresets, TheProcessorListsDefaultAndTheTwentyEightByName)
{
    ScopedHome home;
    ReverbProcessor processor;
    const auto& factory = processor.presetLists[1];
    const auto ids = hostParameterIds(processor);
    ASSERT_EQ(factory.size(), 29u);
    EXPECT_EQ(factory.front()->name, "DEFAULT");
    EXPECT_EQ(factory.back()->name, "VIBRANT TAILS");
    for (int column = 0; column < 17; ++column)
        EXPECT_FLOAT_EQ(treeValue(factory.front()->state, ids[column]), defaults[column]);

    for (size_t i = 1; i < factory.size(); ++i)
    {
        const auto& row = factoryTable[i - 1];
        ASSERT_EQ(factory[i]->name, row.name) << "in alphabetical order";
        EXPECT_FALSE(factory[i]->isUser);
        for (int column = 0; column < 17; ++column)
        {
            // A stored value outside its parameter's range (HUGE's room size of
            // 100.7) takes effect as the range's end.
            const auto& id = ids[column];
            const auto range = hostParameter(processor, id).getNormalisableRange();
            const float expected = juce::jlimit(range.start, range.end, row.values[static_cast<size_t>(column)]);
            EXPECT_FLOAT_EQ(treeValue(factory[i]->state, id), expected) << row.name << " " << id;
        }
    }
}

// The committed archive is what its script writes, byte for byte.
TEST(FactoryPresets, TheArchiveScriptIsReproducible)
{
    const juce::File source(ZORVIK_SOURCE_DIR);
    const auto output = juce::File::createTempFile(".zip");
    juce::ChildProcess python;
    const juce::StringArray command { "python3", source.getChildFile("tools/make_factory_presets.py").getFullPathName(),
                                      output.getFullPathName() };
    if (!python.start(command))
        GTEST_SKIP() << "python3 is not available";
    python.readAllProcessOutput();
    ASSERT_TRUE(python.waitForProcessToFinish(60000));
    ASSERT_EQ(python.getExitCode(), 0u);
    juce::MemoryBlock written;
    ASSERT_TRUE(output.loadFileAsData(written));
    output.deleteFile();
    EXPECT_EQ(written, juce::MemoryBlock(BinaryData::Presets_zip, static_cast<size_t>(BinaryData::Presets_zipSize)));
}
