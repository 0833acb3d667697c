// Saving and restoring the plug-in state as the processor sees it; round trips
// between instances and hostile blocks go through the bundle in tests/conformance.
#include "PluginTestSupport.h"

#include <atomic>
#include <map>
#include <memory>
#include <thread>

using namespace zorvik_test;

namespace
{
class PluginState : public ::testing::Test
{
protected:
    // A state block whose values are given as attribute texts.
    static juce::MemoryBlock stateWith(const std::map<juce::String, juce::String>& values,
                                       const juce::String& presetName = "HALL")
    {
        juce::XmlElement root("Parameters");
        root.setAttribute("PresetName", presetName);
        for (const auto& [id, value] : values)
        {
            auto* child = root.createNewChildElement("PARAM");
            child->setAttribute("id", id);
            child->setAttribute("value", value);
        }
        juce::MemoryBlock block;
        juce::AudioProcessor::copyXmlToBinary(root, block);
        return block;
    }

    static std::unique_ptr<juce::XmlElement> xmlOf(const juce::MemoryBlock& block)
    {
        return juce::AudioProcessor::getXmlFromBinary(block.getData(), static_cast<int>(block.getSize()));
    }

    ScopedHome home;
};
} // namespace

// The block is binary XML of the parameters and the preset name; a restore sets the
// values and selects the named preset without applying it over them.
TEST_F(PluginState, RestoreSetsValuesAndSelectsThePresetWithoutApplyingIt)
{
    ReverbProcessor source;
    EXPECT_FALSE(xmlOf(saveState(source))->hasAttribute("PresetName")) << "before any preset";
    EXPECT_EQ(source.getProgramName(0), "Default"); // the host's one program is named after the preset
    source.prepareToPlay(48000.0, 512);
    ASSERT_TRUE(source.setPreset("CATHEDRAL", true));
    setPlainValue(source, "EffectDryWet", 77.0f);
    setPlainValue(source, "Freeze", 1.0f);
    const auto block = saveState(source);
    const auto xml = xmlOf(block);
    ASSERT_NE(xml, nullptr);
    EXPECT_TRUE(xml->hasTagName("Parameters"));
    EXPECT_EQ(xml->getStringAttribute("PresetName"), "CATHEDRAL");
    EXPECT_EQ(xml->getNumChildElements(), 17);

    ReverbProcessor restored;
    restored.setStateInformation(block.getData(), static_cast<int>(block.getSize()));
    for (const auto& id : hostParameterIds(restored))
        EXPECT_NEAR(plainValue(restored, id), plainValue(source, id), 1e-4) << id;
    EXPECT_TRUE(restored.restoredPresetFound);
    EXPECT_EQ(restored.currentPresetType, 1);
    EXPECT_EQ(restored.presetLists[1][static_cast<size_t>(restored.currentPresetIndex.load())]->name, "CATHEDRAL");
    EXPECT_NEAR(plainValue(restored, "EffectDryWet"), 77.0f, 1e-4); // not the preset's 60
    EXPECT_EQ(restored.getProgramName(0), "CATHEDRAL");

    // A preset deleted since keeps the values and its name, which the next save
    // stores again until another preset is chosen; the one chosen before is gone.
    const auto unknown = stateWith({ { "RoomSize", "33" } }, "MY DELETED PRESET");
    restored.setStateInformation(unknown.getData(), static_cast<int>(unknown.getSize()));
    EXPECT_FALSE(restored.restoredPresetFound);
    EXPECT_EQ(restored.currentPreset, nullptr);
    EXPECT_FLOAT_EQ(plainValue(restored, "RoomSize"), 33.0f);
    auto savedName = [&] { return xmlOf(saveState(restored))->getStringAttribute("PresetName"); };
    setPlainValue(restored, "RoomSize", 40.0f);
    EXPECT_EQ(savedName(), "MY DELETED PRESET");
    ASSERT_TRUE(restored.setPreset("CATHEDRAL", true));
    EXPECT_EQ(savedName(), "CATHEDRAL");
}

// A restore keeps only what the processor itself writes, so that every state it
// saves afterwards reads back the same: foreign attributes and children that fit a
// block it takes would otherwise be saved with more nodes or bytes than it reads. A
// state that names no preset (or "Default", which earlier versions saved when no
// preset was current) makes none current, and is saved naming none.
TEST_F(PluginState, WhatARestoreTakesIsSavedInAFormItReadsAgain)
{
    std::string foreign;
    for (int i = 0; i < 4080; ++i) // with the preset name, 4081 root attributes
        foreign += " x" + std::to_string(i) + "=\"\xC3\xA9\xC3\xA9\"";
    const std::string text = "<Parameters" + foreign + " PresetName=\"Default\"><PARAM id=\"RoomSize\" value=\"33\" note=\""
                             + std::string(60000, 'x') + "\"/><Other/><PARAM id=\"RoomSize\" value=\"1\"/></Parameters>";
    juce::MemoryOutputStream framed;
    framed.write("VC2!", 4);
    framed.writeInt(static_cast<int>(text.size()));
    framed.write(text.data(), text.size());

    ReverbProcessor processor;
    processor.setStateInformation(framed.getData(), static_cast<int>(framed.getDataSize()));
    ASSERT_TRUE(processor.stateRestored.exchange(false));
    EXPECT_EQ(processor.currentPreset, nullptr);
    const auto block = saveState(processor);
    const auto xml = xmlOf(block);
    EXPECT_EQ(xml->getNumAttributes(), 0);
    EXPECT_EQ(xml->getNumChildElements(), 17);
    for (auto* child : xml->getChildIterator())
        EXPECT_TRUE(child->hasTagName("PARAM") && child->getNumAttributes() == 2) << child->toString();

    ReverbProcessor again;
    again.setStateInformation(block.getData(), static_cast<int>(block.getSize()));
    ASSERT_TRUE(again.stateRestored);
    EXPECT_EQ(again.currentPreset, nullptr) << "not the factory DEFAULT";
    EXPECT_FLOAT_EQ(plainValue(again, "RoomSize"), 33.0f);
    EXPECT_EQ(saveState(again), block);
}

// Hosts restore a project before they activate the plug-in: the first prepare
// must neither apply the initial preset over the restored values nor start the
// engine from the defaults.
TEST_F(PluginState, ARestoreBeforeTheFirstPrepareSurvivesIt)
{
    ReverbProcessor processor;
    const auto block = stateWith({ { "EffectDryWet", "0" }, { "RoomSize", "80" }, { "InputGain", "-12" } }, "HALL");
    processor.setStateInformation(block.getData(), static_cast<int>(block.getSize()));
    processor.prepareToPlay(48000.0, 512);

    EXPECT_FLOAT_EQ(plainValue(processor, "EffectDryWet"), 0.0f);
    EXPECT_FLOAT_EQ(plainValue(processor, "RoomSize"), 80.0f);
    EXPECT_FLOAT_EQ(plainValue(processor, "InputGain"), -12.0f);
    ASSERT_NE(processor.currentPreset, nullptr);
    EXPECT_EQ(processor.currentPreset->name, "HALL");

    // 0 % wet from the very first sample: the output is the input, untouched.
    expectDryPassThrough(processor);
}

TEST_F(PluginState, TheInitialPresetIsAppliedOnceWhenNothingWasRestored)
{
    ReverbProcessor processor;
    setPlainValue(processor, "RoomSize", 3.0f);
    processor.prepareToPlay(44100.0, 512);
    ASSERT_NE(processor.currentPreset, nullptr);
    EXPECT_EQ(processor.currentPreset->name, "DEFAULT");
    EXPECT_FLOAT_EQ(plainValue(processor, "RoomSize"), 50.0f);

    setPlainValue(processor, "RoomSize", 4.0f);
    processor.prepareToPlay(96000.0, 512);
    EXPECT_FLOAT_EQ(plainValue(processor, "RoomSize"), 4.0f);
}

// Hosts call the state functions on their own threads while audio runs.
TEST_F(PluginState, StateAndPresetCallsFromOtherThreadsWhileAudioRuns)
{
    ReverbProcessor processor;
    processor.prepareToPlay(48000.0, 256);
    ReverbProcessor source;
    source.setPreset("PLATE", true);
    const auto plate = saveState(source);

    std::atomic<bool> stop { false }, finite { true };
    std::thread audio([&] {
        juce::AudioBuffer<float> buffer(2, 256);
        for (int round = 0; !stop; ++round)
        {
            fillNoise(buffer, round);
            process(processor, buffer);
            finite = finite && allFinite(buffer);
        }
    });
    std::thread host([&] {
        for (int i = 0; i < 200; ++i)
        {
            processor.setStateInformation(plate.getData(), static_cast<int>(plate.getSize()));
            saveState(processor);
        }
    });
    for (int i = 0; i < 200; ++i)
    {
        processor.setPreset(1 + i % 28);
        setPlainValue(processor, "RoomSize", static_cast<float>(i % 100));
        processor.getTailLengthSeconds();
    }
    host.join();
    stop = true;
    audio.join();
    EXPECT_TRUE(finite);
    expectAllValuesFiniteAndInRange(processor);
}
