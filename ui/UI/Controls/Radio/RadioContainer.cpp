#include "UI/Controls/Radio/RadioContainer.h"

#include <algorithm>
#include <cmath>

namespace
{
    constexpr int radioGroup = 1;
}

RadioContainer::RadioContainer(Parameter* p, std::string t, std::vector<std::string> options)
    : UIContainer(p, std::move(t))
{
    lookAndFeel.mainColour = mainColour;
    lookAndFeel.isGrey = isGrey;
    for (size_t i = 0; i < options.size(); ++i)
    {
        auto button = std::make_unique<CustomToggleButton>();
        addAndMakeVisible(*button);
        button->setLookAndFeel(&lookAndFeel);
        button->setButtonText(juce::String::fromUTF8(options[i].c_str()));
        button->setRadioGroupId(radioGroup);
        button->onClick = [this, i, b = button.get()] {
            if (b->getToggleState())
                select(static_cast<int>(i));
        };
        buttons.push_back(std::move(button));
    }
}

RadioContainer::~RadioContainer()
{
    stopTimer();
    detachLookAndFeels();
    buttonLookAndFeels.clear();
    if (state != nullptr && parameter != nullptr)
        state->removeParameterListener(parameter->name, this);
}

void RadioContainer::detachLookAndFeels()
{
    for (auto& button : buttons)
        button->setLookAndFeel(nullptr);
}

void RadioContainer::select(int index)
{
    ParameterGestures::writeOnce(hostParameter, static_cast<float>(index));
}

void RadioContainer::attach(juce::AudioProcessorValueTreeState& s)
{
    if (parameter == nullptr || s.getParameter(parameter->name) == nullptr)
        return;
    state = &s;
    hostParameter = s.getParameter(parameter->name);
    state->addParameterListener(parameter->name, this);
    parameterChanged(parameter->name, hostParameter->convertFrom0to1(hostParameter->getValue()));
    startTimerHz(12);
}

void RadioContainer::parameterChanged(const juce::String&, float value)
{
    if (! std::isfinite(value))
        return;
    const float clamped = std::clamp(value, -1.0f, static_cast<float>(buttons.size()));
    pendingIndex.store(static_cast<int>(clamped));
    dirty.store(true);
}

void RadioContainer::timerCallback()
{
    if (! dirty.exchange(false))
        return;
    const int index = pendingIndex.load();
    if (index >= 0 && index < static_cast<int>(buttons.size()))
        buttons[static_cast<size_t>(index)]->setToggleState(true, juce::dontSendNotification);
}

void RadioContainer::setMainColor(juce::Colour colour)
{
    UIContainer::setMainColor(colour);
    lookAndFeel.mainColour = colour;
}

void RadioContainer::setIsGrey(bool grey)
{
    isGrey = grey;
    lookAndFeel.isGrey = grey;
    repaint();
}

void RadioContainer::setForceAdapt(bool force)
{
    forceAdapt = force;
    resized();
}

void RadioContainer::setIsHorizontal(bool horizontal)
{
    isHorizontal = horizontal;
    resized();
}

void RadioContainer::setColors(const std::vector<juce::Colour>& colours)
{
    for (auto& button : buttons)
        button->setLookAndFeel(&lookAndFeel);
    buttonLookAndFeels.clear();
    for (size_t i = 0; i < buttons.size() && i < colours.size(); ++i)
    {
        auto look = std::make_unique<ButtonLookAndFeel>();
        look->mainColour = colours[i];
        look->forceSquare = false;
        buttons[i]->setLookAndFeel(look.get());
        buttonLookAndFeels.push_back(std::move(look));
    }
}

void RadioContainer::resized()
{
    UIContainer::resized();
    const int n = static_cast<int>(buttons.size());
    if (n == 0)
        return;
    const int width = getWidth();
    const int height = getHeight();
    const int strip = titleStripHeight;
    for (int i = 0; i < n; ++i)
    {
        auto& button = *buttons[static_cast<size_t>(i)];
        if (isHorizontal)
        {
            const float bw = static_cast<float>(width - 2 * n + 2) / static_cast<float>(n);
            const float bh = static_cast<float>(height - strip);
            button.setBounds(static_cast<int>(2.0f * static_cast<float>(i) + static_cast<float>(i) * bw), strip,
                             static_cast<int>(bw), static_cast<int>(bh));
        }
        else
        {
            const float bw = static_cast<float>(forceAdapt ? width - strip + 6 : width);
            const float bh = static_cast<float>(height - (2 * n + strip) + 2) / static_cast<float>(n);
            button.setBounds(static_cast<int>((static_cast<float>(width) - bw) * 0.5f),
                             static_cast<int>(2.0f * static_cast<float>(i) + static_cast<float>(i) * bh
                                              + static_cast<float>(strip)),
                             static_cast<int>(bw), static_cast<int>(bh));
        }
    }
}
