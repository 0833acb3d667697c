#include "Preset/Preset.h"

Preset::Preset(juce::String presetName, juce::ValueTree presetState, bool user, juce::File presetFile)
    : name(std::move(presetName)), state(std::move(presetState)), isUser(user), file(std::move(presetFile))
{
}

bool Preset::operator<(const Preset& other) const
{
    return name < other.name;
}

bool Preset::operator==(const Preset& other) const
{
    return name == other.name && isUser == other.isUser && state == other.state;
}

bool Preset::comparePresets(Preset* a, Preset* b)
{
    if (a->name != b->name)
        return a->name < b->name;
    return a->file.getFullPathName() < b->file.getFullPathName();
}
