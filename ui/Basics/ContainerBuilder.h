#pragma once

#include <juce_graphics/juce_graphics.h>

#include <string>
#include <vector>

struct Parameter;
class UIContainer;

// Turns one row of a design's settings into a control: the only place where a
// widget kind meets a control class.
class ContainerBuilder
{
public:
    virtual ~ContainerBuilder() = default;

    // A new control the caller owns, or null for a kind that builds nothing. A row
    // that lacks the linked parameters, options or colours its kind needs throws
    // std::out_of_range.
    virtual UIContainer* build(Parameter* parameter, std::string title, int kind, std::vector<Parameter*> linked,
                               std::vector<std::string> options, std::vector<juce::Colour> colours);
};
