// Preset files, the user folder and preset selection.
#include "PluginTestSupport.h"

using namespace zorvik_test;

namespace
{
std::string presetFile(const std::vector<std::pair<std::string, std::string>>& pairs)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n";
    for (const auto& [key, value] : pairs)
        text += "\t<key>" + key + "</key>\n\t<real>" + value + "</real>\n";
    return text + "</dict>\n</plist>\n";
}

using Presets = PresetFolderTest;
} // namespace

// The parser reads known keys, clamps, and keeps the default for unreadable
// values; writing a state and reading it back gives the same state.
TEST_F(Presets, ParserReadsKnownKeysClampsSkipsBadValuesAndReadsWhatItWrites)
{
    ReverbProcessor processor;
    auto* list = processor.kernel->parameterList.get();
    const auto xml = juce::XmlDocument::parse(presetFile({ { "ReverbTime", "12.5" },
                                                           { "Unknown", "3" },
                                                           { "RoomSize", "nan" },
                                                           { "PreDelay", "inf" },
                                                           { "EffectDryWet", "1e9" },
                                                           { "InputGain", "-99" },
                                                           { "HFDamp", "12 kHz" },
                                                           { "DuckingAttack", " 33 " } }));
    ASSERT_NE(xml, nullptr);
    const auto tree = processor.presetParser->valueTreeFromPreset(processor.defaultState,
                                                                  xml->getFirstChildElement(), list);
    const std::pair<const char*, float> expected[] = { { "ReverbTime", 12.5f }, { "RoomSize", 50.0f },
                                                       { "PreDelay", 10.0f },   { "EffectDryWet", 100.0f },
                                                       { "InputGain", -30.0f }, { "HFDamp", 9000.0f },
                                                       { "DuckingAttack", 33.0f }, { "DuckingRelease", 100.0f } };
    for (const auto& [id, value] : expected)
        EXPECT_FLOAT_EQ(treeValue(tree, id), value) << id;
    EXPECT_EQ(tree.getNumChildren(), 17);
    EXPECT_FLOAT_EQ(treeValue(processor.defaultState, "ReverbTime"), 3.2f) << "the default state is untouched";

    std::unique_ptr<juce::XmlElement> written(processor.presetParser->presetFromValueTree(tree, list));
    auto* dict = written->getFirstChildElement();
    ASSERT_NE(dict, nullptr);
    EXPECT_EQ(dict->getNumChildElements(), 34) << "one key and value per host parameter";
    const auto reread = processor.presetParser->valueTreeFromPreset(processor.defaultState, dict, list);
    for (const auto& id : hostParameterIds(processor))
        EXPECT_FLOAT_EQ(treeValue(reread, id), treeValue(tree, id)) << id;
}

TEST_F(Presets, TheUserFolderIsScannedForPresetFilesOnly)
{
    write("Hall.rbprs", presetFile({ { "RoomSize", "11" } }));
    write("my Space.rbprs", presetFile({ { "RoomSize", "12" } }));
    write("notes.txt", presetFile({ { "RoomSize", "13" } }));
    write("Backup.rbprs.bak", presetFile({ { "RoomSize", "14" } }));
    write("Broken.rbprs", "<plist><dict><key>RoomSize</key><real>15");
    write("Empty.rbprs", "<plist version=\"1.0\"/>");
    write("Zero.rbprs", "");
    folder.getChildFile("Folder.rbprs").createDirectory();

    ReverbProcessor processor;
    const auto& user = processor.presetLists[0];
    ASSERT_EQ(user.size(), 2u);
    EXPECT_EQ(user[0]->name, "HALL");
    EXPECT_EQ(user[1]->name, "MY SPACE");
    EXPECT_EQ(user[1]->file, folder.getChildFile("my Space.rbprs"));
    EXPECT_FLOAT_EQ(treeValue(user[1]->state, "RoomSize"), 12.0f);

    // A user preset is found before the factory one of the same name.
    ASSERT_TRUE(processor.setPreset("hAlL", true));
    EXPECT_TRUE(processor.currentPreset->isUser);
    EXPECT_FLOAT_EQ(plainValue(processor, "RoomSize"), 11.0f);
    EXPECT_FLOAT_EQ(plainValue(processor, "ReverbTime"), 3.2f);
}

TEST_F(Presets, AUserDefaultPresetIsAppliedByTheFirstPrepare)
{
    write("default.rbprs", presetFile({ { "EffectDryWet", "0" }, { "ReverbTime", "9" } }));
    ReverbProcessor processor;
    processor.prepareToPlay(44100.0, 512);
    ASSERT_NE(processor.currentPreset, nullptr);
    EXPECT_TRUE(processor.currentPreset->isUser);
    EXPECT_FLOAT_EQ(plainValue(processor, "ReverbTime"), 9.0f);
    // The engine starts from the preset, not from a ramp away from the defaults.
    expectDryPassThrough(processor);
}

TEST_F(Presets, SelectionByRowChecksBothBoundsAndKeepsUnsavedEdits)
{
    ReverbProcessor processor;
    processor.prepareToPlay(44100.0, 512);
    const int factorySize = static_cast<int>(processor.presetLists[1].size());
    for (int row : { -1, factorySize, factorySize + 100 })
        EXPECT_FALSE(processor.setPreset(row)) << row;
    EXPECT_EQ(processor.currentPresetIndex, 0);

    ASSERT_TRUE(processor.setPreset(3));
    const auto* third = processor.currentPreset;
    setPlainValue(processor, "RoomSize", 1.0f);
    EXPECT_FALSE(processor.setPreset(3)) << "the current row again";
    processor.currentPresetType = 0; // the empty user list
    EXPECT_FALSE(processor.setPreset(0));
    EXPECT_FALSE(processor.setPreset("NO SUCH PRESET", true));
    EXPECT_EQ(processor.currentPreset, third);
    EXPECT_FLOAT_EQ(plainValue(processor, "RoomSize"), 1.0f);
}
