#include "EditorTestSupport.h"
#include "UI/PluginHeader.h"

// Saving, saving under a name and deleting user presets on real files, and the
// header's name and modified mark.
using namespace UiTest;

namespace
{
    juce::String shown(Editor& editor)
    {
        editor.timerCallback();
        return editor.design->header->getShownPresetName();
    }

    // Types a name into the header's save-as dialog and presses SAVE. Typing reaches the
    // dialog through an asynchronous change message; it is applied at once here.
    void typeAndSave(Editor& editor, const juce::String& name, bool open = true)
    {
        auto& dialog = editor.design->header->presetBrowser->saveAsDialog;
        dialog.setVisible(open || dialog.isVisible());
        dialog.nameEditor.setText(name);
        dialog.inputTextChanged();
        dialog.saveAs();
    }
}

TEST_F(EditorTest, ChangingAParameterMarksThePresetModifiedUntilOneIsChosen)
{
    open();
    editor->setPreset(juce::String("VIBRANT TAILS"));
    EXPECT_EQ(shown(*editor), "VIBRANT TAILS");
    set("RoomSize", 12.0f);
    EXPECT_EQ(shown(*editor), "*VIBRANT TAILS");
    editor->nextPreset();
    EXPECT_EQ(shown(*editor), currentName(*processor));
    // A change from the audio thread shows at the next tick as well.
    std::thread audio([this] { set("HFDamp", 3000.0f); });
    audio.join();
    EXPECT_EQ(shown(*editor), "*" + currentName(*processor));
}

TEST_F(EditorTest, SaveWritesTheCurrentUserPresetsOwnFile)
{
    const auto alpha = writePresetFile("Alpha", { { "RoomSize", 11.0 } });
    writePresetFile("Beta", { { "RoomSize", 22.0 } });
    open();
    editor->setPreset(juce::String("alpha"));
    ASSERT_EQ(currentName(*processor), "ALPHA");
    set("RoomSize", 44.0f);

    editor->savePreset(processor->currentPreset);
    // The file keeps its own spelling; no second file under the upper-cased name.
    EXPECT_EQ(filesInUserFolder(), (juce::StringArray { "Alpha.rbprs", "Beta.rbprs" }));
    EXPECT_EQ(currentName(*processor), "ALPHA");
    EXPECT_EQ(processor->currentPresetType, 0);
    EXPECT_EQ(shown(*editor), "ALPHA");
    EXPECT_FLOAT_EQ(plain("RoomSize"), 44.0f);

    // The saved value comes back from the file.
    editor->setPreset(juce::String("BETA"));
    editor->setPreset(juce::String("ALPHA"));
    EXPECT_FLOAT_EQ(plain("RoomSize"), 44.0f);
    EXPECT_TRUE(alpha.loadFileAsString().contains("44"));
}

TEST_F(EditorTest, SaveAsWritesANewPresetOrTheNamedUserPresetsOwnFile)
{
    const auto alpha = writePresetFile("Alpha", { { "RoomSize", 11.0 } });
    open();
    set("RoomSize", 55.0f);

    editor->savePresetAs("Gamma");
    // A property list of keys and reals under the XML declaration.
    const auto text = userPresetFolder().getChildFile("Gamma.rbprs").loadFileAsString();
    EXPECT_TRUE(text.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")) << text;
    const auto xml = juce::parseXML(text);
    ASSERT_TRUE(xml != nullptr && xml->hasTagName("plist") && xml->getStringAttribute("version") == "1.0");
    const auto* dict = xml->getChildByName("dict");
    EXPECT_TRUE(dict != nullptr && dict->getChildElement(1) != nullptr && dict->getChildElement(1)->hasTagName("real"));
    EXPECT_EQ(currentName(*processor), "GAMMA");
    EXPECT_EQ(processor->currentPresetType, 0);
    EXPECT_EQ(shown(*editor), "GAMMA");

    // Another user preset's name (the dialog asked first): that preset's own file
    // takes the values, whatever the letter case typed.
    set("RoomSize", 66.0f);
    editor->savePresetAs("alpha");
    EXPECT_EQ(filesInUserFolder(), (juce::StringArray { "Alpha.rbprs", "Gamma.rbprs" }));
    EXPECT_EQ(currentName(*processor), "ALPHA");
    EXPECT_EQ(shown(*editor), "ALPHA");
    editor->setPreset(juce::String("GAMMA"));
    EXPECT_FLOAT_EQ(plain("RoomSize"), 55.0f);
    editor->setPreset(juce::String("ALPHA"));
    EXPECT_FLOAT_EQ(plain("RoomSize"), 66.0f);
    EXPECT_TRUE(alpha.existsAsFile());

    // Names that cannot be file names write nothing, inside the folder or outside it.
    const auto before = filesInUserFolder();
    for (const char* bad : { "../x", "a/b", "y:z", " ", "..", "tab\tname" })
        editor->savePresetAs(bad);
    EXPECT_EQ(filesInUserFolder(), before);
    EXPECT_FALSE(userPresetFolder().getParentDirectory().getChildFile("x.rbprs").exists());
    EXPECT_EQ(currentName(*processor), "ALPHA");
}

TEST_F(EditorTest, SavingAFactoryPresetMakesAUserCopyAndKeepsTheFactoryList)
{
    open();
    const auto factory = presetNames(*processor, 1);
    editor->setPreset(juce::String("VIBRANT TAILS"));
    set("RoomSize", 12.0f);
    editor->savePreset(processor->currentPreset);
    EXPECT_TRUE(userPresetFolder().getChildFile("VIBRANT TAILS.rbprs").existsAsFile());
    EXPECT_EQ(presetNames(*processor, 1), factory);
    EXPECT_EQ(presetNames(*processor, 0), (std::vector<juce::String> { "VIBRANT TAILS" }));
    EXPECT_EQ(processor->currentPresetType, 0);
    EXPECT_FLOAT_EQ(plain("RoomSize"), 12.0f);
}

TEST_F(EditorTest, DeleteRemovesOnlyTheUserPresetsOwnFile)
{
    writePresetFile("Alpha", { { "RoomSize", 11.0 } });
    writePresetFile("Beta", { { "RoomSize", 22.0 } });
    // A user file that happens to carry a factory preset's name.
    writePresetFile("VIBRANT TAILS", { { "RoomSize", 33.0 } });
    open();
    editor->setPreset(juce::String("ALPHA"));
    set("RoomSize", 17.0f);

    editor->deletePreset(processor->currentPreset);
    EXPECT_EQ(filesInUserFolder(), (juce::StringArray { "Beta.rbprs", "VIBRANT TAILS.rbprs" }));
    EXPECT_EQ(processor->currentPreset, nullptr);
    EXPECT_EQ(presetNames(*processor, 0), (std::vector<juce::String> { "BETA", "VIBRANT TAILS" }));
    // The sound in use stays.
    EXPECT_FLOAT_EQ(plain("RoomSize"), 17.0f);

    // A user preset whose file went away meanwhile: nothing changes.
    processor->currentPresetType = 0;
    editor->setPreset(0);
    ASSERT_EQ(currentName(*processor), "BETA");
    userPresetFolder().getChildFile("Beta.rbprs").deleteFile();
    editor->deletePreset(processor->currentPreset);
    EXPECT_EQ(currentName(*processor), "BETA");
    EXPECT_EQ(presetNames(*processor, 0).size(), 2u);

    // A preset record that a rescan has replaced is not touched.
    Preset stale("BETA", processor->defaultState, true, userPresetFolder().getChildFile("VIBRANT TAILS.rbprs"));
    editor->deletePreset(&stale);
    editor->savePreset(&stale);
    EXPECT_TRUE(userPresetFolder().getChildFile("VIBRANT TAILS.rbprs").existsAsFile());
    EXPECT_EQ(presetNames(*processor, 0).size(), 2u);

    // Stepping on from the emptied position still works.
    editor->previousPreset();
    editor->nextPreset();
    EXPECT_NE(processor->currentPreset, nullptr);
}

TEST_F(EditorTest, TheBrowserReplacesAnExistingNameOnlyAfterASecondConfirmation)
{
    open();
    auto& dialog = editor->design->header->presetBrowser->saveAsDialog;
    const auto file = userPresetFolder().getChildFile("Warm Hall.rbprs");
    set("RoomSize", 20.0f);
    typeAndSave(*editor, "Warm Hall");
    const auto original = file.loadFileAsString();

    set("RoomSize", 90.0f);
    typeAndSave(*editor, "WARM hall");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.titleLabel.getText(), "Replace existing preset?");
    EXPECT_EQ(file.loadFileAsString(), original);

    // Editing the name asks again; a second SAVE replaces the file the preset came from.
    typeAndSave(*editor, "warm hall", false);
    EXPECT_EQ(file.loadFileAsString(), original);
    dialog.saveAs();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(filesInUserFolder(), juce::StringArray { "Warm Hall.rbprs" });
    EXPECT_NE(file.loadFileAsString(), original);
    EXPECT_EQ(processor->presetLists[0].size(), 1u);
}

TEST_F(EditorTest, TheBrowserNeverOverwritesOrDeletesAUserFileForAFactoryPreset)
{
    writePresetFile("Hall", { { "RoomSize", 11.0 } });  // a user file named like a factory preset
    writePresetFile("Mine", { { "RoomSize", 22.0 } });
    open();
    auto& header = *editor->design->header;
    auto& browser = *header.presetBrowser;
    const auto userHall = userPresetFolder().getChildFile("Hall.rbprs").loadFileAsString();

    processor->currentPresetType = 1;
    const auto factory = presetNames(*processor, 1);
    processor->setPreset(static_cast<int>(std::find(factory.begin(), factory.end(), "HALL") - factory.begin()));
    header.selectPreset(processor->currentPresetIndex);
    ASSERT_NE(processor->currentPreset, nullptr);
    ASSERT_FALSE(processor->currentPreset->isUser);
    set("RoomSize", 3.0f);
    header.onSavePreset();  // would replace the user's own "Hall": the save-as dialog asks instead
    EXPECT_EQ(userPresetFolder().getChildFile("Hall.rbprs").loadFileAsString(), userHall);
    EXPECT_TRUE(browser.saveAsDialog.isVisible());
    EXPECT_EQ(browser.saveAsDialog.nameEditor.getText(), "HALL");
    browser.saveAsDialog.setVisible(false);

    editor->setPreset(juce::String("mine"));
    EXPECT_TRUE(browser.deleteButton.isEnabled());
    browser.confirmDialog.setVisible(true);
    browser.confirmDialog.deleteButton.onClick();
    EXPECT_EQ(filesInUserFolder(), juce::StringArray { "Hall.rbprs" });
    EXPECT_EQ(processor->currentPreset, nullptr);
    EXPECT_FALSE(browser.deleteButton.isEnabled());
}

TEST_F(EditorTest, SteppingBackAfterTheUserListShrankLandsOnItsLastPreset)
{
    writePresetFile("Alpha", { { "RoomSize", 11.0 } });
    writePresetFile("Beta", { { "RoomSize", 22.0 } });
    writePresetFile("Gamma", { { "RoomSize", 33.0 } });
    open();
    editor->setPreset(juce::String("GAMMA"));
    ASSERT_EQ(processor->currentPresetIndex, 2);
    // Another instance deletes one file; deleting the current preset here reads the
    // folder again, and two presets are gone.
    userPresetFolder().getChildFile("Beta.rbprs").deleteFile();
    editor->deletePreset(processor->currentPreset);
    ASSERT_EQ(presetNames(*processor, 0), std::vector<juce::String> { "ALPHA" });
    editor->previousPreset();
    EXPECT_EQ(currentName(*processor), "ALPHA");
    EXPECT_EQ(processor->currentPresetType, 0);
    EXPECT_FLOAT_EQ(plain("RoomSize"), 11.0f);
    EXPECT_EQ(shown(*editor), "ALPHA");
}

TEST_F(EditorTest, ANameWithNoFreeFileLeftIsNotSavedAndSaysSo)
{
    // The longest name a preset may have, taken by a folder that is no preset: the
    // numbered names after it would be too long.
    const auto name = juce::String::repeatedString("x", 200);
    open();
    ASSERT_TRUE(userPresetFolder().getChildFile(name + ".rbprs").createDirectory());
    const auto current = currentName(*processor);
    editor->savePresetAs(name);
    EXPECT_EQ(userPresetFolder().findChildFiles(juce::File::findFilesAndDirectories, false).size(), 1);
    EXPECT_TRUE(processor->presetLists[0].empty());
    EXPECT_EQ(currentName(*processor), current);
    EXPECT_EQ(editor->design->header->presetNameButton->getButtonText(), "PRESET NOT SAVED");
}
