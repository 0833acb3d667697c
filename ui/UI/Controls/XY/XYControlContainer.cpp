#include "UI/Controls/XY/XYControlContainer.h"

#include <algorithm>
#include <cmath>

XYControlContainer::XYControlContainer(Parameter* x, Parameter* y, std::string t)
    : UIContainer(x, std::move(t)),
      xSettings(std::make_unique<ParameterSettings>(x)),
      ySettings(std::make_unique<ParameterSettings>(y)),
      xParameter(x),
      yParameter(y)
{
}

XYControlContainer::~XYControlContainer()
{
    stopTimer();
    if (state != nullptr)
    {
        state->removeParameterListener(xSettings->identifier, this);
        state->removeParameterListener(ySettings->identifier, this);
    }
}

void XYControlContainer::attach(juce::AudioProcessorValueTreeState& s)
{
    hostX = s.getParameter(xSettings->identifier);
    hostY = s.getParameter(ySettings->identifier);
    if (hostX == nullptr || hostY == nullptr)
    {
        hostX = hostY = nullptr;
        return;
    }
    state = &s;
    state->addParameterListener(xSettings->identifier, this);
    state->addParameterListener(ySettings->identifier, this);
    parameterChanged(xSettings->identifier, plainValue(hostX));
    parameterChanged(ySettings->identifier, plainValue(hostY));
    startTimerHz(30);
}

float XYControlContainer::plainValue(const juce::RangedAudioParameter* host)
{
    return host->convertFrom0to1(host->getValue());
}

void XYControlContainer::parameterChanged(const juce::String& id, float value)
{
    if (id == juce::String(xSettings->identifier))
        updateLocation(value, &locationX, xSettings.get());
    else if (id == juce::String(ySettings->identifier))
        updateLocation(value, &locationY, ySettings.get());
    dirty.store(true);
}

void XYControlContainer::timerCallback()
{
    if (dirty.exchange(false))
        repaint();
}

void XYControlContainer::updateValue(float location, juce::RangedAudioParameter* host, ParameterSettings* settings)
{
    if (host == nullptr)
        return;
    gestures.write(host, settings->minimum + (settings->maximum - settings->minimum) * location);
}

void XYControlContainer::updateLocation(float value, std::atomic<float>* location, ParameterSettings* settings)
{
    const float position = (value - settings->minimum) / (settings->maximum - settings->minimum);
    location->store(std::isfinite(position) ? std::clamp(position, 0.0f, 1.0f) : 0.0f);
}

juce::Rectangle<int> XYControlContainer::field() const
{
    return { 0, titleStripHeight, getWidth(), getHeight() - titleStripHeight };
}

void XYControlContainer::resized()
{
    UIContainer::resized();
}

void XYControlContainer::mouseDown(const juce::MouseEvent& e)
{
    if (isRightClick(e))
    {
        std::vector<ControlParameter> parameters;
        for (auto* p : { xParameter, yParameter })
            if (p != nullptr)
                parameters.push_back({ juce::String(convertStringForDislay(p->name)), p });
        if (delegate != nullptr && ! parameters.empty())
            sendRightClick(std::move(parameters));
        return;
    }
    if (e.position.y < static_cast<float>(titleStripHeight))
        return;
    isDragging = true;
    gestures.begin(hostX);
    gestures.begin(hostY);
    processEvent(e);
}

void XYControlContainer::mouseDrag(const juce::MouseEvent& e)
{
    if (! isRightClick(e))
        processEvent(e);
}

void XYControlContainer::processEvent(const juce::MouseEvent& e)
{
    if (! isDragging)
        return;
    const float width = static_cast<float>(getWidth());
    const float strip = static_cast<float>(titleStripHeight);
    const float fieldHeight = static_cast<float>(getHeight()) - strip;
    const float x = width > 0.0f ? e.position.x / width : 0.0f;
    const float y = fieldHeight > 0.0f ? 1.0f - (std::max(e.position.y, strip) - strip) / fieldHeight : 0.0f;
    locationX.store(std::clamp(x, 0.0f, 1.0f));
    locationY.store(std::clamp(y, 0.0f, 1.0f));
    updateValue(locationX.load(), hostX, xSettings.get());
    updateValue(locationY.load(), hostY, ySettings.get());
    repaint();
}

void XYControlContainer::mouseUp(const juce::MouseEvent& e)
{
    if (! isRightClick(e) && ! keepPosition && isDragging)
    {
        locationX.store(0.0f);
        locationY.store(0.0f);
        updateValue(0.0f, hostX, xSettings.get());
        updateValue(0.0f, hostY, ySettings.get());
        repaint();
    }
    isDragging = false;
    gestures.end();
}

void XYControlContainer::paint(juce::Graphics& g)
{
    const auto area = field();
    const int width = getWidth();
    const int height = getHeight();
    const int strip = titleStripHeight;
    const float x = locationX.load();
    const float y = locationY.load();
    if (isDragging)
    {
        g.setColour(mainColour.withAlpha(0.7f * x));
        g.fillRect(area);
        g.setColour(juce::Colours::white.withAlpha(0.7f * y));
        g.fillRect(area);
        if (drawHandle)
        {
            const int hx = std::clamp(static_cast<int>(static_cast<float>(width) * x), 10, std::max(10, width - 10));
            const int hy = std::clamp(static_cast<int>(static_cast<float>(strip) + static_cast<float>(height - strip) * (1.0f - y)),
                                      strip + 10, std::max(strip + 10, height - 10));
            g.setColour(juce::Colours::white);
            g.fillEllipse(static_cast<float>(hx - 10), static_cast<float>(hy - 10), 20.0f, 20.0f);
            g.setColour(mainColour);
            g.fillEllipse(static_cast<float>(hx - 9), static_cast<float>(hy - 9), 18.0f, 18.0f);
        }
    }
    g.setColour(juce::Colours::white);
    g.drawRect(area, 1);
}
