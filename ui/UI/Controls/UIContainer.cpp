#include "UI/Controls/UIContainer.h"

namespace
{
    // Letters a to z become capitals and every other byte stays: the host's locale
    // must not change a title (a Turkish one capitalises 'i' as a dotted letter).
    char upperCaseAscii(char c)
    {
        return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }

    std::string upperCaseAscii(std::string s)
    {
        for (auto& c : s)
            c = upperCaseAscii(c);
        return s;
    }
}

UIContainer::UIContainer(Parameter* p, std::string t)
    : parameter(p),
      titleLabel(std::make_unique<juce::Label>()),
      title(upperCaseAscii(std::move(t)))
{
    titleLabel->setText(juce::String::fromUTF8(title.c_str()), juce::dontSendNotification);
    titleLabel->setJustificationType(juce::Justification::centred);
    titleLabel->setFont(Zorvik::getFontLight().withHeight(20.0f));
    titleLabel->setInterceptsMouseClicks(false, false);
    addAndMakeVisible(*titleLabel);
}

void UIContainer::setMainColor(juce::Colour colour)
{
    mainColour = colour;
}

void UIContainer::setIsGrey(bool grey)
{
    isGrey = grey;
    repaint();
}

void UIContainer::setDisplayTitle(bool display)
{
    displayTitle = display;
    titleStripHeight = display ? titleHeight : 0;
    titleLabel->setVisible(display);
    resized();
}

void UIContainer::setIconPath(IconPath* icon)
{
    iconShape.clear();
    iconPath.reset(icon);
    titleLabel->setVisible(false);
    repaint();
}

std::string UIContainer::convertStringForDislay(std::string s)
{
    // Identifiers are ASCII; the host's locale must not change how they are spelled.
    const auto isUpper = [](char c) { return c >= 'A' && c <= 'Z'; };
    std::string spaced;
    for (size_t i = 0; i < s.size(); ++i)
    {
        if (i > 0 && isUpper(s[i]))
            spaced += ' ';
        spaced += upperCaseAscii(s[i]);
    }
    return spaced;
}

void UIContainer::resized()
{
    iconShape.clear();
    titleLabel->setBounds(0, 0, getWidth(), titleStripHeight);
}

void UIContainer::paint(juce::Graphics& g)
{
    const int width = getWidth();
    const int height = getHeight();
    if (linkMarks.size() >= 2 && (linkMarks[0] || linkMarks[1]))
    {
        juce::Path marks;
        const float yMid = static_cast<float>((height - titleStripHeight) / 2 + titleStripHeight);
        if (linkMarks[0])
        {
            marks.startNewSubPath(0.0f, yMid);
            marks.lineTo(static_cast<float>(width / 20), yMid);
        }
        if (linkMarks[1])
        {
            marks.startNewSubPath(static_cast<float>(width), yMid);
            marks.lineTo(static_cast<float>(width - width / 20), yMid);
        }
        g.setColour(mainColour.withAlpha(0.5f));
        g.strokePath(marks, juce::PathStrokeType(1.0f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    }

    if (iconPath != nullptr)
    {
        if (iconShape.isEmpty())
            iconShape = iconPath->getPath(0.0f, 0.0f, static_cast<float>(width), static_cast<float>(titleStripHeight));
        g.setColour(juce::Colours::white);
        g.strokePath(iconShape, juce::PathStrokeType(1.0f));
    }
}

void UIContainer::sendRightClick(std::vector<ControlParameter> parameters)
{
    if (delegate != nullptr)
        delegate->onRightClickOnControl(std::move(parameters));
}

void UIContainer::mouseDown(const juce::MouseEvent& e)
{
    if (! isRightClick(e) || delegate == nullptr || parameter == nullptr)
        return;
    const auto name = title.empty() ? convertStringForDislay(parameter->name) : title;
    sendRightClick({ ControlParameter { juce::String::fromUTF8(name.c_str()), parameter } });
}
