// Saving and restoring the plug-in state, including hostile state blocks.
#include "PluginTestSupport.h"

#include <cmath>
#include <limits>
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

    void expectAllValuesFiniteAndInRange(ReverbProcessor& processor)
    {
        for (const auto& id : hostParameterIds())
        {
            auto& parameter = hostParameter(processor, id);
            const float value = plainValue(processor, id);
            ASSERT_TRUE(std::isfinite(value)) << id;
            EXPECT_GE(value, parameter.getNormalisableRange().start) << id;
            EXPECT_LE(value, parameter.getNormalisableRange().end) << id;
        }
        for (unsigned long i = 0; i < 18; ++i)
        {
            if (i != 16)
            {
                ASSERT_TRUE(std::isfinite(processor.kernel->getParameter(i))) << i;
            }
        }
    }

    ScopedHome home;
};
} // namespace

TEST_F(PluginState, TheBlockIsBinaryXmlOfTheParameterTreeWithThePresetName)
{
    ReverbProcessor processor;
    ASSERT_TRUE(processor.setPreset("Hall", true));
    setPlainValue(processor, "RoomSize", 12.0f);

    const auto block = saveState(processor);
    const auto xml = juce::AudioProcessor::getXmlFromBinary(block.getData(), static_cast<int>(block.getSize()));
    ASSERT_NE(xml, nullptr);
    EXPECT_TRUE(xml->hasTagName("Parameters"));
    EXPECT_EQ(xml->getStringAttribute("PresetName"), "HALL");
    EXPECT_EQ(xml->getNumChildElements(), 17);
    for (auto* child : xml->getChildIterator())
    {
        EXPECT_TRUE(child->hasTagName("PARAM"));
        EXPECT_TRUE(hostParameterIds().contains(child->getStringAttribute("id")));
    }
    EXPECT_NEAR(xml->getChildByAttribute("id", "RoomSize")->getDoubleAttribute("value"), 12.0, 1e-4);
    EXPECT_NEAR(xml->getChildByAttribute("id", "ReverbTime")->getDoubleAttribute("value"), 2.9, 1e-5);
}

TEST_F(PluginState, WithoutACurrentPresetTheNameIsDefault)
{
    ReverbProcessor processor;
    const auto block = saveState(processor);
    const auto xml = juce::AudioProcessor::getXmlFromBinary(block.getData(), static_cast<int>(block.getSize()));
    ASSERT_NE(xml, nullptr);
    EXPECT_EQ(xml->getStringAttribute("PresetName"), "Default");

    ReverbProcessor restored;
    restored.setStateInformation(block.getData(), static_cast<int>(block.getSize()));
    EXPECT_TRUE(restored.restoredPresetFound);
    ASSERT_NE(restored.currentPreset, nullptr);
    EXPECT_EQ(restored.currentPreset->name, "DEFAULT");
}

TEST_F(PluginState, RoundTripRestoresValuesAndSelectsThePresetWithoutApplyingIt)
{
    ReverbProcessor source;
    source.prepareToPlay(48000.0, 512);
    ASSERT_TRUE(source.setPreset("CATHEDRAL", true));
    setPlainValue(source, "EffectDryWet", 77.0f);
    setPlainValue(source, "Freeze", 1.0f);
    const auto block = saveState(source);

    ReverbProcessor restored;
    restored.setStateInformation(block.getData(), static_cast<int>(block.getSize()));
    for (const auto& id : hostParameterIds())
        EXPECT_NEAR(plainValue(restored, id), plainValue(source, id), 1e-4) << id;
    EXPECT_TRUE(restored.stateRestored);
    EXPECT_TRUE(restored.restoredPresetFound);
    EXPECT_EQ(restored.restoredPresetName, "CATHEDRAL");
    EXPECT_EQ(restored.currentPresetType, 1);
    ASSERT_NE(restored.currentPreset, nullptr);
    EXPECT_EQ(restored.currentPreset->name, "CATHEDRAL");
    EXPECT_EQ(restored.presetLists[1][static_cast<size_t>(restored.currentPresetIndex.load())]->name, "CATHEDRAL");
    EXPECT_NEAR(plainValue(restored, "EffectDryWet"), 77.0f, 1e-4); // not the preset's 60
}

TEST_F(PluginState, AnUnknownPresetNameKeepsTheValuesAndThePreviousPreset)
{
    ReverbProcessor processor;
    processor.prepareToPlay(44100.0, 256);
    const auto block = stateWith({ { "RoomSize", "33" } }, "MY DELETED PRESET");
    processor.setStateInformation(block.getData(), static_cast<int>(block.getSize()));
    EXPECT_FALSE(processor.restoredPresetFound);
    EXPECT_EQ(processor.restoredPresetName, "MY DELETED PRESET");
    ASSERT_NE(processor.currentPreset, nullptr);
    EXPECT_EQ(processor.currentPreset->name, "DEFAULT");
    EXPECT_FLOAT_EQ(plainValue(processor, "RoomSize"), 33.0f);
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
    EXPECT_NEAR(processor.kernel->getParameter(17), 0.0f, 1e-6);

    // 0 % wet from the very first sample: the output is the input, untouched.
    juce::AudioBuffer<float> buffer(2, 512);
    fillNoise(buffer, 7);
    juce::AudioBuffer<float> input(buffer);
    process(processor, buffer);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 512; ++i)
            ASSERT_EQ(buffer.getSample(c, i), input.getSample(c, i)) << c << " " << i;
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

TEST_F(PluginState, NonFiniteValuesTakeTheDefaultAndOutOfRangeValuesClamp)
{
    ReverbProcessor processor;
    processor.prepareToPlay(44100.0, 256);
    setPlainValue(processor, "RoomSize", 20.0f);
    const auto block = stateWith({ { "RoomSize", "nan" },
                                   { "ReverbTime", "inf" },
                                   { "PreDelay", "-inf" },
                                   { "InputGain", "1e999" },
                                   { "EffectDryWet", "250" },
                                   { "DuckingThreshold", "-1000" },
                                   { "HFDamp", "not a number" },
                                   { "Freeze", "7" } });
    processor.setStateInformation(block.getData(), static_cast<int>(block.getSize()));
    EXPECT_FLOAT_EQ(plainValue(processor, "RoomSize"), 50.0f);
    EXPECT_FLOAT_EQ(plainValue(processor, "ReverbTime"), 3.2f);
    EXPECT_FLOAT_EQ(plainValue(processor, "PreDelay"), 10.0f);
    EXPECT_FLOAT_EQ(plainValue(processor, "InputGain"), 0.0f);
    EXPECT_FLOAT_EQ(plainValue(processor, "EffectDryWet"), 100.0f);
    EXPECT_FLOAT_EQ(plainValue(processor, "DuckingThreshold"), -90.0f);
    EXPECT_FLOAT_EQ(plainValue(processor, "HFDamp"), 9000.0f);
    EXPECT_FLOAT_EQ(plainValue(processor, "Freeze"), 1.0f);
    expectAllValuesFiniteAndInRange(processor);
}

TEST_F(PluginState, GarbageTruncatedEmptyAndForeignBlocksChangeNothing)
{
    ReverbProcessor processor;
    processor.prepareToPlay(44100.0, 256);
    setPlainValue(processor, "RoomSize", 21.0f);
    const auto good = saveState(processor);

    std::vector<juce::MemoryBlock> bad;
    bad.emplace_back();                                                   // empty
    bad.emplace_back(good.getData(), good.getSize() / 2);                 // truncated
    bad.emplace_back(good.getData(), 8);                                  // header only
    bad.emplace_back(juce::String("<Parameters><PARAM").toRawUTF8(), 18); // plain text
    {
        juce::XmlElement foreign("SomethingElse");
        foreign.createNewChildElement("PARAM")->setAttribute("id", "RoomSize");
        juce::MemoryBlock block;
        juce::AudioProcessor::copyXmlToBinary(foreign, block);
        bad.push_back(block);
    }
    setPlainValue(processor, "RoomSize", 22.0f);
    for (const auto& block : bad)
    {
        processor.setStateInformation(block.getData(), static_cast<int>(block.getSize()));
        EXPECT_FLOAT_EQ(plainValue(processor, "RoomSize"), 22.0f);
        EXPECT_FALSE(processor.stateRestored);
    }
    processor.setStateInformation(nullptr, 100);
    processor.setStateInformation(good.getData(), -5);
    EXPECT_FLOAT_EQ(plainValue(processor, "RoomSize"), 22.0f);
}

TEST_F(PluginState, MutatedBlocksNeverCrashOrLetBadValuesIn)
{
    ReverbProcessor source;
    ASSERT_TRUE(source.setPreset("UNDERWATER", true));
    const auto good = saveState(source);

    ReverbProcessor processor;
    processor.prepareToPlay(44100.0, 128);
    juce::AudioBuffer<float> buffer(2, 128);
    juce::Random random(1234);
    for (int round = 0; round < 400; ++round)
    {
        juce::MemoryBlock block(good);
        const int mutations = 1 + random.nextInt(8);
        for (int m = 0; m < mutations; ++m)
        {
            auto* bytes = static_cast<juce::uint8*>(block.getData());
            const int at = random.nextInt(static_cast<int>(block.getSize()));
            switch (random.nextInt(3))
            {
                case 0: bytes[at] = static_cast<juce::uint8>(random.nextInt(256)); break;
                case 1: bytes[at] = static_cast<juce::uint8>("0123456789.-eEnaif"[random.nextInt(18)]); break;
                default: block.setSize(static_cast<size_t>(at) + 1); break;
            }
        }
        processor.setStateInformation(block.getData(), static_cast<int>(block.getSize()));
        expectAllValuesFiniteAndInRange(processor);
        fillNoise(buffer, round);
        process(processor, buffer);
        ASSERT_TRUE(allFinite(buffer)) << "round " << round;
    }
}

// Hosts call the state functions on their own threads while audio runs.
TEST_F(PluginState, StateAndPresetCallsFromOtherThreadsWhileAudioRuns)
{
    ReverbProcessor processor;
    processor.prepareToPlay(48000.0, 256);
    ReverbProcessor source;
    source.setPreset("PLATE", true);
    const auto plate = saveState(source);

    std::atomic<bool> stop { false };
    std::atomic<bool> finite { true };
    std::thread audio([&] {
        juce::AudioBuffer<float> buffer(2, 256);
        juce::MidiBuffer midi;
        for (int round = 0; !stop; ++round)
        {
            fillNoise(buffer, round);
            processor.processBlock(buffer, midi);
            if (!allFinite(buffer))
                finite = false;
        }
    });
    std::thread host([&] {
        for (int i = 0; i < 200; ++i)
        {
            processor.setStateInformation(plate.getData(), static_cast<int>(plate.getSize()));
            juce::MemoryBlock block;
            processor.getStateInformation(block);
            processor.getProgramName(0);
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
