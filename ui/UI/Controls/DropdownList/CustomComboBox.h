#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A combo box that never opens on a right click: right clicks are handed to the
// container, which opens the value editor.
class CustomComboBox : public juce::ComboBox
{
public:
    using juce::ComboBox::ComboBox;

    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;
};
