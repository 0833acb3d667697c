#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

struct Parameter;

// What the editor hands to the control value editor for one parameter. The host
// parameter is held by its common base: the host parameters of a product are float,
// integer or boolean, and each is written through its normalised range.
struct EditableParameter
{
    juce::RangedAudioParameter* hostParameter = nullptr;  // not owned
    juce::String name;                                   // display name
    Parameter* parameter = nullptr;                      // range, unit, default; not owned
};
