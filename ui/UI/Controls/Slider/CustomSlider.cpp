#include "UI/Controls/Slider/CustomSlider.h"

void CustomSlider::mouseDown(const juce::MouseEvent& e)
{
    if (! e.mods.isRightButtonDown())
        juce::Slider::mouseDown(e);
    else if (auto* container = getParentComponent())
        container->mouseDown(e.getEventRelativeTo(container));
}

void CustomSlider::mouseDrag(const juce::MouseEvent& e)
{
    if (! e.mods.isRightButtonDown())
        juce::Slider::mouseDrag(e);
}

void CustomSlider::mouseUp(const juce::MouseEvent& e)
{
    if (! e.mods.isRightButtonDown())
        juce::Slider::mouseUp(e);
}
