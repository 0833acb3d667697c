// Preset files, the user folder and preset selection.
#include "PluginTestSupport.h"

#include "Preset/Preset.h"
#include "Preset/PresetParser.h"
#include "TextValueProcessor.h"

#include <map>

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

namespace
{
std::string stringPairs(const std::string& pairs)
{
    return "<plist version=\"1.0\"><dict>" + pairs + "</dict></plist>";
}
} // namespace

// Products whose presets store text: a choice by its name, a stepped value by the
// text its steps are shown with. Unknown texts and text for plain numbers are ignored,
// except that a stepped text no step has reads as 0.
TEST_F(Presets, TextValuesInPresetFilesAreReadByNameAndChoicesWrittenByName)
{
    write("Texts.tvp", stringPairs("<key>Steps</key><string>minus two</string><key>Choice</key><string>Square</string>"
                                   "<key>Gain</key><string>6</string><key>Frequency</key><real>1000</real>"));
    write("Unknown texts.tvp", stringPairs("<string>one</string><key>Steps</key><string>nine</string>"
                                           "<key>Choice</key><string>square</string><key>Nothing</key>"
                                           "<string>Sine</string><key>Gain</key><real>-6</real>"
                                           "<key></key><real>3</real>"));
    TextValueProcessor processor;
    ASSERT_EQ(processor.presetLists[0].size(), 2u);
    auto* list = processor.kernel->parameterList.get();

    ASSERT_TRUE(processor.setPreset("TEXTS", true));
    EXPECT_EQ(processor.plain("Steps"), -2.0f);
    EXPECT_EQ(processor.parameters.getParameter("Steps")->getCurrentValueAsText(), "minus two");
    EXPECT_EQ(processor.plain("Choice"), 2.0f);
    EXPECT_EQ(processor.plain("Gain"), 0.0f);
    EXPECT_NEAR(processor.plain("Frequency"), 1000.0f, 0.5f);

    // The choice goes back to the file by name, everything else as a number; reading
    // that gives the same state.
    const auto state = processor.parameters.copyState();
    std::unique_ptr<juce::XmlElement> written(processor.presetParser->presetFromValueTree(state, list));
    std::map<juce::String, std::pair<juce::String, juce::String>> pairs;
    juce::String key;
    for (const auto* element : written->getFirstChildElement()->getChildIterator())
        if (element->hasTagName("key"))
            key = element->getAllSubText();
        else
            pairs[key] = { element->getTagName(), element->getAllSubText() };
    EXPECT_EQ(pairs["Choice"], std::make_pair(juce::String("string"), juce::String("Square")));
    EXPECT_EQ(pairs["Steps"].first, "real");
    EXPECT_EQ(pairs["Steps"].second.getFloatValue(), -2.0f);
    const auto reread =
        processor.presetParser->valueTreeFromPreset(processor.defaultState, written->getFirstChildElement(), list);
    for (const auto* id : { "Gain", "Frequency", "Steps", "Choice" })
        EXPECT_FLOAT_EQ(treeValue(reread, id), treeValue(state, id)) << id;

    ASSERT_TRUE(processor.setPreset("UNKNOWN TEXTS", true));
    EXPECT_EQ(processor.plain("Steps"), 0.0f);
    EXPECT_EQ(processor.plain("Choice"), 1.0f) << "choice names are matched exactly";
    EXPECT_EQ(processor.plain("Gain"), 3.0f) << "an empty key is skipped: the last key holds";

    // Text lookups stay within the parameter's range and never walk a huge one.
    Parameter steps;
    steps.minimum = -2.5f;
    steps.maximum = 2.0f;
    EXPECT_EQ(PresetParser::stringToIntValue(steps, "minus two"), 0.0f) << "no text function";
    steps.intToText = stepName;
    const std::pair<const char*, float> lookups[] = { { "minus two", -2.0f }, { "two", 2.0f },
                                                      { "minus three", 0.0f }, { "three", 0.0f } };
    for (const auto& [text, value] : lookups)
        EXPECT_EQ(PresetParser::stringToIntValue(steps, text), value) << text;
    steps.maximum = 3.0e9f;
    EXPECT_EQ(PresetParser::stringToIntValue(steps, "two"), 0.0f);
}

// Preset records order by name (a blank before letters) and are the same preset
// only with the same name, kind and shared tree; equal names sort by their files.
TEST(PresetRecords, OrderAndIdentity)
{
    const juce::ValueTree tree("Parameters");
    const Preset behind("BEHIND", tree, false), bright("BRIGHT", tree, false);
    const Preset newArea("NEW AREA", tree, false), nuclear("NUCLEAR PLANT", tree, false);
    EXPECT_TRUE(behind < bright);
    EXPECT_FALSE(bright < behind);
    EXPECT_TRUE(newArea < nuclear);
    EXPECT_TRUE(Preset("A B", tree, true) < Preset("AB", tree, true));

    EXPECT_TRUE(behind == Preset("BEHIND", tree, false));
    EXPECT_FALSE(behind == Preset("BEHIND", tree, true));
    EXPECT_FALSE(behind == Preset("BEHIND", tree.createCopy(), false)) << "an equal tree is not the same tree";
    EXPECT_FALSE(behind == bright);

    Preset second("HALL", tree, true, juce::File("/presets/b/Hall.rbprs"));
    Preset first("HALL", tree, true, juce::File("/presets/a/HALL.rbprs"));
    EXPECT_TRUE(Preset::comparePresets(&first, &second));
    EXPECT_FALSE(Preset::comparePresets(&second, &first));
}
