#pragma once

#include <juce_core/juce_core.h>
#include <juce_data_structures/juce_data_structures.h>

#include <optional>

class ParameterList;
struct Parameter;

// Converts between preset files (a property-list "dict" of key/value pairs) and
// the processor's parameter state tree.
class PresetParser
{
public:
    virtual ~PresetParser() = default;

    // A copy of defaultState with the values of the dict applied. Values that are
    // not numbers or not finite keep the default; values out of range are clamped.
    virtual juce::ValueTree valueTreeFromPreset(juce::ValueTree defaultState, juce::XmlElement* dict,
                                                ParameterList* list);

    // A new "plist" element that the caller owns.
    virtual juce::XmlElement* presetFromValueTree(juce::ValueTree state, ParameterList* list);

    // Helpers shared with the state restore.
    static Parameter* findParameter(ParameterList* list, const juce::String& name);
    // A finite number from a number or a decimal text ("C" notation); nothing otherwise.
    static std::optional<double> readNumber(const juce::var& value);
    // The value clamped to the parameter's range.
    static float clampToRange(const Parameter& parameter, double value);
    // The integer whose int-to-text is the text, or 0.
    static float stringToIntValue(const Parameter& parameter, const char* text);

private:
    static void applyReal(juce::ValueTree& result, const juce::String& key, const juce::String& text,
                          ParameterList* list);
    static void applyString(juce::ValueTree& result, const juce::String& key, const juce::String& text,
                            ParameterList* list);
};
