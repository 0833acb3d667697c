#pragma once

#include <juce_graphics/juce_graphics.h>

#include <string>
#include <vector>

// One row of a design's UI table: which control to build for a parameter key, with
// its title, the keys of further parameters it drives, option texts, edge marks and
// extra colours.
struct ParameterUISettings
{
    ParameterUISettings() = default;
    ParameterUISettings(std::string title, int kind, std::vector<int> linked, std::vector<std::string> options,
                        std::vector<bool> linkMarks, std::vector<juce::Colour> colours);

    std::string title;
    int kind = 0;
    std::vector<int> linked;
    std::vector<std::string> options;
    std::vector<bool> linkMarks { false, false };
    std::vector<juce::Colour> colours;
};
