#include "UI/Controls/Slider/DoubleSliderContainer.h"

#include "Common/Parameters/NoteDomain.h"
#include "UI/Controls/HostValue.h"

#include <algorithm>
#include <cmath>

namespace
{
    constexpr float grabDistance = 0.05f;

    float clampPosition(float p)
    {
        return std::isfinite(p) ? std::clamp(p, 0.0f, 1.0f) : 0.0f;
    }
}

DoubleSliderContainer::DoubleSliderContainer(Parameter* low, Parameter* high, std::string t,
                                             std::vector<juce::Colour> zoneColours)
    : UIContainer(low, std::move(t)),
      lowSettings(std::make_unique<ParameterSettings>(low)),
      highSettings(std::make_unique<ParameterSettings>(high)),
      lowParameter(low),
      highParameter(high),
      lowLabel(std::make_unique<juce::Label>()),
      highLabel(std::make_unique<juce::Label>())
{
    // A short list keeps the default colour of each zone it does not name.
    for (size_t i = 0; i < std::min(zoneColours.size(), colours.size()); ++i)
        colours[i] = zoneColours[i];

    for (auto* label : { lowLabel.get(), highLabel.get() })
    {
        label->setFont(Zorvik::getFontLight().withHeight(18.0f));
        label->setInterceptsMouseClicks(false, false);
        addAndMakeVisible(*label);
    }
    lowLabel->setJustificationType(juce::Justification::left);
    highLabel->setJustificationType(juce::Justification::right);
}

DoubleSliderContainer::~DoubleSliderContainer()
{
    stopTimer();
    if (valueTreeState != nullptr)
    {
        valueTreeState->removeParameterListener(lowSettings->name, this);
        valueTreeState->removeParameterListener(highSettings->name, this);
    }
}

void DoubleSliderContainer::attach(juce::AudioProcessorValueTreeState& state)
{
    auto* low = lowSettings->name.empty() ? nullptr : state.getParameter(lowSettings->name);
    auto* high = highSettings->name.empty() ? nullptr : state.getParameter(highSettings->name);
    if (low == nullptr || high == nullptr)
        return;
    lowHostParameter = low;
    highHostParameter = high;
    valueTreeState = &state;
    state.addParameterListener(lowSettings->name, this);
    state.addParameterListener(highSettings->name, this);
    parameterChanged(lowSettings->name, HostValue::plain(low));
    parameterChanged(highSettings->name, HostValue::plain(high));
    startTimerHz(30);
}

void DoubleSliderContainer::parameterChanged(const juce::String& id, float value)
{
    if (id == juce::String(lowSettings->name))
        updateLocation(value, &lowPosition, lowSettings.get());
    else if (id == juce::String(highSettings->name))
        updateLocation(value, &highPosition, highSettings.get());
    needsRepaint.store(true);
}

void DoubleSliderContainer::timerCallback()
{
    if (needsRepaint.exchange(false))
        repaint();
}

void DoubleSliderContainer::updateLocation(float value, std::atomic<float>* position, ParameterSettings* settings)
{
    const float low = NoteDomain::note(settings->min);
    const float high = NoteDomain::note(settings->max);
    position->store(clampPosition((NoteDomain::note(value) - low) / (high - low)));
}

void DoubleSliderContainer::updateValue(float position, juce::RangedAudioParameter* host,
                                        ParameterSettings* settings)
{
    const float low = NoteDomain::note(settings->min);
    const float high = NoteDomain::note(settings->max);
    gestures.write(host, NoteDomain::frequency(low + (high - low) * position));
}

float DoubleSliderContainer::pointerPosition(const juce::MouseEvent& e) const
{
    const int width = getWidth();
    return width > 0 ? static_cast<float>(e.x) / static_cast<float>(width) : 0.0f;
}

void DoubleSliderContainer::mouseDown(const juce::MouseEvent& e)
{
    if (isRightClick(e))
    {
        if (delegate == nullptr)
            return;
        const auto name = [](const ParameterSettings& s) { return juce::String(convertStringForDislay(s.name)); };
        sendRightClick({ { name(*lowSettings), lowParameter }, { name(*highSettings), highParameter } });
        return;
    }
    if (e.y < titleStripHeight)
        return;

    const float p = pointerPosition(e);
    const float low = lowPosition.load();
    const float high = highPosition.load();
    pressPosition = p;
    const float toLow = std::abs(p - low);
    const float toHigh = std::abs(p - high);
    if (p <= low || p >= high || toLow <= grabDistance || toHigh <= grabDistance)
    {
        dragMode = toHigh <= toLow ? dragHigh : dragLow;
    }
    else
    {
        dragMode = dragBoth;
        lowPositionAtPress = low;
        highPositionAtPress = high;
    }
    if (dragMode != dragHigh)
        gestures.begin(lowHostParameter);
    if (dragMode != dragLow)
        gestures.begin(highHostParameter);
    processEvent(e);
}

void DoubleSliderContainer::mouseDrag(const juce::MouseEvent& e)
{
    if (! isRightClick(e))
        processEvent(e);
}

void DoubleSliderContainer::mouseUp(const juce::MouseEvent& e)
{
    if (! isRightClick(e))
        processEvent(e);
    dragMode = dragNone;
    gestures.end();
}

void DoubleSliderContainer::processEvent(const juce::MouseEvent& e)
{
    // An edge follows the pointer only as far as the field's ends, where its
    // parameter stops too.
    const float p = pointerPosition(e);
    switch (dragMode)
    {
        case dragLow:
            lowPosition.store(clampPosition(p));
            updateValue(lowPosition.load(), lowHostParameter, lowSettings.get());
            break;
        case dragHigh:
            highPosition.store(clampPosition(p));
            updateValue(highPosition.load(), highHostParameter, highSettings.get());
            break;
        case dragBoth:
        {
            const float d = pressPosition - p;
            lowPosition.store(clampPosition(lowPositionAtPress - d));
            highPosition.store(clampPosition(highPositionAtPress - d));
            updateValue(lowPosition.load(), lowHostParameter, lowSettings.get());
            updateValue(highPosition.load(), highHostParameter, highSettings.get());
            break;
        }
        default: return;
    }
    repaint();
}

void DoubleSliderContainer::resized()
{
    UIContainer::resized();
    const int strip = titleStripHeight;
    lowLabel->setBounds(0, strip, getWidth(), getHeight() - strip);
    highLabel->setBounds(0, strip, getWidth(), getHeight() - strip);
}

juce::String DoubleSliderContainer::frequencyText(float value)
{
    if (! std::isfinite(value))
        return {};
    return juce::String(static_cast<juce::int64>(std::llround(static_cast<double>(value)))) + " Hz";
}

void DoubleSliderContainer::paint(juce::Graphics& g)
{
    const float strip = static_cast<float>(titleStripHeight);
    const float width = static_cast<float>(getWidth());
    const float h = static_cast<float>(getHeight()) - strip;
    const float xl = lowPosition.load() * width;
    const float xh = highPosition.load() * width;

    g.setColour(colours[0]);
    g.fillRect(0.0f, strip, xl, h);
    g.setColour(isGrey ? colours[1].withAlpha(0.3f) : colours[1]);
    g.fillRect(xl, strip, std::max(xh - xl, 0.0f), h);
    g.setColour(colours[2]);
    g.fillRect(xh, strip, width - xh, h);

    g.setColour(juce::Colours::white);
    g.fillRoundedRectangle(xl - 2.0f, strip + 0.15f * h, 4.0f, 0.7f * h, 1.6f);
    g.fillRoundedRectangle(xh - 2.0f, strip + 0.15f * h, 4.0f, 0.7f * h, 1.6f);
    g.drawRect(0.0f, strip, width, h, 1.0f);

    if (lowHostParameter != nullptr && highHostParameter != nullptr)
    {
        lowLabel->setText(frequencyText(HostValue::plain(lowHostParameter)), juce::dontSendNotification);
        highLabel->setText(frequencyText(HostValue::plain(highHostParameter)), juce::dontSendNotification);
    }
}
