#include "UI/Controls/DropdownList/CustomComboBox.h"

void CustomComboBox::mouseDown(const juce::MouseEvent& e)
{
    if (! e.mods.isRightButtonDown())
        juce::ComboBox::mouseDown(e);
    else if (auto* container = getParentComponent())
        container->mouseDown(e.getEventRelativeTo(container));
}

void CustomComboBox::mouseDrag(const juce::MouseEvent& e)
{
    if (! e.mods.isRightButtonDown())
        juce::ComboBox::mouseDrag(e);
}

void CustomComboBox::mouseUp(const juce::MouseEvent& e)
{
    if (! e.mods.isRightButtonDown())
        juce::ComboBox::mouseUp(e);
}
