#include "PresetLibrary.h"

#include <BinaryData.h>

#include <cmath>

namespace
{
const juce::String extension = ".rbprs";
constexpr juce::int64 maximumFileSize = 1 << 20;
} // namespace

PresetLibrary::PresetLibrary()
{
    factory["DEFAULT"] = {};
    juce::ZipFile archive(new juce::MemoryInputStream(BinaryData::Presets_zip,
                                                      static_cast<size_t>(BinaryData::Presets_zipSize), false),
                          true);
    for (int i = 0; i < archive.getNumEntries(); ++i)
    {
        std::unique_ptr<juce::InputStream> stream(archive.createStreamForEntry(i));
        if (stream != nullptr)
            add(archive.getEntry(i)->filename, stream->readEntireStreamAsString(), factory);
    }

    for (const auto& entry : juce::RangedDirectoryIterator(userFolder(), false, "*", juce::File::findFiles))
        if (entry.getFileSize() <= maximumFileSize)
            add(entry.getFile().getFileName(), entry.getFile().loadFileAsString(), user);
}

juce::File PresetLibrary::userFolder()
{
    return juce::File::getSpecialLocation(juce::File::userDocumentsDirectory)
        .getChildFile("ZORVIK")
        .getChildFile("ZORVIK Reverb");
}

void PresetLibrary::add(const juce::String& fileName, const juce::String& text,
                        std::map<juce::String, Values>& into)
{
    if (!fileName.endsWith(extension) || fileName.length() <= extension.length())
        return;
    const auto name = fileName.dropLastCharacters(extension.length()).toUpperCase();
    if (into.count(name) != 0)
        return;
    if (auto values = parse(text))
        into[name] = *values;
}

std::optional<PresetLibrary::Values> PresetLibrary::parse(const juce::String& text)
{
    const auto xml = juce::XmlDocument::parse(text);
    if (xml == nullptr || xml->getFirstChildElement() == nullptr)
        return std::nullopt;
    Values values;
    juce::String key;
    for (auto* element : xml->getFirstChildElement()->getChildIterator())
    {
        const auto content = element->getAllSubText().trim();
        if (element->hasTagName("key"))
            key = content;
        else if (element->hasTagName("real") && key.isNotEmpty() && content.isNotEmpty())
        {
            const double value = content.getDoubleValue();
            if (std::isfinite(value))
                values[key] = value;
        }
    }
    return values;
}

std::optional<PresetLibrary::Values> PresetLibrary::find(const juce::String& name) const
{
    const auto target = name.toUpperCase();
    for (const auto* list : { &user, &factory })
        if (const auto found = list->find(target); found != list->end())
            return found->second;
    return std::nullopt;
}

juce::StringArray PresetLibrary::names() const
{
    juce::StringArray result;
    for (const auto& [name, values] : user)
        result.add(name + " (user)");
    for (const auto& [name, values] : factory)
        result.add(name);
    return result;
}
