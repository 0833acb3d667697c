#include "UI/Controls/Oscilloscopes/MultiOscilloscopeContainer.h"

#include <algorithm>
#include <cmath>

MultiOscilloscopeContainer::MultiOscilloscopeContainer(Parameter* p, std::string t)
    : UIContainer(p, std::move(t)),
      curves(std::make_unique<MultiCurvesComponent>())
{
    addAndMakeVisible(*curves);
    startTimerHz(12);
}

MultiOscilloscopeContainer::~MultiOscilloscopeContainer()
{
    stopTimer();
}

void MultiOscilloscopeContainer::setDelayTime(float time)
{
    if (! std::isfinite(time))
        return;
    if (delayTime.exchange(time) != time)
        dirty.store(true);
}

juce::Colour MultiOscilloscopeContainer::tint(float time)
{
    // Times above 30 would ask for a negative brightening: they keep the plain tint.
    const float brighten = std::isfinite(time) ? std::max((30.0f - time) / 10.0f, 0.0f) : 0.0f;
    return Zorvik::blue.darker(0.4f).brighter(brighten).withAlpha(0.05f);
}

void MultiOscilloscopeContainer::paint(juce::Graphics& g)
{
    g.setColour(tint(delayTime.load()));
    g.fillRect(getLocalBounds());
    g.setColour(juce::Colours::white);
    g.drawRect(getLocalBounds(), 1);
}

void MultiOscilloscopeContainer::resized()
{
    curves->setBounds(1, 1, getWidth() - 2, getHeight() - 2);
}

void MultiOscilloscopeContainer::timerCallback()
{
    if (dirty.exchange(false))
        repaint();
}
