#pragma once

#include <juce_graphics/juce_graphics.h>

// The colour palette and the embedded typefaces shared by all user-interface code.
namespace Zorvik
{
    inline const juce::Colour blue { 0, 184, 248 };
    inline const juce::Colour orange { 255, 166, 0 };
    inline const juce::Colour yellow { 255, 204, 0 };
    inline const juce::Colour green { 84, 189, 97 };
    inline const juce::Colour red { 255, 103, 89 };
    inline const juce::Colour mauve { 151, 123, 228 };
    inline const juce::Colour background { 29, 29, 29 };
    inline const juce::Colour white { 238, 226, 223 };

    // Copies of the cached Oswald Light and Bold fonts; callers set the height on their copy.
    juce::Font getFontLight();
    juce::Font getFontBold();
}
