#include "UI/Controls/Meters/PeakMeterContainer.h"

#include "Basics/EffectProcessor.h"
#include "Common/FilterDSPKernel.h"

#include <algorithm>
#include <cmath>

PeakMeterContainer::PeakMeterContainer(Parameter* p, std::string t) : UIContainer(p, std::move(t))
{
    startTimerHz(30);
}

PeakMeterContainer::~PeakMeterContainer()
{
    stopTimer();
}

void PeakMeterContainer::attach(juce::AudioProcessorValueTreeState& state)
{
    auto* effectProcessor = dynamic_cast<EffectProcessor*>(&state.processor);
    kernel = effectProcessor != nullptr ? effectProcessor->kernel : nullptr;
    lookUpValues();
}

void PeakMeterContainer::lookUpValues()
{
    if (kernel != nullptr && parameter != nullptr && values == nullptr)
        values = kernel->getOutputValues(parameter->identifier);
}

void PeakMeterContainer::setMainColor(juce::Colour colour)
{
    UIContainer::setMainColor(colour);
}

void PeakMeterContainer::setIsWaiting(bool waiting)
{
    isWaiting = waiting;
    pulseCounter = 0;
}

float PeakMeterContainer::reading(int index) const
{
    return values[index].load(std::memory_order_relaxed);
}

void PeakMeterContainer::timerCallback()
{
    // An editor opened before processing was prepared finds the values later.
    lookUpValues();
    bool changed = lastStereo != isStereo;
    lastStereo = isStereo;
    if (values != nullptr)
    {
        for (int i = 0; i < (isStereo ? 2 : 1); ++i)
        {
            const float value = reading(i);
            // A NaN reading differs from every other, itself included: it repaints each tick.
            if (value != lastValues[static_cast<size_t>(i)])
            {
                lastValues[static_cast<size_t>(i)] = value;
                changed = true;
            }
        }
    }
    if (changed || isWaiting)
    {
        repaint();
        ++pulseCounter;
    }
}

void PeakMeterContainer::paint(juce::Graphics& g)
{
    const int count = isStereo ? 2 : 1;
    for (int i = 0; i < count; ++i)
        updatePeak(g, i, count);
}

std::optional<double> PeakMeterContainer::levelForReading(float value) const
{
    if (! std::isfinite(value))
        return std::nullopt;
    const double v = value;
    if (isDecibel)
        return std::clamp(1.5 * ((v - 20.0) / -80.0 + 1.0), 0.0, 1.0);
    if (isBipolar)
        return std::clamp(v, -1.0, 1.0);
    return std::clamp(v, 0.0, 1.0);
}

juce::Rectangle<int> PeakMeterContainer::slotBounds(int index, int count) const
{
    const int width = getWidth();
    const int used = (! isHorizontal && isNarrow) ? static_cast<int>(width * 0.6) : width;
    const int barWidth = (used - 2 * count + 2) / count;
    const int x = (width - used) / 2 + (2 + barWidth) * index;
    return { x, titleStripHeight, barWidth, getHeight() - titleStripHeight };
}

juce::Rectangle<float> PeakMeterContainer::barBounds(int index, int count, double level) const
{
    const auto slot = slotBounds(index, count).toFloat();
    const float strip = static_cast<float>(titleStripHeight);
    const float fullHeight = static_cast<float>(getHeight()) - strip;
    float top = strip;
    float height = fullHeight;
    float width = slot.getWidth();
    auto l = static_cast<float>(level);
    if (isHorizontal)
        return { slot.getX(), top, width * l, height };
    if (isBipolar)
    {
        height = fullHeight * 0.5f;
        top = strip + fullHeight * 0.5f;
        l = -l;
    }
    else if (isInverted)
    {
        top = static_cast<float>(getHeight());
        l = l - 1.0f;
    }
    if (l < 0.0f)
    {
        height = height * -l;
        top = top - height;
    }
    else
        height = height * l;
    return { slot.getX(), top, width, height };
}

void PeakMeterContainer::updatePeak(juce::Graphics& g, int index, int count)
{
    const auto slot = slotBounds(index, count);
    if (isWaiting)
        g.setColour(juce::Colours::white.withAlpha(
            static_cast<float>((std::cos(pulseCounter * 0.016) + 1.0) * 0.2 + 0.2)));
    else
        g.setColour(mainColour.withAlpha(0.15f));
    g.fillRect(slot);

    if (values == nullptr)
        return;
    const auto level = levelForReading(reading(index));
    if (! level)
        return;
    g.setColour(isGrey ? mainColour.withAlpha(0.4f) : mainColour);
    g.fillRect(barBounds(index, count, *level));
}
