#include "UI/Controls/OnOff/CustomToggleButton.h"

void CustomToggleButton::mouseDown(const juce::MouseEvent& e)
{
    if (! e.mods.isRightButtonDown())
        juce::ToggleButton::mouseDown(e);
    else if (auto* container = getParentComponent())
        container->mouseDown(e.getEventRelativeTo(container));
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
