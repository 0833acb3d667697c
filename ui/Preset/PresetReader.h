#pragma once

#include <juce_core/juce_core.h>
#include <juce_data_structures/juce_data_structures.h>

#include <cstddef>
#include <vector>

class ParameterList;
class Preset;
class PresetParser;

// Finds and reads preset files: the entries of a ZIP archive and the files of a
// folder. A file is a preset when its name ends in "." and the extension and its
// XML has a root element with a child element; the parser applies that child's
// pairs to a copy of the default state. The preset's name is the file name without
// the extension, upper-cased; a name that XML cannot carry is skipped, as is a file
// whose name is not valid UTF-8. Files are read only when they are regular files of
// at most maximumFileBytes; anything else is skipped.
class PresetReader
{
public:
    static constexpr size_t maximumFileBytes = 1 << 20;

    PresetReader(juce::String extension, PresetParser& parser, juce::ValueTree defaultState, ParameterList* list);

    // New presets, sorted by name (presets of equal name by file); the caller owns them.
    std::vector<Preset*> readArchive(const void* zipData, size_t zipSize) const;
    std::vector<Preset*> readFolder(const juce::File& folder) const;

    // The preset in a file's content, or null when it is not one; the caller owns it.
    Preset* read(const juce::String& fileName, const juce::MemoryBlock& content, bool isUser,
                 const juce::File& file = {}) const;

private:
    bool isPresetFileName(const juce::String& fileName) const;

    juce::String suffix;
    PresetParser& parser;
    juce::ValueTree defaultState;
    ParameterList* parameterList;
};
