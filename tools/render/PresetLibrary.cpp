#include "PresetLibrary.h"

#include "Basics/UserFolders.h"
#include "Preset/PresetReader.h"
#include "ZorvikReverbParameterList.h"

#include <BinaryData.h>

namespace
{
std::vector<std::unique_ptr<Preset>> owned(const std::vector<Preset*>& presets)
{
    return { presets.begin(), presets.end() };
}
} // namespace

PresetLibrary::PresetLibrary() : parameterList(std::make_unique<ZorvikReverbParameterList>())
{
    const auto defaultState = makeDefaultState();
    const PresetReader reader("rbprs", parser, defaultState, parameterList.get());
    factory = owned(reader.readArchive(BinaryData::Presets_zip, static_cast<size_t>(BinaryData::Presets_zipSize)));
    factory.insert(factory.begin(), std::make_unique<Preset>("DEFAULT", defaultState, false));
    user = owned(reader.readFolder(userFolder()));
}

PresetLibrary::~PresetLibrary() = default;

// Every host parameter at its default, as the plug-in's own default state.
juce::ValueTree PresetLibrary::makeDefaultState() const
{
    juce::ValueTree state("Parameters");
    for (const auto* p : *parameterList)
        if (!p->isOutput)
            state.appendChild(juce::ValueTree("PARAM", { { "id", juce::String(p->name) }, { "value", p->defaultValue } }),
                              nullptr);
    return state;
}

juce::File PresetLibrary::userFolder()
{
    const auto documents = UserFolders::documents();
    return documents != juce::File() ? documents.getChildFile("ZORVIK").getChildFile("ZORVIK Reverb") : juce::File();
}

std::optional<PresetLibrary::Values> PresetLibrary::find(const juce::String& name) const
{
    const auto target = name.toUpperCase();
    for (const auto* list : { &user, &factory })
        for (const auto& preset : *list)
            if (preset->name == target)
            {
                Values values;
                for (const auto& child : preset->state)
                    values[child.getProperty("id").toString()] = static_cast<double>(child.getProperty("value"));
                return values;
            }
    return std::nullopt;
}

juce::StringArray PresetLibrary::names() const
{
    juce::StringArray result;
    for (const auto& preset : user)
        result.add(preset->name + " (user)");
    for (const auto& preset : factory)
        result.add(preset->name);
    return result;
}
