#pragma once

#include "LookAndFeel/CommonLookAndFeel.h"

// The drop-down list's look: the combo box itself draws nothing, its pop-up menu is a
// dark panel with a tinted gradient and centred white item texts.
class ComboBoxLookAndFeel : public CommonLookAndFeel
{
public:
    ComboBoxLookAndFeel() = default;
    ~ComboBoxLookAndFeel() override = default;

    juce::Colour highlightColour = Zorvik::blue;

    void drawPopupMenuBackground(juce::Graphics&, int width, int height) override;
    void drawPopupMenuItem(juce::Graphics&, const juce::Rectangle<int>& area, bool isSeparator, bool isActive,
                           bool isHighlighted, bool isTicked, bool hasSubMenu, const juce::String& text,
                           const juce::String& shortcutKeyText, const juce::Drawable* icon,
                           const juce::Colour* textColour) override;
    juce::Font getPopupMenuFont() override;
    void drawComboBox(juce::Graphics&, int width, int height, bool isButtonDown, int buttonX, int buttonY,
                      int buttonW, int buttonH, juce::ComboBox&) override;
    juce::Font getComboBoxFont(juce::ComboBox&) override;
    void positionComboBoxText(juce::ComboBox&, juce::Label&) override;
};
