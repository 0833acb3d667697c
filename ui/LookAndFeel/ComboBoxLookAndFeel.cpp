#include "LookAndFeel/ComboBoxLookAndFeel.h"

void ComboBoxLookAndFeel::drawPopupMenuBackground(juce::Graphics& g, int width, int height)
{
    g.fillAll(Zorvik::background);
    g.setGradientFill(juce::ColourGradient(highlightColour.withAlpha(0.25f), 0.0f, 0.0f,
                                           highlightColour.withAlpha(0.05f), 0.0f, static_cast<float>(height), false));
    g.fillRect(0, 0, width, height);
}

void ComboBoxLookAndFeel::drawPopupMenuItem(juce::Graphics& g, const juce::Rectangle<int>& area, bool, bool,
                                            bool isHighlighted, bool isTicked, bool, const juce::String& text,
                                            const juce::String&, const juce::Drawable*, const juce::Colour*)
{
    if (isTicked)
    {
        g.setColour(highlightColour);
        g.fillRect(area);
    }
    else if (isHighlighted)
    {
        g.setColour(highlightColour.withAlpha(0.5f));
        g.fillRect(area);
    }
    g.setFont(getPopupMenuFont());
    g.setColour(juce::Colours::white);
    g.drawText(text, area, juce::Justification::centred, true);
}

juce::Font ComboBoxLookAndFeel::getPopupMenuFont()
{
    return Zorvik::getFontLight().withHeight(20.0f);
}

void ComboBoxLookAndFeel::drawComboBox(juce::Graphics&, int, int, bool, int, int, int, int, juce::ComboBox&)
{
}

juce::Font ComboBoxLookAndFeel::getComboBoxFont(juce::ComboBox&)
{
    return Zorvik::getFontLight().withHeight(20.0f);
}

void ComboBoxLookAndFeel::positionComboBoxText(juce::ComboBox&, juce::Label&)
{
}
