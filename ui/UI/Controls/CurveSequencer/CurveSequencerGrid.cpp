#include "UI/Controls/CurveSequencer/CurveSequencerGrid.h"

#include <algorithm>
#include <cmath>

CurveSequencerGrid::CurveSequencerGrid()
    : labelFont(Zorvik::getFontLight().withHeight(15.0f))
{
    setInterceptsMouseClicks(true, false);
    setLines({ { 1.0f, "1" }, { 0.75f, "3/4" }, { 2.0f / 3.0f, "2/3" }, { 0.5f, "1/2" },
               { 1.0f / 3.0f, "1/3" }, { 0.25f, "1/4" }, { 0.0f, "0" } });
}

CurveSequencerGrid::~CurveSequencerGrid() = default;

void CurveSequencerGrid::setLength(int l)
{
    length = std::clamp(l, 1, 16);
    repaint();
}

void CurveSequencerGrid::setAmount(float a)
{
    if (std::isfinite(a))
        amount = a;
    repaint();
}

void CurveSequencerGrid::setReferenceValue(float reference)
{
    if (std::isfinite(reference))
        referenceValue = reference;
    repaint();
}

void CurveSequencerGrid::setLines(std::vector<Line> newLines)
{
    lines = std::move(newLines);
    for (auto& label : labels)
        label->setText({}, juce::dontSendNotification);
    while (labels.size() < lines.size())
    {
        auto label = std::make_unique<juce::Label>();
        label->setFont(labelFont);
        label->setJustificationType(juce::Justification::right);
        label->setInterceptsMouseClicks(false, false);
        addChildComponent(*label);
        labels.push_back(std::move(label));
    }
    for (size_t i = 0; i < lines.size(); ++i)
        labels[i]->setText(lines[i].label, juce::dontSendNotification);
    repaint();
}

float CurveSequencerGrid::zoom() const
{
    return std::max(amount, 0.01f);
}

float CurveSequencerGrid::displayLevel(float lineValue) const
{
    return (lineValue - referenceValue) / zoom() + referenceValue;
}

float CurveSequencerGrid::snapped(float v) const
{
    if (! snap)
        return v;
    float best = 1.0f;
    float bestDistance = 1.0f;
    for (const auto& line : lines)
    {
        const float level = displayLevel(line.value);
        const float distance = std::abs(level - v);
        if (std::isfinite(level) && distance < bestDistance)
        {
            best = level;
            bestDistance = distance;
        }
    }
    return best;
}

bool CurveSequencerGrid::isTouchingFooter(juce::Point<int> position) const
{
    return static_cast<float>(position.y) > footerHeight();
}

int CurveSequencerGrid::getTouchIndex(juce::Point<int> position) const
{
    const float width = static_cast<float>(getWidth());
    if (width <= 0.0f)
        return 0;
    const float column = std::floor(static_cast<float>(length) * static_cast<float>(position.x) / width);
    return static_cast<int>(std::clamp(column, 0.0f, static_cast<float>(length - 1)));
}

CurveSequencerStep* CurveSequencerGrid::stepAt(int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= steps.size())
        return nullptr;
    return steps[static_cast<size_t>(index)];
}

void CurveSequencerGrid::paint(juce::Graphics& g)
{
    const float width = static_cast<float>(getWidth());
    const float h = footerHeight();
    const float fontHeight = labelFont.getHeight();

    for (size_t i = 0; i < lines.size(); ++i)
    {
        const auto& line = lines[i];
        auto& label = *labels[i];
        const float y = h * (1.0f - displayLevel(line.value));
        if (! std::isfinite(y) || y > h || y < -static_cast<float>(getHeight()))
        {
            label.setVisible(false);
            continue;
        }
        const float dashes[] = { 5.0f, 5.0f };
        g.setColour(juce::Colours::white.withAlpha(std::clamp(line.alpha, 0.0f, 1.0f)));
        g.drawDashedLine({ 0.0f, y, width, y }, dashes, 2, 0.5f);
        const float top = line.labelBelow ? y : y - 1.5f * fontHeight;
        label.setBounds(0, static_cast<int>(top), getWidth(), static_cast<int>(2.0f * fontHeight));
        label.setVisible(true);
    }

    juce::Path grid;
    for (int i = 0; i < length; ++i)
    {
        const float x = static_cast<float>(i) * width / static_cast<float>(length);
        grid.startNewSubPath(x, 0.0f);
        grid.lineTo(x, static_cast<float>(getHeight()));
    }
    grid.startNewSubPath(0.0f, h);
    grid.lineTo(width, h);
    g.setColour(juce::Colours::white);
    g.strokePath(grid, juce::PathStrokeType(1.0f));
    g.drawRect(getLocalBounds(), 1);
}

void CurveSequencerGrid::mouseDown(const juce::MouseEvent& e)
{
    gestureActive = ! e.mods.isRightButtonDown();
    if (! gestureActive)
        return;
    touchPosition = e.getPosition();
    touchingFooter = isTouchingFooter(touchPosition);
    touchIndex = getTouchIndex(touchPosition);
    if (gestures != nullptr)
        gestures->start();
}

void CurveSequencerGrid::mouseDrag(const juce::MouseEvent& e)
{
    if (! gestureActive || e.mods.isRightButtonDown())
        return;
    auto* step = stepAt(getTouchIndex(e.getPosition()));
    if (step == nullptr)
        return;
    if (! touchingFooter)
    {
        const float h = footerHeight();
        if (h <= 0.0f)
            return;
        const float v = std::clamp((h - static_cast<float>(e.getPosition().y)) / h, 0.0f, 1.0f);
        step->setValue(snapped(v));
        return;
    }
    auto* touched = stepAt(touchIndex);
    if (touched != nullptr && step != touched && step->getCurveMode() != touched->getCurveMode())
        step->setCurve(touched->getCurveMode());
}

void CurveSequencerGrid::mouseUp(const juce::MouseEvent& e)
{
    if (gestureActive && touchingFooter && getTouchIndex(e.getPosition()) == touchIndex)
        if (auto* step = stepAt(touchIndex))
            step->setCurve(CurveSequencerStepFooter::nextMode(step->getCurveMode()));
    touchingFooter = false;
    gestureActive = false;
    if (gestures != nullptr)
        gestures->end();
}
