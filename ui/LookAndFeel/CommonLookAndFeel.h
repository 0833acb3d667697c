#pragma once

#include "Binaries/Zorvik.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdint>
#include <string>

// Shared base of the control looks: main colour, grey mode, value-text height, and
// the unit and flags of the bound parameter from which value texts are made.
class CommonLookAndFeel : public juce::LookAndFeel_V4
{
public:
    int valueTextHeight = 28;
    juce::Colour mainColour = Zorvik::blue;
    int unitCode = 0;
    uint32_t flags = 0xFFFFFFFFu;
    bool isGrey = false;

    juce::Font getValueFont() const;

    // The text shown on a control for a number given as text ("-6.0" -> "-6dB").
    // Locale-independent, never throws; a text that does not begin with a number,
    // or gives a non-finite value, is returned unchanged.
    std::string updateValueText(std::string text) const;

    // The value in fixed notation with exactly that many decimals ("." as separator).
    static std::string stringWithDecimals(float value, int decimals);

    // The leading number of text, parsed in the "C" locale; false when there is none.
    static bool parseLeadingFloat(const std::string& text, float& value);
};
