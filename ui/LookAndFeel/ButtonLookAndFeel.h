#pragma once

#include "LookAndFeel/CommonLookAndFeel.h"

// Draws a toggle as a box, filled while on and outlined (or shaded) while off, with a
// short text or, in glyph mode, a small white line glyph named by the button text.
class ButtonLookAndFeel : public CommonLookAndFeel
{
public:
    ButtonLookAndFeel();
    ~ButtonLookAndFeel() override = default;

    juce::String onText { "ON" };
    juce::String offText { "OFF" };
    bool useCustomColours = false;
    juce::Colour onTextColour = juce::Colours::black;
    juce::Colour offTextColour = juce::Colours::black;
    juce::Colour onColour = juce::Colours::black;
    juce::Colour offColour = juce::Colours::black;
    bool forceSquare = false;
    bool isWaveform = false;
    bool drawOutline = true;
    bool offGradient = false;

    void drawToggleButton(juce::Graphics&, juce::ToggleButton&, bool shouldDrawButtonAsHighlighted,
                          bool shouldDrawButtonAsDown) override;

    // The glyph named name for a box of bw x bh, measured from the button's corner;
    // an unknown name gives an empty path.
    static juce::Path glyphPath(const juce::String& name, float bw, float bh);
};
