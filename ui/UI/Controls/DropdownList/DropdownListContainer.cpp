#include "UI/Controls/DropdownList/DropdownListContainer.h"

#include "UI/Controls/HostValue.h"
#include "UI/Controls/ParameterGestures.h"

#include <algorithm>
#include <cmath>

DropdownListContainer::DropdownListContainer(Parameter* p, std::string t, std::vector<std::string> optionTexts)
    : UIContainer(p, std::move(t)),
      label(std::make_unique<juce::Label>()),
      comboBox(std::make_unique<CustomComboBox>()),
      previousButton(std::make_unique<CustomArrowButton>("previous", 0.5f, mainColour)),
      nextButton(std::make_unique<CustomArrowButton>("next", 0.0f, mainColour))
{
    for (const auto& option : optionTexts)
        options.add(juce::String::fromUTF8(option.c_str()));

    label->setJustificationType(juce::Justification::centred);
    label->setFont(Zorvik::getFontLight().withHeight(22.0f));
    label->setInterceptsMouseClicks(false, false);
    label->setColour(juce::Label::textColourId, mainColour);

    comboBox->addItemList(options, 1);
    lookAndFeel.highlightColour = mainColour;
    comboBox->setLookAndFeel(&lookAndFeel);

    addAndMakeVisible(*label);
    addAndMakeVisible(*comboBox);
    addAndMakeVisible(*previousButton);
    addAndMakeVisible(*nextButton);

    previousButton->onClick = [this] { onPreviousClick(); };
    nextButton->onClick = [this] { onNextClick(); };
    comboBox->onChange = [this] { onDropdownItemSelected(); };
}

DropdownListContainer::~DropdownListContainer()
{
    stopTimer();
    if (valueTreeState != nullptr && parameter != nullptr)
        valueTreeState->removeParameterListener(parameter->name, this);
    comboBox->setLookAndFeel(nullptr);
    nextButton.reset();
    previousButton.reset();
    comboBox.reset();
    label.reset();
}

void DropdownListContainer::attach(juce::AudioProcessorValueTreeState& state)
{
    if (parameter == nullptr || state.getParameter(parameter->name) == nullptr)
        return;
    hostParameter = state.getParameter(parameter->name);
    valueTreeState = &state;
    state.addParameterListener(parameter->name, this);
    parameterChanged(parameter->name, HostValue::plain(hostParameter));
    update();
    startTimerHz(12);
}

void DropdownListContainer::parameterChanged(const juce::String&, float value)
{
    // Values beyond the list show as "no option", and the arrows step on from the
    // value itself. The limit keeps the index an int.
    constexpr float limit = 1.0e6f;
    const float index = std::isfinite(value) ? std::clamp(std::round(value), -limit, limit) : 0.0f;
    currentIndex.store(static_cast<int>(index));
    pendingUpdate.store(true);
}

void DropdownListContainer::timerCallback()
{
    update();
}

void DropdownListContainer::update()
{
    if (! pendingUpdate.exchange(false))
        return;
    const int index = currentIndex.load();
    label->setText(juce::isPositiveAndBelow(index, options.size()) ? options[index] : juce::String(),
                   juce::dontSendNotification);
    // A change that comes from the host is only shown, never written back.
    comboBox->setSelectedId(index + 1, juce::dontSendNotification);
}

void DropdownListContainer::select(int index)
{
    currentIndex.store(index);
    ParameterGestures::writeOnce(hostParameter, static_cast<float>(index));
}

void DropdownListContainer::onPreviousClick()
{
    const int index = currentIndex.load();
    select(index < 1 ? options.size() - 1 : index - 1);
}

void DropdownListContainer::onNextClick()
{
    const int index = currentIndex.load();
    select(index + 1 < options.size() ? index + 1 : 0);
}

void DropdownListContainer::onDropdownItemSelected()
{
    const int id = comboBox->getSelectedId();
    if (id > 0)
        select(id - 1);
}

void DropdownListContainer::setMainColor(juce::Colour colour)
{
    UIContainer::setMainColor(colour);
    lookAndFeel.highlightColour = colour;
    label->setColour(juce::Label::textColourId, colour);
    previousButton->setColor(colour);
    nextButton->setColor(colour);
}

void DropdownListContainer::useArrows(bool use)
{
    showArrows = use;
    if (! use)
    {
        previousButton->setVisible(false);
        nextButton->setVisible(false);
        resized();
    }
}

void DropdownListContainer::resized()
{
    UIContainer::resized();
    const int strip = titleStripHeight;
    const float width = static_cast<float>(getWidth());
    const float h = static_cast<float>(getHeight() - strip);
    const float a = showArrows ? std::min(0.95f * h, 0.22f * width) : 0.0f;
    const int side = static_cast<int>(a);
    const int arrowY = static_cast<int>(static_cast<float>(strip) + 2.0f + (h - a) * 0.5f);

    previousButton->setBounds(2, arrowY, side, side);
    nextButton->setBounds(static_cast<int>(width - a), arrowY, side, side);
    label->setBounds(static_cast<int>(2.0f + a), strip, static_cast<int>(width - 2.0f * a - 4.0f),
                     static_cast<int>(h - 2.0f));
    comboBox->setBounds(0, strip, getWidth(), static_cast<int>(h));
}
