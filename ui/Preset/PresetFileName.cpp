#include "Preset/PresetFileName.h"

#include "Preset/Preset.h"
#include "Preset/SafeText.h"

namespace
{
    constexpr size_t maximumNameBytes = 200;
    const juce::String forbiddenCharacters = "/\\:*?\"<>|";
}

bool PresetFileName::isValid(const juce::String& name)
{
    // A leading '~' would make the name a path of its own (a home folder), not a
    // file in the preset folder.
    if (name.trim().isEmpty() || name.startsWithChar('.') || name.startsWithChar('~'))
        return false;
    if (name.getNumBytesAsUTF8() > maximumNameBytes || name.containsAnyOf(forbiddenCharacters))
        return false;
    for (auto c : name)
        if (c < 0x20 || c == 0x7f)
            return false;
    return SafeText::isXmlText(name);
}

Preset* PresetFileName::findUserPreset(const juce::String& name, const std::vector<Preset*>& userPresets)
{
    const auto upper = name.toUpperCase();
    for (auto* preset : userPresets)
        if (preset != nullptr && preset->isUser && preset->name == upper)
            return preset;
    return nullptr;
}

juce::File PresetFileName::fileForSaving(const juce::File& folder, const juce::String& name,
                                         const juce::String& extension, const std::vector<Preset*>& userPresets)
{
    if (!isValid(name))
        return {};
    juce::File file;
    if (auto* existing = findUserPreset(name, userPresets); existing != nullptr && existing->file != juce::File())
        file = existing->file;
    else
        file = folder.getChildFile(name + "." + extension);
    if (file.getParentDirectory() != folder)
        return {};
    return file;
}
