#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Rounded text buttons with a 2-px outline and the Oswald Light face at fixed heights,
// for the header, the preset browser, the dialogs and the overlays.
class PresetButtonLookAndFeel : public juce::LookAndFeel_V4
{
public:
    PresetButtonLookAndFeel() = default;
    ~PresetButtonLookAndFeel() override = default;

    void drawButtonBackground(juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                              bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    juce::Font getTextButtonFont(juce::TextButton&, int buttonHeight) override;
    juce::Font getLabelFont(juce::Label&) override;

    // Corner size of a button of the given height: a quarter, in whole pixels.
    static float cornerSize(int height) { return static_cast<float>(height / 4); }
};
