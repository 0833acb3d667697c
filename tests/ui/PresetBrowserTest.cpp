#include "Common/Parameters/ParameterList.h"
#include "Preset/PresetFileName.h"
#include "UI/PluginHeader.h"
#include "UiTestSupport.h"

// The preset browser and its dialogs, driven through the header against real preset
// files in the (temporary) user preset folder.
using namespace UiTest;

namespace
{
    struct RecordingBrowserDelegate : PresetBrowserDelegate
    {
        void onPresetTypeSelected(int row) override { calls.add("type " + juce::String(row)); }
        void onPresetDirectorySelected(int row) override { calls.add("directory " + juce::String(row)); }
        void onPresetSelected(int row) override { calls.add("preset " + juce::String(row)); }
        void onSavePreset() override { calls.add("save"); }
        void onSavePresetAs(juce::String name) override { calls.add("save as " + name); }
        void onDeletePreset() override { calls.add("delete"); }
        juce::StringArray calls;
    };

    // Writes and deletes preset files as the editor does.
    struct FileWritingDelegate : PluginHeaderDelegate
    {
        explicit FileWritingDelegate(EffectProcessor& p) : processor(p) {}
        void onPresetTypeSelected(int) override {}
        void onPresetDirectorySelected(int) override {}
        void onPresetSelected(int) override {}
        void previousPreset() override {}
        void nextPreset() override {}
        void savePreset(Preset* preset) override { savePresetAs(preset->name); }
        void savePresetAs(juce::String name) override
        {
            const auto file = PresetFileName::fileForSaving(EffectProcessor::getUserPresetFolder(), name,
                                                            processor.presetExtension, processor.presetLists[0]);
            if (file == juce::File())
                return;
            std::unique_ptr<juce::XmlElement> xml(
                processor.presetParser->presetFromValueTree(processor.parameters.copyState(),
                                                            processor.kernel->parameterList.get()));
            xml->writeTo(file);
            processor.retrieveUserPresets();
        }
        void deletePreset(Preset* preset) override
        {
            preset->file.deleteFile();
            processor.retrieveUserPresets();
        }
        EffectProcessor& processor;
    };

    juce::Image image(int size) { return juce::Image(juce::Image::RGB, size, size, true); }

    // Typing reaches the dialog through an asynchronous change message; apply it at once.
    void type(SaveAsDialog& dialog, const juce::String& text)
    {
        dialog.nameEditor.setText(text);
        dialog.inputTextChanged();
    }

    struct BrowserFlowTest : ProcessorTest
    {
        BrowserFlowTest()
        {
            folder.deleteRecursively();
            folder.createDirectory();
            processor.retrieveUserPresets();
            header.processor = &processor;
            header.setDelegate(&files);
            browser.setBounds(0, 0, 640, 320);
        }
        ~BrowserFlowTest() override { folder.deleteRecursively(); }

        juce::StringArray fileNames() const
        {
            juce::StringArray names;
            for (const auto& f : folder.findChildFiles(juce::File::findFiles, false))
                names.add(f.getFileName());
            names.sort(false);
            return names;
        }

        void typeAndSave(const juce::String& name)
        {
            browser.saveAsDialog.setVisible(true);
            type(browser.saveAsDialog, name);
            browser.saveAsDialog.saveAs();
        }

        juce::File folder = EffectProcessor::getUserPresetFolder();
        FileWritingDelegate files { processor };
        PluginHeader header { image(28), image(72), image(28), false, "zrvkreverb", juce::URL() };
        PresetBrowser& browser = *header.presetBrowser;
    };
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

TEST(PresetBrowserLists, RowsAlternateAndTheSelectedRowIsBlue)
{
    PresetBrowser browser(false);
    browser.setBounds(0, 0, 640, 320);
    browser.setVisible(true);
    browser.setSelectedType(0);
    const auto picture = render(browser, "preset-browser");
    const int rowHeight = browser.typeList.getRowHeight();
    const auto at = [&](int row) { return picture.getPixelAt(40, 10 + row * rowHeight + 2); };
    EXPECT_TRUE(near(at(0), Zorvik::blue));
    EXPECT_TRUE(near(picture.getPixelAt(340, 10 + 2), Zorvik::background.brighter(0.04f), 4));
    EXPECT_GT(picture.getPixelAt(340, 10 + rowHeight + 2).getBrightness(),
              picture.getPixelAt(340, 10 + 2).getBrightness());
}

TEST(SaveAsDialogForm, NamesThatCannotBeFilesAreRefused)
{
    RecordingBrowserDelegate delegate;
    struct Forward : SaveAsDialogDelegate
    {
        RecordingBrowserDelegate& d;
        explicit Forward(RecordingBrowserDelegate& r) : d(r) {}
        void onSavePresetAs(juce::String name) override { d.onSavePresetAs(name); }
    } forward(delegate);
    SaveAsDialog dialog(&forward);
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

    render(dialog, "save-as-dialog");
}

TEST(ConfirmDialogForm, CancelClosesAndDeleteAsksOnce)
{
    struct Counter : ConfirmDialogDelegate
    {
        void onDelete() override { ++deletes; }
        int deletes = 0;
    } counter;
    ConfirmDialog dialog(&counter);
    dialog.setBounds(0, 0, 600, 300);
    dialog.setVisible(true);
    dialog.cancelButton.onClick();
    EXPECT_FALSE(dialog.isVisible());
    dialog.setVisible(true);
    dialog.deleteButton.onClick();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(counter.deletes, 1);
}

TEST_F(BrowserFlowTest, AnExistingNameIsReplacedOnlyAfterASecondConfirmation)
{
    setPlain(processor, "RoomSize", 20.0f);
    typeAndSave("Warm Hall");
    const auto original = folder.getChildFile("Warm Hall.rbprs").loadFileAsString();

    setPlain(processor, "RoomSize", 90.0f);
    typeAndSave("WARM hall");
    EXPECT_TRUE(browser.saveAsDialog.isVisible());
    EXPECT_EQ(browser.saveAsDialog.titleLabel.getText(), "Replace existing preset?");
    EXPECT_EQ(folder.getChildFile("Warm Hall.rbprs").loadFileAsString(), original);

    // Editing the name asks again; a second SAVE replaces the file the preset came from.
    type(browser.saveAsDialog, "warm hall");
    browser.saveAsDialog.saveAs();
    EXPECT_EQ(folder.getChildFile("Warm Hall.rbprs").loadFileAsString(), original);
    browser.saveAsDialog.saveAs();
    EXPECT_FALSE(browser.saveAsDialog.isVisible());
    EXPECT_EQ(fileNames().joinIntoString("|"), "Warm Hall.rbprs");
    EXPECT_NE(folder.getChildFile("Warm Hall.rbprs").loadFileAsString(), original);
    EXPECT_EQ(processor.presetLists[0].size(), 1u);
}

TEST_F(BrowserFlowTest, DeleteRemovesTheCurrentUserPresetButNeverAFileForAFactoryPreset)
{
    typeAndSave("Hall");  // a user file named like a factory preset
    typeAndSave("Mine");
    ASSERT_EQ(fileNames().joinIntoString("|"), "Hall.rbprs|Mine.rbprs");

    processor.currentPresetType = 1;
    for (size_t row = 0; row < processor.presetLists[1].size(); ++row)
        if (processor.presetLists[1][row]->name == "HALL")
        {
            processor.setPreset(static_cast<int>(row));
            break;
        }
    ASSERT_NE(processor.currentPreset, nullptr);
    ASSERT_FALSE(processor.currentPreset->isUser);
    const auto userHall = folder.getChildFile("Hall.rbprs").loadFileAsString();
    setPlain(processor, "RoomSize", 3.0f);
    header.onSavePreset();  // would replace the user's own "Hall": the save-as dialog asks instead
    EXPECT_EQ(folder.getChildFile("Hall.rbprs").loadFileAsString(), userHall);
    EXPECT_TRUE(browser.saveAsDialog.isVisible());
    EXPECT_EQ(browser.saveAsDialog.nameEditor.getText(), "HALL");
    browser.saveAsDialog.setVisible(false);

    browser.confirmDialog.setVisible(true);
    browser.confirmDialog.deleteButton.onClick();
    EXPECT_EQ(fileNames().joinIntoString("|"), "Hall.rbprs|Mine.rbprs");

    ASSERT_TRUE(processor.setPreset(juce::String("mine"), true));
    ASSERT_TRUE(processor.currentPreset->isUser);
    header.selectPreset(processor.currentPresetIndex);
    EXPECT_TRUE(browser.deleteButton.isEnabled());
    browser.confirmDialog.setVisible(true);
    browser.confirmDialog.deleteButton.onClick();
    EXPECT_EQ(fileNames().joinIntoString("|"), "Hall.rbprs");
    EXPECT_EQ(processor.currentPreset, nullptr);
    EXPECT_FALSE(browser.deleteButton.isEnabled());
    EXPECT_EQ(browser.presetList.getNumSelectedRows(), 0);
}
