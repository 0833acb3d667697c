#include "UI/Section.h"

#include "Binaries/Zorvik.h"
#include "UI/Controls/UIContainer.h"

#include <algorithm>

Section::Section(std::vector<UIColumn> sectionColumns, std::string sectionTitle, juce::Colour sectionColour,
                 std::map<int, std::vector<int>> sectionSiblings, bool hide)
    : colour(sectionColour),
      title(std::move(sectionTitle)),
      columns(std::move(sectionColumns)),
      titleLabel(std::make_unique<juce::Label>()),
      siblings(std::move(sectionSiblings)),
      hideTitle(hide)
{
}

Section::~Section() = default;

void Section::addControl(int key, UIContainer* control)
{
    if (control == nullptr)
        return;
    addAndMakeVisible(control);
    containers[key] = control;
}

UIContainer* Section::getControl(int key) const
{
    const auto found = containers.find(key);
    return found != containers.end() ? found->second : nullptr;
}

bool Section::containsParam(int key) const
{
    const auto params = getParams();
    const auto others = getSiblings();
    return std::find(params.begin(), params.end(), key) != params.end()
           || std::find(others.begin(), others.end(), key) != others.end();
}

std::vector<int> Section::getParams() const
{
    std::vector<int> keys;
    for (const auto& column : columns)
        for (const auto& slot : column.parameters)
            keys.push_back(slot.key);
    return keys;
}

std::vector<int> Section::getSiblings() const
{
    std::vector<int> keys;
    for (const auto& [key, list] : siblings)
        keys.insert(keys.end(), list.begin(), list.end());
    return keys;
}

int Section::getColumnCount() const
{
    return static_cast<int>(columns.size());
}

void Section::setColor(juce::Colour newColour, std::vector<int> keep)
{
    colour = newColour;
    titleLabel->setColour(juce::Label::textColourId, colour);
    auto recolour = [this](int key) {
        if (auto* control = getControl(key))
            control->setMainColor(colour);
    };
    for (const auto key : getParams())
    {
        if (std::find(keep.begin(), keep.end(), key) != keep.end())
            continue;
        recolour(key);
        if (const auto found = siblings.find(key); found != siblings.end())
            for (const auto sibling : found->second)
                recolour(sibling);
    }
    repaint();
}

void Section::paint(juce::Graphics& g)
{
    const int w = getWidth();
    const int h = getHeight();
    g.setGradientFill(juce::ColourGradient(colour.withAlpha(0.21f), 0.0f, 1.0f, colour.withAlpha(0.01f), 0.0f,
                                           static_cast<float>(std::max(h - 2, 0)), false));
    g.fillRect(1, 1, std::max(w - 2, 0), std::max(h - 2, 0));
}

void Section::resized()
{
    area = juce::Rectangle<int>(4, 2, std::max(getWidth() - 8, 0), std::max(getHeight() - 4, 0));
    setTitle();
    setControls();
}

void Section::setTitle()
{
    if (hideTitle)
    {
        titleHeight = 0;
        return;
    }
    title = juce::String(title).toUpperCase().toStdString();
    titleLabel->setText(title, juce::dontSendNotification);
    titleLabel->setJustificationType(juce::Justification::centred);
    titleHeight = static_cast<int>(static_cast<float>(area.getHeight()) * 0.1f);
    titleLabel->setBounds(area.getX(), area.getY(), area.getWidth(), titleHeight);
    titleLabel->setFont(Zorvik::getFontLight().withHeight(static_cast<float>(titleHeight) * 0.9f));
    titleLabel->setColour(juce::Label::textColourId, colour);
    addAndMakeVisible(*titleLabel);
}

void Section::placeControl(UIContainer* control, juce::Rectangle<int> bounds)
{
    control->setBounds(bounds);
    control->setMainColor(colour);
}

// Rows are as high as the tallest column needs; a slot's width is measured in its
// column's weight, so a wide slot spans the following columns.
void Section::setControls()
{
    float rows = 0.0f;
    float totalWeight = 0.0f;
    for (const auto& column : columns)
    {
        float sum = 0.0f;
        for (const auto& slot : column.parameters)
            sum += slot.height + slot.offset;
        rows = static_cast<float>(static_cast<int>(std::max(sum, rows)));
        totalWeight += column.weight;
    }
    const int rowCount = static_cast<int>(rows);
    if (rowCount <= 0 || totalWeight <= 0.0f)
        return;

    const float x0 = static_cast<float>(area.getX());
    const float y0 = static_cast<float>(area.getY());
    const int unit = static_cast<int>(static_cast<float>(area.getWidth()) / totalWeight);
    const int rowHeight = (area.getHeight() - titleHeight) / rowCount;
    const float t = static_cast<float>(titleHeight);

    float accumulated = 0.0f;
    for (const auto& column : columns)
    {
        const float columnX = accumulated * static_cast<float>(unit);
        float rowPosition = 0.0f;
        for (const auto& slot : column.parameters)
        {
            auto* control = getControl(slot.key);
            if (control != nullptr)
            {
                const bool marked = control->linkMarks.size() >= 2 && (control->linkMarks[0] || control->linkMarks[1]);
                const int inset = marked ? 0 : 1;
                const int shrink = marked ? 0 : 2;
                const int w = std::max(static_cast<int>(slot.width * column.weight * static_cast<float>(unit)) - shrink, 0);
                const int h = std::max(static_cast<int>(slot.height * static_cast<float>(rowHeight)) - shrink, 0);
                const int x = static_cast<int>(x0 + columnX) + inset;
                const int y = static_cast<int>(t + (rowPosition + slot.offset) * static_cast<float>(rowHeight) + y0)
                              + inset;
                const juce::Rectangle<int> bounds(x, y, w, h);
                placeControl(control, bounds);
                if (const auto found = siblings.find(slot.key); found != siblings.end())
                    for (const auto key : found->second)
                        if (auto* sibling = getControl(key))
                        {
                            placeControl(sibling, bounds);
                            sibling->setVisible(false);
                        }
            }
            rowPosition += slot.offset + slot.height;
        }
        accumulated += column.weight;
    }
}
