#include "UI/Controls/ParameterGestures.h"

#include "UI/Controls/HostValue.h"

#include <algorithm>

ParameterGestures::~ParameterGestures()
{
    end();
}

void ParameterGestures::start()
{
    editing = true;
}

bool ParameterGestures::isOpen(const juce::RangedAudioParameter* host) const
{
    return std::find(open.begin(), open.end(), host) != open.end();
}

void ParameterGestures::begin(juce::RangedAudioParameter* host)
{
    editing = true;
    if (host == nullptr || isOpen(host))
        return;
    open.push_back(host);
    host->beginChangeGesture();
}

void ParameterGestures::write(juce::RangedAudioParameter* host, float plainValue)
{
    if (! editing)
    {
        writeOnce(host, plainValue);
        return;
    }
    if (const auto position = HostValue::changedPosition(host, plainValue))
    {
        begin(host);
        host->setValueNotifyingHost(*position);
    }
}

void ParameterGestures::end()
{
    editing = false;
    const auto ending = std::move(open);
    open.clear();
    for (auto* host : ending)
        host->endChangeGesture();
}

void ParameterGestures::writeOnce(juce::RangedAudioParameter* host, float plainValue)
{
    if (const auto position = HostValue::changedPosition(host, plainValue))
    {
        host->beginChangeGesture();
        host->setValueNotifyingHost(*position);
        host->endChangeGesture();
    }
}
