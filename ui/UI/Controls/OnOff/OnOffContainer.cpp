#include "UI/Controls/OnOff/OnOffContainer.h"

OnOffContainer::OnOffContainer(Parameter* p, std::string t, std::vector<std::string> options)
    : UIContainer(p, std::move(t)), button(std::make_unique<CustomToggleButton>())
{
    const bool on = parameter != nullptr && parameter->defaultValue != 0.0f;
    button->setToggleState(on, juce::dontSendNotification);
    addAndMakeVisible(*button);

    if (options.size() == 2)
    {
        lookAndFeel.onText = juce::String::fromUTF8(options[0].c_str());
        lookAndFeel.offText = juce::String::fromUTF8(options[1].c_str());
    }
    lookAndFeel.mainColour = mainColour;
    lookAndFeel.isGrey = isGrey;
    button->setLookAndFeel(&lookAndFeel);
}

OnOffContainer::~OnOffContainer()
{
    button->setLookAndFeel(nullptr);
    attachment.reset();
    button.reset();
}

void OnOffContainer::attach(juce::AudioProcessorValueTreeState& state)
{
    if (parameter == nullptr || state.getParameter(parameter->name) == nullptr)
        return;
    attachment = std::make_unique<juce::AudioProcessorValueTreeState::ButtonAttachment>(state, parameter->name,
                                                                                          *button);
}

void OnOffContainer::setMainColor(juce::Colour colour)
{
    UIContainer::setMainColor(colour);
    lookAndFeel.mainColour = colour;
}

void OnOffContainer::setIsGrey(bool grey)
{
    isGrey = grey;
    lookAndFeel.isGrey = grey;
    repaint();
}

void OnOffContainer::setForceSmall(bool force)
{
    forceSmall = force;
    resized();
}

void OnOffContainer::resized()
{
    UIContainer::resized();
    const int width = getWidth();
    const int height = getHeight();
    const int strip = titleStripHeight;
    const int w = forceSmall ? static_cast<int>(width / 3.0) : width;
    const int h = forceSmall ? w : height - strip;
    const int x = static_cast<int>((width - w) * 0.5);
    const int y = static_cast<int>((height - (strip + h)) * 0.5) + strip;
    button->setBounds(x, y, w, h);
}
