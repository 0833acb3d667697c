#include "EditorTestSupport.h"
#include "UI/PluginHeader.h"

// The browser's preset flows on the real editor and real files: a tab only shows a
// list, and the current preset's own row is the one marked.
using namespace UiTest;

namespace
{
    struct PresetSafetyTest : EditorTest
    {
        PluginHeader& header() { return *editor->design->header; }
        PresetBrowser& browser() { return *header().presetBrowser; }
        int selectedRow() { return browser().presetList.getSelectedRow(); }
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

TEST_F(PresetSafetyTest, TheBrowserOpensWithTheCurrentPresetsRowSelectedWhereverItIs)
{
    open();
    editor->setPreset(juce::String("VIBRANT TAILS"));  // the factory list's last row
    reopen();
    EXPECT_EQ(browser().typeList.getSelectedRow(), 1);
    EXPECT_EQ(selectedRow(), static_cast<int>(processor->presetLists[1].size()) - 1);
}
