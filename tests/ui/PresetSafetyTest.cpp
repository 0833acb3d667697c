#include "EditorTestSupport.h"
#include "UI/PluginHeader.h"

// The browser's preset flows on the real editor and real files: a tab only shows a
// list, and a file operation that fails keeps the user's edits and files and says so.
using namespace UiTest;

namespace
{
    // Loses the second half of what it is given without a word, as a full disk may.
    struct ShortWriteStream : juce::FileOutputStream
    {
        using juce::FileOutputStream::FileOutputStream;
        bool write(const void* data, size_t bytes) override
        {
            juce::FileOutputStream::write(data, bytes / 2);
            return true;
        }
    };

    struct PresetSafetyTest : EditorTest
    {
        PluginHeader& header() { return *editor->design->header; }
        PresetBrowser& browser() { return *header().presetBrowser; }
        int selectedRow() { return browser().presetList.getSelectedRow(); }

        // Typing reaches the dialog through an asynchronous change message; apply it at once.
        void typeName(const juce::String& name)
        {
            browser().saveAsButton.onClick();
            browser().saveAsDialog.nameEditor.setText(name);
            browser().saveAsDialog.inputTextChanged();
        }
    };
}

TEST_F(PresetSafetyTest, ATabOnlyShowsItsListAndSaveAndDeleteFollowTheTabShown)
{
    writePresetFile("Hall", { { "RoomSize", 11.0 } });  // a namesake of a factory preset
    open();
    editor->setPreset(juce::String("HALL"));
    auto* userHall = processor->currentPreset;
    ASSERT_TRUE(userHall != nullptr && userHall->isUser);
    set("RoomSize", 44.0f);

    for (const int tab : { 1, 0 })
    {
        browser().typeList.selectRow(tab);  // as a click on the tab
        EXPECT_EQ(processor->currentPreset, userHall);
        EXPECT_FLOAT_EQ(plain("RoomSize"), 44.0f);
        EXPECT_EQ(selectedRow(), tab == 0 ? 0 : -1);
        EXPECT_EQ(browser().saveButton.isEnabled(), tab == 0);
        EXPECT_EQ(browser().deleteButton.isEnabled(), tab == 0);
    }
}

TEST_F(PresetSafetyTest, AFailedSaveOrDeleteKeepsTheEditsAndTheFileAndIsTold)
{
    enum class Action { save, replace, saveAsNew, remove };
    struct Case
    {
        Action action;
        bool shortWrite;  // else the file cannot be opened at all
        const char* told;
        bool inDialog;
    };
    const Case cases[] = {
        { Action::save, false, "PRESET NOT SAVED", false },
        { Action::save, true, "PRESET NOT SAVED", false },
        { Action::replace, true, "Preset not saved", true },
        { Action::saveAsNew, false, "Preset not saved", true },
        { Action::remove, false, "PRESET NOT DELETED", false },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(static_cast<int>(&c - cases));
        editor.reset();
        processor.reset();
        userPresetFolder().deleteRecursively();
        const auto alpha = writePresetFile("Alpha", { { "RoomSize", 11.0 } });
        const auto original = alpha.loadFileAsString();
        open();
        editor->presetFiles.openStream = [&c](const juce::File& file) -> std::unique_ptr<juce::FileOutputStream> {
            return c.shortWrite ? std::make_unique<ShortWriteStream>(file) : nullptr;
        };
        editor->presetFiles.deleteFile = [](const juce::File&) { return false; };
        editor->setPreset(juce::String("ALPHA"));
        set("RoomSize", 44.0f);

        auto& dialog = browser().saveAsDialog;
        switch (c.action)
        {
            case Action::save: browser().saveButton.onClick(); break;
            case Action::replace:
                typeName("Alpha");
                dialog.saveAs();  // asks first
                dialog.saveAs();
                break;
            case Action::saveAsNew:
                typeName("Beta");
                dialog.saveAs();
                break;
            case Action::remove:
                browser().deleteButton.onClick();
                browser().confirmDialog.deleteButton.onClick();
                break;
        }
        editor->timerCallback();

        EXPECT_EQ(filesInUserFolder(), juce::StringArray { "Alpha.rbprs" });
        EXPECT_EQ(alpha.loadFileAsString(), original);
        EXPECT_EQ(currentName(*processor), "ALPHA");
        EXPECT_FLOAT_EQ(plain("RoomSize"), 44.0f);
        EXPECT_TRUE(header().modified);
        EXPECT_EQ(selectedRow(), 0);
        EXPECT_EQ(dialog.isVisible(), c.inDialog);
        EXPECT_EQ(c.inDialog ? dialog.titleLabel.getText() : header().presetNameButton->getButtonText(), c.told);
    }
}

TEST_F(PresetSafetyTest, SaveAsKeepsAnUnlistedFileAndRefusesNamesThatAreNoFileInTheFolder)
{
    const auto broken = userPresetFolder().getChildFile("Broken.rbprs");
    broken.getParentDirectory().createDirectory();
    broken.replaceWithText("not a preset");
    open();
    ASSERT_EQ(processor->presetLists[0].size(), 0u);
    auto& dialog = browser().saveAsDialog;

    // "~root" names a home folder, not a file in the preset folder.
    // A name that XML cannot carry (U+FFFE, U+FFFF) would make every saved state unreadable.
    for (const auto& bad : juce::StringArray { "~root", "   ", "../up", "a/b", "a\\b", "x:y", "what?", ".hidden", "tab\there",
                                               "A" + juce::String::charToString(0xFFFE),
                                               "A" + juce::String::charToString(0xFFFF) })
    {
        typeName(bad);
        EXPECT_FALSE(dialog.saveButton.isEnabled()) << bad;
        dialog.saveAs();
        EXPECT_TRUE(dialog.isVisible()) << bad;
        EXPECT_EQ(dialog.titleLabel.getText(), "Invalid preset name") << bad;
    }
    typeName(juce::String::repeatedString("x", 201));
    EXPECT_FALSE(dialog.saveButton.isEnabled());
    typeName("Kept Out");
    dialog.cancelButton.onClick();
    EXPECT_FALSE(dialog.isVisible());

    typeName("Broken");
    dialog.saveAs();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(broken.loadFileAsString(), "not a preset");
    EXPECT_EQ(filesInUserFolder(), (juce::StringArray { "Broken 2.rbprs", "Broken.rbprs" }));
    EXPECT_EQ(currentName(*processor), "BROKEN 2");
}

TEST_F(PresetSafetyTest, TheBrowserOpensWithTheCurrentPresetsRowSelectedWhereverItIs)
{
    open();
    editor->setPreset(juce::String("VIBRANT TAILS"));  // the factory list's last row
    reopen();
    EXPECT_EQ(browser().typeList.getSelectedRow(), 1);
    EXPECT_EQ(selectedRow(), static_cast<int>(processor->presetLists[1].size()) - 1);
}
