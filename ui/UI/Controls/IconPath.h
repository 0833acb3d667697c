#pragma once

#include <juce_graphics/juce_graphics.h>

// Makes an icon's outline for a rectangle; a container may draw one in place of its title.
class IconPath
{
public:
    virtual ~IconPath() = default;
    virtual juce::Path getPath(float x, float y, float width, float height) = 0;
};
