#pragma once

#include <juce_core/juce_core.h>

#include <map>
#include <optional>

// The plug-in's presets as the plug-in itself finds them: the factory archive
// embedded in the plug-in, and the user's folder "ZORVIK/ZORVIK Reverb" in the
// documents folder. A preset is a map from parameter ID to plain value; the
// parameters it does not name take their defaults.
class PresetLibrary
{
public:
    using Values = std::map<juce::String, double>;

    PresetLibrary();

    // By display name in any letter case; user presets first, as in the plug-in.
    std::optional<Values> find(const juce::String& name) const;
    juce::StringArray names() const;

    static juce::File userFolder();
    static std::optional<Values> parse(const juce::String& text);

private:
    void add(const juce::String& fileName, const juce::String& text, std::map<juce::String, Values>& into);

    std::map<juce::String, Values> user;
    std::map<juce::String, Values> factory;
};
