#pragma once

#include <juce_core/juce_core.h>
#include <juce_data_structures/juce_data_structures.h>

// A named parameter state: a factory preset, a user preset file or "DEFAULT".
class Preset
{
public:
    Preset() = default;
    Preset(juce::String name, juce::ValueTree state, bool isUser, juce::File file = {});
    ~Preset() = default;

    bool operator<(const Preset& other) const;
    bool operator==(const Preset& other) const;

    // Name order; presets of equal name keep the order of their files.
    static bool comparePresets(Preset* a, Preset* b);

    juce::String name;      // display name, upper case
    juce::ValueTree state;  // shared, never modified: applying a preset applies a copy
    bool isUser = false;
    // The file the preset was read from (none for factory presets). File names are
    // case-sensitive, so overwriting or deleting a user preset must use this file
    // rather than a name rebuilt from the upper-cased display name.
    juce::File file;
};
