#include "UI/Controls/DropdownList/CustomArrowButton.h"

CustomArrowButton::CustomArrowButton(const juce::String& name, float direction, juce::Colour c)
    : juce::ArrowButton(name, direction, c), colour(c)
{
    arrowShape.addTriangle(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.5f);
    arrowShape.applyTransform(
        juce::AffineTransform::rotation(juce::MathConstants<float>::twoPi * direction, 0.5f, 0.5f));
}

juce::Path CustomArrowButton::arrowForState(bool isButtonDown) const
{
    const float offset = isButtonDown ? 1.0f : 0.0f;
    juce::Path p(arrowShape);
    p.scaleToFit(offset, offset, static_cast<float>(getWidth()) - 3.0f, static_cast<float>(getHeight()) - 3.0f,
                 false);
    return p;
}

void CustomArrowButton::paintButton(juce::Graphics& g, bool, bool isButtonDown)
{
    const auto p = arrowForState(isButtonDown);
    juce::DropShadow(juce::Colours::black.withAlpha(0.3f), isButtonDown ? 2 : 4, {}).drawForPath(g, p);
    g.setColour(colour);
    g.fillPath(p);
}

void CustomArrowButton::setColor(juce::Colour newColour)
{
    colour = newColour;
    repaint();
}

void CustomArrowButton::mouseDown(const juce::MouseEvent& e)
{
    if (! e.mods.isRightButtonDown())
        juce::ArrowButton::mouseDown(e);
    else if (auto* container = getParentComponent())
        container->mouseDown(e.getEventRelativeTo(container));
}

void CustomArrowButton::mouseDrag(const juce::MouseEvent& e)
{
    if (! e.mods.isRightButtonDown())
        juce::ArrowButton::mouseDrag(e);
}

void CustomArrowButton::mouseUp(const juce::MouseEvent& e)
{
    if (! e.mods.isRightButtonDown())
        juce::ArrowButton::mouseUp(e);
}
