#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A toggle that a right click never flips: right clicks are handed to the container,
// which opens the value editor.
class CustomToggleButton : public juce::ToggleButton
{
public:
    using juce::ToggleButton::ToggleButton;

    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;
};
