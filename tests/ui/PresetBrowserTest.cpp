#include "UI/PluginHeader.h"
#include "UiTestSupport.h"

// The save-as dialog on its own; the browser's flows on real files are in
// EditorPresetTest and PresetSafetyTest.
using namespace UiTest;

namespace
{
    struct RecordingDialogDelegate : SaveAsDialogDelegate
    {
        void onSavePresetAs(juce::String name) override { calls.add("save as " + name); }
        juce::StringArray calls;
    };

    // Typing reaches the dialog through an asynchronous change message; apply it at once.
    void type(SaveAsDialog& dialog, const juce::String& text)
    {
        dialog.nameEditor.setText(text);
        dialog.inputTextChanged();
    }
}

TEST(SaveAsDialogForm, NamesThatCannotBeFilesAreRefused)
{
    RecordingDialogDelegate delegate;
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
