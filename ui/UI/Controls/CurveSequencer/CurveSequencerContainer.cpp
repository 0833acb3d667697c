#include "UI/Controls/CurveSequencer/CurveSequencerContainer.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

std::vector<Parameter*> CurveSequencerContainer::checkedParameters(Parameter* first, std::vector<Parameter*> linked)
{
    std::vector<Parameter*> list { first };
    list.insert(list.end(), linked.begin(), linked.end());
    if (list.size() < 2 * numSteps)
        throw std::out_of_range("a curve sequencer needs 16 value and 16 curve parameters");
    if (std::any_of(list.begin(), list.begin() + 2 * numSteps, [](Parameter* p) { return p == nullptr; }))
        throw std::invalid_argument("a curve sequencer parameter is missing");
    return list;
}

CurveSequencerContainer::CurveSequencerContainer(Parameter* p, std::vector<Parameter*> linked, std::string t)
    : UIContainer(p, std::move(t))
{
    const auto list = checkedParameters(p, std::move(linked));
    grid = std::make_unique<CurveSequencerGrid>();
    for (int i = 0; i < numSteps; ++i)
    {
        auto& step = steps[static_cast<size_t>(i)];
        step = std::make_unique<CurveSequencerStep>(i, list[static_cast<size_t>(i)], list[static_cast<size_t>(i + numSteps)]);
        step->setDelegate(this);
        step->setGestures(&gestures);
        grid->addStep(step.get());
        addAndMakeVisible(*step);
    }
    grid->setGestures(&gestures);
    addAndMakeVisible(*grid);
}

CurveSequencerContainer::~CurveSequencerContainer()
{
    // The steps' timers may still hold a report for this container.
    for (auto& step : steps)
        step->setDelegate(nullptr);
}

void CurveSequencerContainer::attach(juce::AudioProcessorValueTreeState& state)
{
    for (auto& step : steps)
        step->attach(state);
}

void CurveSequencerContainer::setMainColor(juce::Colour colour)
{
    UIContainer::setMainColor(colour);
    for (auto& step : steps)
        step->setColor(colour);
    updateColors();
}

int CurveSequencerContainer::groupSize(float r)
{
    if (! std::isfinite(r) || r <= 0.0f)
        return 1;
    for (const float scale : { 1.0f, 4.0f, 16.0f })
        if (const float n = std::floor(std::min(r * scale, 16.0f)); n >= 1.0f)
            return static_cast<int>(n);
    return 1;
}

void CurveSequencerContainer::updateColors()
{
    const juce::Colour a = mainColour;
    const juce::Colour b = mainColour.darker(0.3f);
    const int n = groupSize(resolution);
    bool useA = true;
    for (int i = 0; i < numSteps; ++i)
    {
        steps[static_cast<size_t>(i)]->setColor(useA ? a : b);
        if ((i + 1) % n == 0)
            useA = ! useA;
    }
    for (auto& step : steps)
        step->repaint();
}

void CurveSequencerContainer::setIsGrey(bool grey)
{
    UIContainer::setIsGrey(grey);
    for (auto& step : steps)
        step->setIsGrey(grey);
}

void CurveSequencerContainer::linkToPrevious(int step)
{
    const int previous = step < 1 ? length - 1 : step - 1;
    const auto& current = *steps[static_cast<size_t>(step)];
    auto& before = *steps[static_cast<size_t>(previous)];
    before.setNextValue(current.getCurveMode() == CurveSequencerStepFooter::rampDown ? 1.0f : current.getValue());
    before.repaint();
}

void CurveSequencerContainer::setSequencerLength(int l)
{
    length = std::clamp(l, 1, numSteps);
    grid->setLength(length);
    for (int i = 0; i < length; ++i)
        linkToPrevious(i);
    resized();
}

void CurveSequencerContainer::onValueSet(int step, float)
{
    // Steps beyond the sequence do not lead into the sequence's last step.
    if (step < 0 || step >= length)
        return;
    linkToPrevious(step);
}

void CurveSequencerContainer::setResolution(float r)
{
    resolution = r;
    updateColors();
    repaint();
}

void CurveSequencerContainer::setAmount(float amount)
{
    grid->setAmount(amount);
}

void CurveSequencerContainer::setRandomness(float randomness)
{
    for (auto& step : steps)
        step->setRange(randomness);
}

void CurveSequencerContainer::setSnap(bool snap)
{
    grid->setSnap(snap);
}

void CurveSequencerContainer::setLines(std::vector<CurveSequencerGrid::Line> lines)
{
    grid->setLines(std::move(lines));
}

void CurveSequencerContainer::setReferecenceValues(float gridReference, float stepReference)
{
    grid->setReferenceValue(gridReference);
    for (auto& step : steps)
    {
        step->setReferenceValue(stepReference);
        step->repaint();
    }
}

void CurveSequencerContainer::blinkStep(int step)
{
    if (step < 0 || step >= numSteps)
        return;
    const float r = std::isfinite(resolution) && resolution > 0.0f ? resolution : 1.0f;
    steps[static_cast<size_t>(step)]->blinkStep(std::max(12.0f / r, 1.0f));
}

void CurveSequencerContainer::resized()
{
    UIContainer::resized();
    const int top = titleStripHeight;
    const int width = getWidth();
    const int height = getHeight() - top;
    grid->setBounds(0, top, width, height);
    const float columnWidth = static_cast<float>(width) / static_cast<float>(length);
    for (int i = 0; i < numSteps; ++i)
    {
        const int x = static_cast<int>(std::floor(static_cast<float>(i * width) / static_cast<float>(length)));
        steps[static_cast<size_t>(i)]->setBounds(x, top, static_cast<int>(std::ceil(columnWidth)), height);
    }
}
