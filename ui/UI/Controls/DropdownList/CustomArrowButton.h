#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A small triangular arrow with a soft shadow whose colour can change after construction.
// A right click never presses it: it is handed to the container, which opens the
// value editor.
class CustomArrowButton : public juce::ArrowButton
{
public:
    // direction is a fraction of a full turn: 0 right, 0.25 down, 0.5 left, 0.75 up.
    CustomArrowButton(const juce::String& name, float direction, juce::Colour colour);

    void paintButton(juce::Graphics&, bool isMouseOver, bool isButtonDown) override;
    void setColor(juce::Colour newColour);
    juce::Colour getColor() const { return colour; }

    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;

    // The arrow as drawn for the button's current size.
    juce::Path arrowForState(bool isButtonDown) const;

private:
    juce::Colour colour;
    juce::Path arrowShape;
};
