#include "UI/Controls/OnOff/CustomToggleButton.h"

void CustomToggleButton::mouseDown(const juce::MouseEvent& e)
{
    if (! e.mods.isRightButtonDown())
        juce::ToggleButton::mouseDown(e);
}

void CustomToggleButton::mouseDrag(const juce::MouseEvent& e)
{
    if (! e.mods.isRightButtonDown())
        juce::ToggleButton::mouseDrag(e);
}

void CustomToggleButton::mouseUp(const juce::MouseEvent& e)
{
    if (! e.mods.isRightButtonDown())
        juce::ToggleButton::mouseUp(e);
}
