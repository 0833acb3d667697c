#include "LookAndFeel/PresetButtonLookAndFeel.h"

#include "Binaries/Zorvik.h"

void PresetButtonLookAndFeel::drawButtonBackground(juce::Graphics& g, juce::Button& button, const juce::Colour&,
                                                   bool highlighted, bool down)
{
    auto fill = button.findColour(juce::TextButton::buttonColourId);
    if (down)
        fill = button.findColour(juce::TextButton::buttonOnColourId);
    else if (highlighted)
        fill = fill.brighter(0.08f);

    const float width = static_cast<float>(button.getWidth());
    const float height = static_cast<float>(button.getHeight());
    const float corner = cornerSize(button.getHeight());
    g.setColour(fill);
    g.fillRoundedRectangle(0.0f, 0.0f, width, height, corner);

    auto outline = button.findColour(juce::TextButton::textColourOnId);
    if (! button.isEnabled())
        outline = outline.darker(0.4f);
    g.setColour(outline);
    g.drawRoundedRectangle(0.0f, 0.0f, width, height, corner, 2.0f);
}

juce::Font PresetButtonLookAndFeel::getTextButtonFont(juce::TextButton&, int)
{
    return Zorvik::getFontLight().withHeight(22.0f);
}

juce::Font PresetButtonLookAndFeel::getLabelFont(juce::Label&)
{
    return Zorvik::getFontLight().withHeight(25.0f);
}
