#pragma once

// Helpers for the processor tests: a temporary home folder per test, and
// plain-value access to host parameters.
#include "support/ProcessorAccess.h"

#include "Common/FilterDSPKernel.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace zorvik_test
{
// HOME and XDG_CONFIG_HOME point into a fresh temporary folder while it lives.
class ScopedHome
{
public:
    ScopedHome()
    {
        folder.createDirectory();
        setenv("HOME", folder.getFullPathName().toRawUTF8(), 1);
        setenv("XDG_CONFIG_HOME", folder.getChildFile(".config").getFullPathName().toRawUTF8(), 1);
    }

    ~ScopedHome()
    {
        setenv("HOME", oldHome.toRawUTF8(), 1);
        setenv("XDG_CONFIG_HOME", oldConfig.toRawUTF8(), 1);
        // Not the framework's recursive delete, which reads file names unchecked.
        std::error_code ignored;
        std::filesystem::remove_all(folder.getFullPathName().toStdString(), ignored);
    }

    juce::File presetFolder() const { return folder.getChildFile("Documents/ZORVIK/ZORVIK Reverb"); }

    const juce::File folder = juce::File::createTempFile("zorvik-home");

private:
    // The test main sets both.
    const juce::String oldHome = std::getenv("HOME"), oldConfig = std::getenv("XDG_CONFIG_HOME");
};

// A fresh home whose preset folder the test fills.
class PresetFolderTest : public ::testing::Test
{
protected:
    void write(const juce::String& name, const std::string& content)
    {
        folder.createDirectory();
        ASSERT_TRUE(folder.getChildFile(name).replaceWithData(content.data(), content.size()));
    }

    ScopedHome home;
    juce::File folder = home.presetFolder();
};

inline juce::MemoryBlock saveState(ReverbProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation(block);
    return block;
}

inline float treeValue(const juce::ValueTree& state, const juce::String& id)
{
    return static_cast<float>(state.getChildWithProperty("id", id).getProperty("value"));
}

// The host parameter IDs in host order (their names are checked through the bundle).
inline juce::StringArray hostParameterIds(ReverbProcessor& processor)
{
    juce::StringArray ids;
    for (auto* parameter : processor.getParameters())
        ids.add(dynamic_cast<juce::RangedAudioParameter&>(*parameter).getParameterID());
    return ids;
}

// A deterministic noise burst.
inline void fillNoise(juce::AudioBuffer<float>& buffer, int seed)
{
    juce::Random random(seed);
    for (int c = 0; c < buffer.getNumChannels(); ++c)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            buffer.setSample(c, i, random.nextFloat() * 2.0f - 1.0f);
}

inline bool allFinite(const juce::AudioBuffer<float>& buffer)
{
    for (int c = 0; c < buffer.getNumChannels(); ++c)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            if (!std::isfinite(buffer.getSample(c, i)))
                return false;
    return true;
}

inline void process(ReverbProcessor& processor, juce::AudioBuffer<float>& buffer)
{
    juce::MidiBuffer midi;
    processor.processBlock(buffer, midi);
}

inline void expectAllValuesFiniteAndInRange(ReverbProcessor& processor)
{
    for (const auto& id : hostParameterIds(processor))
    {
        const auto range = hostParameter(processor, id).getNormalisableRange();
        const float value = plainValue(processor, id);
        ASSERT_TRUE(std::isfinite(value) && value >= range.start && value <= range.end) << id << " " << value;
    }
    for (unsigned long i = 0; i < 18; ++i) // 16 is the ducker's meter
        ASSERT_TRUE(i == 16 || std::isfinite(processor.kernel->getParameter(i))) << i;
}

// At 0 % wet the processor passes a block of noise through untouched.
inline void expectDryPassThrough(ReverbProcessor& processor, int channels = 2)
{
    juce::AudioBuffer<float> buffer(channels, 512);
    fillNoise(buffer, 7);
    const juce::AudioBuffer<float> input(buffer);
    process(processor, buffer);
    for (int c = 0; c < channels; ++c)
        for (int i = 0; i < 512; ++i)
            ASSERT_EQ(buffer.getSample(c, i), input.getSample(c, i)) << c << " " << i;
}
} // namespace zorvik_test
