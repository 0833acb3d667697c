#include "UI/PluginHeader.h"
#include "UiTestSupport.h"

// The preset browser and its dialogs on their own; the flows on real files are in
// EditorPresetTest.
using namespace UiTest;

namespace
{
    struct RecordingBrowserDelegate : PresetBrowserDelegate, SaveAsDialogDelegate
    {
        void onPresetTypeSelected(int row) override { calls.add("type " + juce::String(row)); }
        void onPresetDirectorySelected(int row) override { calls.add("directory " + juce::String(row)); }
        void onPresetSelected(int row) override { calls.add("preset " + juce::String(row)); }
        void onSavePreset() override { calls.add("save"); }
        void onSavePresetAs(juce::String name) override { calls.add("save as " + name); }
        void onDeletePreset() override { calls.add("delete"); }
        juce::StringArray calls;
    };

    // Typing reaches the dialog through an asynchronous change message; apply it at once.
    void type(SaveAsDialog& dialog, const juce::String& text)
    {
        dialog.nameEditor.setText(text);
        dialog.inputTextChanged();
    }
}

TEST(PresetBrowserLists, SelectionsReachTheDelegateAndTypeChangesClearThePresetSelection)
{
    PresetBrowser browser(false);
    browser.setBounds(0, 0, 640, 320);
    RecordingBrowserDelegate delegate;
    browser.setDelegate(&delegate);

    Preset user("MINE", {}, true), factory("HALL", {}, false);
    browser.setPresets({ &user, &factory });
    EXPECT_EQ(browser.presetModel.getNumRows(), 2);
    browser.setSelectedPreset(0, &user);
    EXPECT_TRUE(browser.saveButton.isEnabled());
    EXPECT_TRUE(browser.deleteButton.isEnabled());
    browser.setSelectedPreset(1, &factory);
    EXPECT_FALSE(browser.deleteButton.isEnabled());

    browser.setSelectedType(1);
    EXPECT_EQ(browser.presetList.getNumSelectedRows(), 0);
    browser.directoryModel.selectedRowsChanged(2);  // never shown, never reported
    EXPECT_EQ(delegate.calls.joinIntoString(", "), "preset 0, preset 1, preset -1, type 1");

    browser.doneButton.onClick();
    EXPECT_FALSE(browser.isVisible());
}

TEST(SaveAsDialogForm, NamesThatCannotBeFilesAreRefused)
{
    RecordingBrowserDelegate delegate;
    SaveAsDialog dialog(&delegate);
    dialog.setBounds(0, 0, 600, 300);
    dialog.setVisible(true);
    EXPECT_FALSE(dialog.saveButton.isEnabled());

    for (const char* bad : { "   ", "../up", "a/b", "a\\b", "x:y", "what?", ".hidden", "tab\there" })
    {
        type(dialog, bad);
        EXPECT_FALSE(dialog.saveButton.isEnabled()) << bad;
        dialog.saveAs();
        EXPECT_TRUE(dialog.isVisible()) << bad;
    }
    EXPECT_EQ(dialog.titleLabel.getText(), "Invalid preset name");
    type(dialog, juce::String::repeatedString("x", 201));
    EXPECT_FALSE(dialog.saveButton.isEnabled());

    type(dialog, " Warm Hall 2 ");
    EXPECT_TRUE(dialog.saveButton.isEnabled());
    dialog.cancelButton.onClick();
    EXPECT_TRUE(delegate.calls.isEmpty());

    dialog.setVisible(true);
    EXPECT_EQ(dialog.nameEditor.getText(), " Warm Hall 2 ");
    dialog.saveAs();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(delegate.calls.joinIntoString(","), "save as  Warm Hall 2 ");

}
