#include "UI/PageSelector.h"

#include "Binaries/Zorvik.h"

PageSelector::PageSelector(PageSelectorDelegate* d) : delegate(d)
{
    lookAndFeel.useCustomColours = true;
    lookAndFeel.onTextColour = Zorvik::background;
    lookAndFeel.offTextColour = juce::Colours::white;
    lookAndFeel.onColour = Zorvik::white;
    lookAndFeel.offColour = Zorvik::blue;
    lookAndFeel.forceSquare = false;
    lookAndFeel.drawOutline = false;
    lookAndFeel.offGradient = true;
}

PageSelector::~PageSelector()
{
    clearTabs();
}

void PageSelector::clearTabs()
{
    for (auto& button : buttons)
        button->setLookAndFeel(nullptr);
    buttons.clear();
}

void PageSelector::init(std::vector<std::string> names, int selected)
{
    clearTabs();
    for (size_t i = 0; i < names.size(); ++i)
    {
        auto button = std::make_unique<juce::ToggleButton>();
        button->setLookAndFeel(&lookAndFeel);
        button->setButtonText(names[i]);
        button->setRadioGroupId(1, juce::sendNotification);
        if (static_cast<int>(i) == selected)
            button->setToggleState(true, juce::dontSendNotification);
        const int page = static_cast<int>(i);
        button->onClick = [this, page] { updateState(page); };
        addAndMakeVisible(*button);
        buttons.push_back(std::move(button));
    }
    resized();
}

void PageSelector::updateState(int page)
{
    if (delegate != nullptr)
        delegate->onPageSelected(page);
}

void PageSelector::resized()
{
    const int n = static_cast<int>(buttons.size());
    if (n == 0)
        return;
    const int w = std::max(getWidth() - 2, 0);
    const int h = std::max(getHeight() - 2, 0);
    for (int i = 0; i < n; ++i)
        buttons[static_cast<size_t>(i)]->setBounds(1 + (i * w) / n, 1, w / n, h);
}
