#include "Preset/Preset.h"
#include "UI/Overlays/Browser/PresetBrowser.h"
#include "UiTestSupport.h"

// The preset browser on its own: its columns, its rows as drawn, what it reports,
// and its two dialogs. The flows on real files run on the editor (EditorPresetTest).
using namespace UiTest;

namespace
{
    using Rect = juce::Rectangle<int>;

    struct RecordingBrowserDelegate : PresetBrowserDelegate
    {
        void onPresetTypeSelected(int row) override { calls.add("type " + juce::String(row)); }
        void onPresetDirectorySelected(int row) override { calls.add("directory " + juce::String(row)); }
        void onPresetSelected(int row) override { calls.add("preset " + juce::String(row)); }
        void onSavePreset() override { calls.add("save"); }
        void onSavePresetAs(juce::String name) override { calls.add("save as " + name); }
        void onDeletePreset() override { calls.add("delete"); }
        juce::String take()
        {
            const auto text = calls.joinIntoString(", ");
            calls.clear();
            return text;
        }
        juce::StringArray calls;
    };

    struct DialogDelegate : SaveAsDialogDelegate, ConfirmDialogDelegate
    {
        void onSavePresetAs(juce::String name) override { calls.add("save as " + name); }
        void onDelete() override { calls.add("delete"); }
        juce::StringArray calls;
    };

    juce::Colour over(juce::Colour below, juce::Colour colour, float alpha)
    {
        return below.interpolatedWith(colour, alpha);
    }

    // Typing reaches the dialog through an asynchronous change message; deliver it at once.
    void type(SaveAsDialog& dialog, const juce::String& text)
    {
        dialog.nameEditor.setText(text, false);
        dialog.nameEditor.onTextChange();
    }

    // The dialogs' panel: the window dimmed, opaque background over the middle
    // (a quarter in from the sides and a third from top and bottom, grown by 20).
    void expectDialogPanel(juce::Component& dialog, const std::string& name)
    {
        const auto picture = render(dialog, name, juce::Colours::white);
        EXPECT_TRUE(near(picture.getPixelAt(20, 20), over(juce::Colours::white, Zorvik::background, 0.3f)));
        EXPECT_TRUE(near(picture.getPixelAt(125, 150), over(juce::Colours::white, Zorvik::background, 0.3f)));
        EXPECT_TRUE(near(picture.getPixelAt(131, 81), Zorvik::background));
        EXPECT_TRUE(near(picture.getPixelAt(468, 218), Zorvik::background));
        EXPECT_TRUE(near(picture.getPixelAt(470, 150), over(juce::Colours::white, Zorvik::background, 0.3f)));
    }
}

TEST(PresetBrowserLayout, ListsTakeEqualColumnsAboveARowOfFourButtons)
{
    const struct { bool directories; Rect type, directory, presets; } cases[] = {
        { false, { 22, 10, 296, 267 }, {}, { 322, 10, 296, 267 } },
        { true, { 22, 10, 196, 267 }, { 222, 10, 196, 267 }, { 422, 10, 196, 267 } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.directories);
        PresetBrowser browser(c.directories);
        browser.setBounds(0, 0, 640, 320);
        EXPECT_EQ(browser.typeList.getBounds(), c.type);
        EXPECT_EQ(browser.presetList.getBounds(), c.presets);
        EXPECT_EQ(browser.directoryList.getParentComponent() == &browser, c.directories);
        if (c.directories)
        {
            EXPECT_EQ(browser.directoryList.getBounds(), c.directory);
        }
        const std::pair<juce::TextButton*, const char*> buttons[] = {
            { &browser.saveButton, "SAVE PRESET" }, { &browser.saveAsButton, "SAVE PRESET AS..." },
            { &browser.deleteButton, "DELETE PRESET" }, { &browser.doneButton, "DONE" } };
        for (int i = 0; i < 4; ++i)
        {
            EXPECT_EQ(buttons[i].first->getBounds(), Rect(20 + 150 * i, 281, 146, 25));
            EXPECT_EQ(buttons[i].first->getButtonText(), buttons[i].second);
        }
        EXPECT_EQ(browser.saveAsDialog.getBounds(), browser.contentBounds);
        EXPECT_FALSE(browser.saveAsDialog.isVisible() || browser.saveButton.isEnabled() || browser.deleteButton.isEnabled());
    }
}

TEST(PresetBrowserLists, SelectionsAndButtonsReachTheDelegate)
{
    for (const bool directories : { false, true })
    {
        SCOPED_TRACE(directories);
        PresetBrowser browser(directories);
        browser.setBounds(0, 0, 640, 320);
        browser.saveButton.onClick();  // no delegate yet: dropped
        RecordingBrowserDelegate delegate;
        browser.setDelegate(&delegate);

        Preset user("MINE", {}, true), factory("HALL", {}, false);
        browser.setPresets({ &user, &factory, nullptr });
        EXPECT_EQ(browser.presetModel.elements, (std::vector<juce::String> { "MINE", "HALL", "" }));
        browser.setSelectedPreset(0, &user);
        EXPECT_TRUE(browser.saveButton.isEnabled());
        EXPECT_TRUE(browser.deleteButton.isEnabled());
        browser.setSelectedPreset(1, &factory);
        EXPECT_FALSE(browser.saveButton.isEnabled());
        EXPECT_FALSE(browser.deleteButton.isEnabled());
        browser.setSelectedPreset(7, &user);  // no such row: none selected, nothing to save
        EXPECT_EQ(browser.presetList.getNumSelectedRows(), 0);
        EXPECT_FALSE(browser.deleteButton.isEnabled());

        // A new type clears the preset selection before it is reported.
        browser.setSelectedPreset(0, &user);
        browser.setSelectedType(1);
        EXPECT_EQ(browser.presetList.getNumSelectedRows(), 0);
        EXPECT_EQ(delegate.take(), "preset 0, preset 1, preset -1, preset 0, preset -1, type 1");

        // Directory rows are reported only where the list is shown.
        browser.setDirectories({ "LEFT", "RIGHT" });
        EXPECT_EQ(browser.directoryModel.getNumRows(), 2);
        browser.setSelectedDirectory(1);
        EXPECT_EQ(browser.directoryList.getSelectedRow(), 1);
        EXPECT_EQ(delegate.take(), directories ? "directory 1" : "");

        // The buttons: save asks the delegate, the others open the dialogs or close.
        browser.setVisible(true);
        browser.saveButton.onClick();
        browser.saveAsButton.onClick();
        EXPECT_TRUE(browser.saveAsDialog.isVisible());
        type(browser.saveAsDialog, "Warm");
        browser.saveAsDialog.saveButton.onClick();
        EXPECT_FALSE(browser.saveAsDialog.isVisible());
        browser.deleteButton.onClick();
        EXPECT_TRUE(browser.confirmDialog.isVisible());
        browser.confirmDialog.deleteButton.onClick();
        EXPECT_FALSE(browser.confirmDialog.isVisible());
        browser.onItemSelected(nullptr, 2);  // a model the browser does not own
        EXPECT_EQ(delegate.take(), "save, save as Warm, delete");
        browser.doneButton.onClick();
        EXPECT_FALSE(browser.isVisible());
    }
}

TEST(PresetBrowserRows, RowsAlternateInLightnessAndTheSelectedRowIsBlue)
{
    BrowserListBoxModel model;
    model.setElements({ "MMMMMMMM", "MMMMMMMM" });
    const auto paintRow = [&](int row, bool selected) {
        juce::Image image(juce::Image::ARGB, 120, 20, true);
        juce::Graphics g(image);
        g.fillAll(juce::Colours::black);
        model.paintListBoxItem(row, g, 120, 20, selected);
        return image;
    };
    const auto even = paintRow(0, false);
    const auto odd = paintRow(1, false);
    EXPECT_TRUE(near(even.getPixelAt(3, 3), Zorvik::background.brighter(0.04f), 2));
    EXPECT_GT(odd.getPixelAt(3, 3).getBrightness(), even.getPixelAt(3, 3).getBrightness());
    for (const auto& selected : { paintRow(0, true), paintRow(1, true) })
    {
        EXPECT_TRUE(near(selected.getPixelAt(3, 3), Zorvik::blue));
        EXPECT_TRUE(near(selected.getPixelAt(116, 17), Zorvik::blue));
        // A one-pixel border is left to the list's own background.
        EXPECT_EQ(selected.getPixelAt(0, 10), juce::Colours::black);
        EXPECT_EQ(selected.getPixelAt(60, 19), juce::Colours::black);
        // The row's text, white and centred.
        int white = 0;
        for (int y = 1; y < 19; ++y)
            for (int x = 1; x < 119; ++x)
                white += near(selected.getPixelAt(x, y), juce::Colours::white, 60) ? 1 : 0;
        EXPECT_GT(white, 30);
    }
    // Rows beyond the elements paint nothing.
    for (const int row : { 2, -1 })
        EXPECT_EQ(paintRow(row, true).getPixelAt(60, 10), juce::Colours::black) << row;

    // In place: the chosen type's row is blue, the first preset row the darker grey.
    PresetBrowser browser(false);
    browser.setBounds(0, 0, 640, 320);
    browser.setVisible(true);
    browser.setSelectedType(0);
    const auto picture = render(browser, "preset-browser");
    const int rowHeight = browser.typeList.getRowHeight();
    EXPECT_TRUE(near(picture.getPixelAt(40, 10 + 2), Zorvik::blue));
    EXPECT_FALSE(near(picture.getPixelAt(40, 10 + rowHeight + 2), Zorvik::blue, 20));
    EXPECT_TRUE(near(picture.getPixelAt(340, 10 + 2), Zorvik::background.brighter(0.04f), 4));
}

TEST(BrowserDialogs, BothDialogsShareTheirPanelAndOnlyTheActionReachesTheDelegate)
{
    DialogDelegate delegate;
    ConfirmDialog confirm(&delegate);
    SaveAsDialog saveAs(&delegate);
    for (juce::Component* dialog : { static_cast<juce::Component*>(&confirm), static_cast<juce::Component*>(&saveAs) })
    {
        dialog->setBounds(0, 0, 600, 300);
        dialog->setVisible(true);
        expectDialogPanel(*dialog, dialog == &confirm ? "confirm-dialog" : "save-as-dialog");
    }
    // The action on the left, cancel on the right, under the question or the name.
    EXPECT_EQ(confirm.messageLabel.getText(), "Are you sure you want to delete this preset?");
    EXPECT_EQ(confirm.messageLabel.getBounds(), Rect(150, 105, 300, 44));
    EXPECT_EQ(saveAs.titleLabel.getBounds(), Rect(150, 105, 300, 18));
    EXPECT_EQ(saveAs.nameEditor.getBounds(), Rect(150, 133, 300, 28));
    for (auto* action : { &confirm.deleteButton, &saveAs.saveButton })
        EXPECT_EQ(action->getBounds(), Rect(150, 168, 148, 27));
    for (auto* cancel : { &confirm.cancelButton, &saveAs.cancelButton })
    {
        EXPECT_EQ(cancel->getBounds(), Rect(302, 168, 148, 27));
        cancel->onClick();
    }
    EXPECT_FALSE(confirm.isVisible() || saveAs.isVisible());

    // An empty name cannot be saved, not even with Return; the name stays for the next time.
    saveAs.setVisible(true);
    EXPECT_FALSE(saveAs.saveButton.isEnabled());
    saveAs.nameEditor.onReturnKey();
    EXPECT_TRUE(saveAs.isVisible());
    type(saveAs, "x");
    EXPECT_TRUE(saveAs.saveButton.isEnabled());
    type(saveAs, " Warm Hall 2 ");
    saveAs.setVisible(false);
    saveAs.setVisible(true);
    EXPECT_EQ(saveAs.nameEditor.getText(), " Warm Hall 2 ");
    saveAs.nameEditor.onReturnKey();
    confirm.setVisible(true);
    confirm.deleteButton.onClick();
    EXPECT_FALSE(confirm.isVisible() || saveAs.isVisible());
    EXPECT_EQ(delegate.calls.joinIntoString(","), "save as  Warm Hall 2 ,delete");

    ConfirmDialog unattached(nullptr);
    unattached.setVisible(true);
    unattached.deleteButton.onClick();
    EXPECT_TRUE(unattached.isVisible());
}
