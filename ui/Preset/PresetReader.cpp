#include "Preset/PresetReader.h"

#include "Preset/FolderListing.h"
#include "Preset/Preset.h"
#include "Preset/PresetParser.h"
#include "Preset/RegularFileReader.h"
#include "Preset/SafeText.h"
#include "Preset/SafeXmlReader.h"

#include <algorithm>

PresetReader::PresetReader(juce::String extension, PresetParser& presetParser, juce::ValueTree defaults,
                           ParameterList* list)
    : suffix("." + extension), parser(presetParser), defaultState(std::move(defaults)), parameterList(list)
{
}

bool PresetReader::isPresetFileName(const juce::String& fileName) const
{
    return fileName.endsWith(suffix) && fileName.length() > suffix.length();
}

Preset* PresetReader::read(const juce::String& fileName, const juce::MemoryBlock& content, bool isUser,
                           const juce::File& file) const
{
    if (!isPresetFileName(fileName))
        return nullptr;
    // The name goes into saved states: one that XML cannot carry would make them unreadable.
    const auto name = fileName.dropLastCharacters(suffix.length()).toUpperCase();
    if (!SafeText::isXmlText(name))
        return nullptr;
    const auto xml = SafeXmlReader::parse(content.getData(), content.getSize());
    if (xml == nullptr || xml->getFirstChildElement() == nullptr)
        return nullptr;
    const auto tree = parser.valueTreeFromPreset(defaultState, xml->getFirstChildElement(), parameterList);
    return new Preset(name, tree, isUser, file);
}

std::vector<Preset*> PresetReader::readArchive(const void* zipData, size_t zipSize) const
{
    std::vector<Preset*> presets;
    juce::ZipFile archive(new juce::MemoryInputStream(zipData, zipSize, false), true);
    for (int i = 0; i < archive.getNumEntries(); ++i)
    {
        const auto* entry = archive.getEntry(i);
        if (entry == nullptr || !isPresetFileName(entry->filename))
            continue;
        std::unique_ptr<juce::InputStream> stream(archive.createStreamForEntry(i));
        juce::MemoryBlock content;
        if (stream == nullptr || stream->readIntoMemoryBlock(content, maximumFileBytes + 1) > maximumFileBytes)
            continue;
        if (auto* preset = read(entry->filename, content, false))
            presets.push_back(preset);
    }
    std::stable_sort(presets.begin(), presets.end(), Preset::comparePresets);
    return presets;
}

std::vector<Preset*> PresetReader::readFolder(const juce::File& folder) const
{
    std::vector<Preset*> presets;
    for (const auto& fileName : FolderListing::names(folder))
    {
        if (!isPresetFileName(fileName))
            continue;
        // Not getChildFile, which takes a name starting with '~' for a path in a home folder.
        const auto file = juce::File::createFileWithoutCheckingPath(folder.getFullPathName() + "/" + fileName);
        const auto content = RegularFileReader::read(file, maximumFileBytes);
        if (!content)
            continue;
        if (auto* preset = read(fileName, *content, true, file))
            presets.push_back(preset);
    }
    std::stable_sort(presets.begin(), presets.end(), Preset::comparePresets);
    return presets;
}
