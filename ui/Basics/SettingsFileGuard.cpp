#include "Basics/SettingsFileGuard.h"

std::unique_ptr<juce::PropertiesFile> SettingsFileGuard::open(const juce::File& file,
                                                              const juce::PropertiesFile::Options& options)
{
    return std::make_unique<juce::PropertiesFile>(file, options);
}
