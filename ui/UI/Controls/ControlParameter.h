#pragma once

#include <juce_core/juce_core.h>

struct Parameter;

// What a control hands to the editor on a right click: a display name and the
// parameter (not owned).
struct ControlParameter
{
    juce::String name;
    Parameter* parameter = nullptr;
};
