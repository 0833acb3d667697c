#pragma once

#include <juce_data_structures/juce_data_structures.h>

#include <memory>

// Opens the settings file for the processor, checking it before the framework
// reads it. (Being written.)
class SettingsFileGuard
{
public:
    static std::unique_ptr<juce::PropertiesFile> open(const juce::File& file,
                                                      const juce::PropertiesFile::Options& options);
};
