#pragma once

#include <juce_core/juce_core.h>

#include "Preset/Preset.h"
#include "Preset/PresetParser.h"

#include <map>
#include <memory>
#include <optional>
#include <vector>

class ParameterList;

// The plug-in's presets as the plug-in itself finds and reads them, with its own
// preset reading code and parameter table: the factory archive embedded in the
// plug-in, and the user's folder "ZORVIK/ZORVIK Reverb" in the documents folder.
// A preset is a map from parameter ID to plain value, one per host parameter.
class PresetLibrary
{
public:
    using Values = std::map<juce::String, double>;

    PresetLibrary();
    ~PresetLibrary();

    // By display name in any letter case; user presets first, as in the plug-in.
    std::optional<Values> find(const juce::String& name) const;
    juce::StringArray names() const;

    static juce::File userFolder();

private:
    juce::ValueTree makeDefaultState() const;

    std::unique_ptr<ParameterList> parameterList;
    PresetParser parser;
    std::vector<std::unique_ptr<Preset>> user;
    std::vector<std::unique_ptr<Preset>> factory;
};
