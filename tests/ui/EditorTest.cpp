#include "EditorTestSupport.h"
#include "ReverbDesign.h"
#include "UI/Controls/Filter/FilterContainer.h"
#include "UI/Overlays/ControlEditorOverlay.h"
#include "UI/PluginHeader.h"

#include <thread>

// The reverb's window on the real processor: preset stepping across both lists, and
// opening and closing it in every situation a host brings about.
using namespace UiTest;

namespace
{
    // A design whose filter row names a parameter key that does not exist.
    struct BrokenDesign : ReverbDesign
    {
        explicit BrokenDesign(bool& flag) : deleted(flag) {}
        ~BrokenDesign() override { deleted = true; }
        std::map<int, ParameterUISettings> getUiSettings() override
        {
            auto rows = ReverbDesign::getUiSettings();
            rows[3].linked = { 99 };
            return rows;
        }
        bool& deleted;
    };
}

TEST_F(EditorTest, FilterPadFollowsTheFilterTypeFromOpeningOn)
{
    open();
    auto pad = [this] { return dynamic_cast<FilterContainer*>(editor->containers.at(3)); };
    EXPECT_EQ(pad()->getType(), BiquadFilterType::lowShelf);

    set("InputFilterType", 1.0f);
    EXPECT_EQ(pad()->getType(), BiquadFilterType::highPass);
    reopen();
    EXPECT_EQ(pad()->getType(), BiquadFilterType::highPass);
    set("InputFilterType", 0.0f);
    EXPECT_EQ(pad()->getType(), BiquadFilterType::lowShelf);
    // Other parameters leave it alone.
    set("InputFilterGain", 6.0f);
    EXPECT_EQ(pad()->getType(), BiquadFilterType::lowShelf);
}

TEST_F(EditorTest, NextAndPreviousStepAcrossBothListsAndWrap)
{
    writePresetFile("Alpha", { { "RoomSize", 11.0 } });
    writePresetFile("Beta", { { "RoomSize", 22.0 } });
    open();
    const auto factory = presetNames(*processor, 1);
    ASSERT_EQ(presetNames(*processor, 0), (std::vector<juce::String> { "ALPHA", "BETA" }));
    ASSERT_EQ(currentName(*processor), "DEFAULT");
    ASSERT_EQ(processor->currentPresetType, 1);

    editor->previousPreset();  // before the first factory preset: the last user preset
    EXPECT_EQ(currentName(*processor), "BETA");
    EXPECT_EQ(processor->currentPresetType, 0);
    EXPECT_FLOAT_EQ(plain("RoomSize"), 22.0f);
    editor->previousPreset();
    EXPECT_EQ(currentName(*processor), "ALPHA");
    EXPECT_FLOAT_EQ(plain("RoomSize"), 11.0f);
    editor->previousPreset();  // before the first user preset: the last factory preset
    EXPECT_EQ(currentName(*processor), factory.back());
    EXPECT_EQ(processor->currentPresetType, 1);
    editor->nextPreset();  // past the last factory preset: the first user preset
    EXPECT_EQ(currentName(*processor), "ALPHA");
    editor->nextPreset();
    editor->nextPreset();  // past the last user preset: the first factory preset
    EXPECT_EQ(currentName(*processor), factory.front());
    EXPECT_EQ(processor->currentPresetIndex, 0);
    editor->nextPreset();
    EXPECT_EQ(currentName(*processor), factory[1]);
}

TEST_F(EditorTest, OpensWithoutPresetsAndWithoutAUserFolder)
{
    // A documents "folder" that is a file: no user folder can be made.
    const auto documents = juce::File::getSpecialLocation(juce::File::userDocumentsDirectory);
    documents.deleteRecursively();
    documents.replaceWithText("not a folder");
    open(false);
    EXPECT_TRUE(processor->presetLists[0].empty());
    EXPECT_EQ(processor->currentPreset, nullptr);
    editor->nextPreset();
    editor->previousPreset();
    editor->savePresetAs("Nowhere");
    editor->timerCallback();
    EXPECT_TRUE(processor->presetLists[0].empty());
    editor.reset();
    processor.reset();
    documents.deleteFile();
}

TEST_F(EditorTest, StateRestoredWhileOpenReachesTheWindow)
{
    open();
    ReverbProcessor other;
    other.setPreset("VIBRANT TAILS", true);
    setPlainValue(other, "RoomSize", 77.0f);
    juce::MemoryBlock state;
    other.getStateInformation(state);

    // Hosts restore on their own threads.
    std::thread host([&] { processor->setStateInformation(state.getData(), static_cast<int>(state.getSize())); });
    host.join();
    EXPECT_TRUE(processor->stateRestored);
    editor->timerCallback();
    EXPECT_FALSE(processor->stateRestored);
    EXPECT_EQ(currentName(*processor), "VIBRANT TAILS");
    EXPECT_EQ(processor->currentPresetType, 1);
    EXPECT_FLOAT_EQ(plain("RoomSize"), 77.0f);

    EXPECT_EQ(editor->design->header->getShownPresetName(), "VIBRANT TAILS");

    // A window opened after a restore takes it over at once.
    processor->setStateInformation(state.getData(), static_cast<int>(state.getSize()));
    reopen();
    EXPECT_FALSE(processor->stateRestored);

    // A name neither list holds is shown as it was stored.
    auto xml = juce::AudioProcessor::getXmlFromBinary(state.getData(), static_cast<int>(state.getSize()));
    xml->setAttribute("PresetName", "Long Gone");
    juce::AudioProcessor::copyXmlToBinary(*xml, state);
    processor->setStateInformation(state.getData(), static_cast<int>(state.getSize()));
    editor->timerCallback();
    EXPECT_EQ(editor->design->header->presetName, "Long Gone");

    // It stays through later edits, with no row marked, and in a window opened later.
    set("RoomSize", 12.0f);
    editor->timerCallback();
    EXPECT_EQ(editor->design->header->presetNameButton->getButtonText(), "Long Gone");
    EXPECT_EQ(editor->design->header->presetBrowser->presetList.getNumSelectedRows(), 0);
    reopen();
    EXPECT_EQ(editor->design->header->presetNameButton->getButtonText(), "Long Gone");
}

TEST_F(EditorTest, RightClickOpensTheValueEditorForEveryParameterKind)
{
    open();
    for (const int key : { 10, 11, 17 })
    {
        SCOPED_TRACE(key);
        auto* control = editor->containers.at(key);
        std::vector<ControlParameter> request { { "NAME", control->getParameter() } };
        editor->onRightClickOnControl(request);
        EXPECT_TRUE(editor->controlEditorOverlay->isVisible());
        editor->controlEditorOverlay->setVisible(false);
    }
    // An output value has no host parameter: nothing opens.
    editor->onRightClickOnControl({ { "METER", editor->containers.at(16)->getParameter() } });
    EXPECT_FALSE(editor->controlEditorOverlay->isVisible());
    // Every layout pass closes an open overlay.
    editor->onRightClickOnControl({ { "NAME", editor->containers.at(0)->getParameter() } });
    editor->resized();
    EXPECT_FALSE(editor->controlEditorOverlay->isVisible());
}

TEST_F(EditorTest, ABrokenDesignThrowsAndLeavesTheProcessorUsable)
{
    open();
    editor.reset();
    bool deleted = false;
    auto* design = new BrokenDesign(deleted);
    design->createLayout();
    EXPECT_THROW(ReverbEditor(*processor, design, new ContainerBuilder()), std::out_of_range);
    EXPECT_TRUE(deleted);
    // No listener or control of the failed window is left behind.
    set("RoomSize", 33.0f);
    set("InputFilterType", 1.0f);
    EXPECT_FLOAT_EQ(plain("RoomSize"), 33.0f);
    reopen();
    EXPECT_EQ(editor->containers.size(), 18u);
}

TEST_F(EditorTest, RequestsForListsOrParametersThatDoNotExistChangeNothing)
{
    open();
    auto& browser = *editor->design->header->presetBrowser;
    const auto* current = processor->currentPreset;
    for (const int type : { -1, 2, 99 })
    {
        editor->onPresetTypeSelected(type);
        EXPECT_EQ(processor->currentPresetType, 1) << type;
    }
    processor->currentPresetType = 7;
    editor->resized();
    EXPECT_EQ(browser.presetModel.getNumRows(), 0);
    processor->currentPresetType = 1;
    editor->onPresetTypeSelected(1);
    EXPECT_EQ(browser.presetModel.getNumRows(), static_cast<int>(processor->presetLists[1].size()));
    EXPECT_EQ(processor->currentPreset, current);

    editor->onRightClickOnControl({ { "NOTHING", nullptr } });
    editor->onRightClickOnControl({});
    EXPECT_FALSE(editor->controlEditorOverlay->isVisible());
}
