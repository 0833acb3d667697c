#include "UI/Controls/Filter/FilterContainer.h"

#include "Common/Parameters/NoteDomain.h"
#include "Common/ProcessBlock/Filters/BiquadCoefficients.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <locale>
#include <sstream>

namespace
{
    std::string fixed(float value, int decimals)
    {
        std::ostringstream stream;
        stream.imbue(std::locale::classic());
        stream << std::fixed << std::setprecision(decimals) << value;
        return stream.str();
    }
}

FilterContainer::FilterContainer(Parameter* x, Parameter* y, std::string t)
    : XYControlContainer(x, y, std::move(t)), label(std::make_unique<juce::Label>())
{
    keepPosition = true;
    label->setJustificationType(juce::Justification::centredLeft);
    label->setFont(Zorvik::getFontLight().withHeight(17.0f));
    label->setInterceptsMouseClicks(false, false);
    addAndMakeVisible(*label);
}

FilterContainer::~FilterContainer() = default;

void FilterContainer::resized()
{
    XYControlContainer::resized();
    label->setBounds(0, 26, getWidth(), 18);
    response.clear();
}

void FilterContainer::setType(BiquadFilterType newType)
{
    type.store(static_cast<int>(newType));
    dirty.store(true);
}

void FilterContainer::timerCallback()
{
    // One read that also clears: a change that lands after it waits for the next tick.
    if (! dirty.exchange(false))
        return;
    response.clear();
    repaint();
}

void FilterContainer::updateValue(float location, juce::RangedAudioParameter* host, ParameterSettings* settings)
{
    if (host == nullptr || settings != xSettings.get())
    {
        XYControlContainer::updateValue(location, host, settings);
        return;
    }
    const float low = NoteDomain::note(settings->minimum);
    const float high = NoteDomain::note(settings->maximum);
    gestures.write(host, NoteDomain::frequency(low + (high - low) * location));
}

float FilterContainer::valueAtGridIndex(float index) const
{
    return std::pow(2.0f, index) * minFrequency;
}

float FilterContainer::frequencyValueForLocation(float x) const
{
    return std::pow(2.0f, x / (static_cast<float>(getWidth()) / static_cast<float>(octaves))) * minFrequency;
}

float FilterContainer::locationForDBValue(float db) const
{
    const float height = static_cast<float>(getHeight());
    return height - (db + dbRange) * (height - static_cast<float>(titleStripHeight)) / (2.0f * dbRange);
}

float FilterContainer::frequencyForColumn(int column) const
{
    return std::clamp(frequencyValueForLocation(static_cast<float>(column)), minFrequency, maxFrequency);
}

void FilterContainer::setDescriptionLabelText(float frequency, float value)
{
    label->setText("F: " + fixed(frequency, 0) + "Hz / Q: " + fixed(value, 2) + "dB", juce::dontSendNotification);
}

void FilterContainer::rebuildResponse()
{
    const float hostFrequency = hostX != nullptr ? plainValue(hostX) : xSettings->minimum;
    const float hostGain = hostY != nullptr ? plainValue(hostY) : 0.0f;
    const float frequency = std::isfinite(hostFrequency) ? std::min(std::max(minFrequency, hostFrequency), 21940.299f)
                                                         : minFrequency;
    const float gain = std::isfinite(hostGain) ? std::clamp(hostGain, -24.0f, 24.0f) : 0.0f;
    setDescriptionLabelText(frequency, gain);

    BiquadCoefficients coefficients;
    coefficients.sampleRate = static_cast<float>(displaySampleRate);
    coefficients.calculateParams(frequency, gain, 0.0f, getType());

    const int width = getWidth();
    const float height = static_cast<float>(getHeight());
    const double nyquist = displaySampleRate / 2.0;
    response.clear();
    response.startNewSubPath(0.0f, height);
    for (int i = 0; i < width; ++i)
    {
        const double magnitude = coefficients.magnitudeForFrequency(frequencyForColumn(i) / nyquist);
        const double db = 20.0 * std::log10(magnitude);
        // A magnitude of zero or a broken coefficient set is drawn at the bottom edge.
        const float level = std::isfinite(db) ? static_cast<float>(db) : -dbRange;
        response.lineTo(static_cast<float>(i), locationForDBValue(level));
    }
    if (getType() != BiquadFilterType::lowPass)
        response.lineTo(static_cast<float>(width), height * 0.5f);
    response.lineTo(static_cast<float>(width), height);
    response.closeSubPath();
}

void FilterContainer::paint(juce::Graphics& g)
{
    if (response.isEmpty())
        rebuildResponse();
    const float height = static_cast<float>(getHeight());
    g.setGradientFill(juce::ColourGradient(mainColour, 0.0f, height * 0.5f, mainColour.withAlpha(0.4f), 0.0f, height,
                                           false));
    g.fillPath(response);
    g.setColour(juce::Colours::white);
    g.strokePath(response, juce::PathStrokeType(1.0f));
    g.drawRect(field(), 1);
}
