#include "UI/Controls/Filter/DoubleFilterContainer.h"

#include "Common/Parameters/NoteDomain.h"
#include "LookAndFeel/CommonLookAndFeel.h"
#include "UI/Controls/HostValue.h"

#include <algorithm>
#include <cmath>

namespace
{
    constexpr float curveLimitDb = 23.0f;
    constexpr float resonanceLimitDb = 24.0f;

    bool isOn(float value)
    {
        return value >= 0.5f;
    }

    // A pixel coordinate that is safe to store as an int: inside [low, high].
    int pixel(float value, int low, int high)
    {
        return std::isfinite(value) ? static_cast<int>(std::clamp(value, static_cast<float>(low), static_cast<float>(high)))
                                    : low;
    }
}

DoubleFilterContainer::DoubleFilterContainer(Parameter* lpFrequency, Parameter* lpResonance, Parameter* lpOn,
                                             Parameter* hpFrequency, Parameter* hpResonance, Parameter* hpOn,
                                             std::string t)
    : UIContainer(lpFrequency, std::move(t)),
      parameters { lpFrequency, lpResonance, lpOn, hpFrequency, hpResonance, hpOn },
      lowPassToggle(std::make_unique<OnOffContainer>(lpOn, "", std::vector<std::string> { "LP", "LP" })),
      lowPassLabel(std::make_unique<juce::Label>()),
      highPassToggle(std::make_unique<OnOffContainer>(hpOn, "", std::vector<std::string> { "HP", "HP" })),
      highPassLabel(std::make_unique<juce::Label>())
{
    for (size_t i = 0; i < settings.size(); ++i)
        settings[i] = std::make_unique<ParameterSettings>(parameters[i]);

    for (auto* label : { lowPassLabel.get(), highPassLabel.get() })
    {
        label->setFont(Zorvik::getFontLight().withHeight(14.0f));
        label->setInterceptsMouseClicks(false, false);
    }
    lowPassLabel->setJustificationType(juce::Justification::right);
    highPassLabel->setJustificationType(juce::Justification::left);

    for (auto* toggle : { lowPassToggle.get(), highPassToggle.get() })
    {
        toggle->setDisplayTitle(false);
        toggle->setForceSquare(false);
        toggle->setMainColor(mainColour);
    }
    addAndMakeVisible(*lowPassLabel);
    addAndMakeVisible(*highPassLabel);
    addAndMakeVisible(*lowPassToggle);
    addAndMakeVisible(*highPassToggle);
    startTimerHz(30);
}

DoubleFilterContainer::~DoubleFilterContainer()
{
    stopTimer();
    if (state != nullptr)
        for (const auto& s : settings)
            state->removeParameterListener(s->identifier, this);
}

void DoubleFilterContainer::attach(juce::AudioProcessorValueTreeState& s)
{
    std::array<juce::RangedAudioParameter*, slotCount> found {};
    for (size_t i = 0; i < found.size(); ++i)
        if (settings[i]->identifier.empty() || (found[i] = s.getParameter(settings[i]->identifier)) == nullptr)
            return;
    hosts = found;
    state = &s;
    for (size_t i = 0; i < settings.size(); ++i)
        s.addParameterListener(settings[i]->identifier, this);
    lowPassToggle->attach(s);
    highPassToggle->attach(s);
    for (size_t i = 0; i < settings.size(); ++i)
        parameterChanged(settings[i]->identifier, HostValue::plain(hosts[i]));
}

void DoubleFilterContainer::setMainColor(juce::Colour colour)
{
    UIContainer::setMainColor(colour);
    lowPassToggle->setMainColor(colour);
    highPassToggle->setMainColor(colour);
    repaint();
}

void DoubleFilterContainer::parameterChanged(const juce::String& id, float value)
{
    const auto is = [&](Slot slot) { return id == juce::String(settings[slot]->identifier); };
    if (is(lowPassFrequency))
        updateLocation(value, &lowPassLocation[0], settings[lowPassFrequency].get());
    if (is(lowPassResonance))
        updateLocation(value, &lowPassLocation[1], settings[lowPassResonance].get());
    if (is(highPassFrequency))
        updateLocation(value, &highPassLocation[0], settings[highPassFrequency].get());
    if (is(highPassResonance))
        updateLocation(value, &highPassLocation[1], settings[highPassResonance].get());
    if (is(lowPassFrequency) || is(lowPassResonance))
        lowPassHandleStale.store(true);
    if (is(highPassFrequency) || is(highPassResonance))
        highPassHandleStale.store(true);
    if (is(lowPassOn))
        lowPassIsOn.store(isOn(value));
    if (is(highPassOn))
        highPassIsOn.store(isOn(value));
    needsRedraw.store(true);
}

void DoubleFilterContainer::timerCallback()
{
    refreshHandles();
    if (! needsRedraw.exchange(false))
        return;
    curve.clear();
    repaint();
}

void DoubleFilterContainer::updateValue(float location, juce::RangedAudioParameter* host, ParameterSettings* s)
{
    const bool isFrequency = s == settings[lowPassFrequency].get() || s == settings[highPassFrequency].get();
    if (! isFrequency)
    {
        gestures.write(host, s->minimum + location * (s->maximum - s->minimum));
        return;
    }
    const float low = NoteDomain::note(s->minimum);
    const float high = NoteDomain::note(s->maximum);
    gestures.write(host, NoteDomain::frequency(low + location * (high - low)));
}

void DoubleFilterContainer::updateLocation(float value, std::atomic<float>* location, ParameterSettings* s)
{
    const float position = (value - s->minimum) / (s->maximum - s->minimum);
    location->store(std::isfinite(position) ? std::clamp(position, 0.0f, 1.0f) : 0.0f);
}

float DoubleFilterContainer::plain(int slot) const
{
    return HostValue::plain(hosts[static_cast<size_t>(slot)]);
}

float DoubleFilterContainer::locationForFrequencyValue(float frequency) const
{
    return static_cast<float>(getWidth()) * std::log2(frequency / lowestFrequency) / static_cast<float>(octaves);
}

float DoubleFilterContainer::locationForDBValue(float db) const
{
    const float t = static_cast<float>(titleStripHeight);
    const float field = static_cast<float>(getHeight()) - t;
    return field - ((db + dbRange) * (field / (2.0f * dbRange)) - t);
}

float DoubleFilterContainer::frequencyValueForLocation(float x) const
{
    return lowestFrequency * std::pow(2.0f, x / (static_cast<float>(getWidth()) / static_cast<float>(octaves)));
}

float DoubleFilterContainer::valueAtGridIndex(float index) const
{
    return lowestFrequency * std::pow(2.0f, index);
}

float DoubleFilterContainer::frequencyForColumn(int x) const
{
    return std::clamp(frequencyValueForLocation(static_cast<float>(x)), lowestFrequency, maxFrequency);
}

juce::Point<int> DoubleFilterContainer::handleForValues(Slot frequencySlot) const
{
    if (hosts[frequencySlot] == nullptr)
        return {};
    return { pixel(locationForFrequencyValue(plain(frequencySlot)), 0, getWidth()),
             pixel(locationForDBValue(plain(frequencySlot + 1)), titleStripHeight, getHeight()) };
}

void DoubleFilterContainer::refreshHandles()
{
    if (lowPassHandleStale.exchange(false))
        lowPassHandle = handleForValues(lowPassFrequency);
    if (highPassHandleStale.exchange(false))
        highPassHandle = handleForValues(highPassFrequency);
}

void DoubleFilterContainer::resized()
{
    UIContainer::resized();
    const int w = getWidth();
    const int cw = w / 5;
    const int ch = getHeight() / 9;
    const int y0 = titleStripHeight + 4;
    highPassToggle->setBounds(4, y0, cw, ch);
    highPassLabel->setBounds(0, y0 + ch + 4, 2 * cw, 2 * ch);
    lowPassToggle->setBounds(w - cw - 4, y0, cw, ch);
    lowPassLabel->setBounds(w - 2 * cw, y0 + ch + 4, 2 * cw, 2 * ch);
    lowPassHandleStale.store(false);
    highPassHandleStale.store(false);
    lowPassHandle = handleForValues(lowPassFrequency);
    highPassHandle = handleForValues(highPassFrequency);
    curve.clear();
}

void DoubleFilterContainer::setDescriptionLabelText(bool lowPass, float frequency, float resonance)
{
    lowPassLabel->setColour(juce::Label::textColourId, lowPassIsOn.load() ? juce::Colours::white : juce::Colours::grey);
    highPassLabel->setColour(juce::Label::textColourId,
                             highPassIsOn.load() ? juce::Colours::white : juce::Colours::grey);
    const auto text = CommonLookAndFeel::stringWithDecimals(frequency, 0) + " Hz\n"
                      + CommonLookAndFeel::stringWithDecimals(resonance, 1) + " dB";
    (lowPass ? lowPassLabel : highPassLabel)->setText(juce::String::fromUTF8(text.c_str()), juce::dontSendNotification);
}

void DoubleFilterContainer::rebuildCurve()
{
    const auto coefficientsFor = [this](bool lowPass) {
        const float frequency = plain(lowPass ? lowPassFrequency : highPassFrequency);
        const float resonance = plain(lowPass ? lowPassResonance : highPassResonance);
        const float f = std::isfinite(frequency) ? std::clamp(frequency, lowestFrequency, 21940.299f) : lowestFrequency;
        const float g = std::isfinite(resonance) ? std::clamp(resonance, -resonanceLimitDb, resonanceLimitDb) : 0.0f;
        setDescriptionLabelText(lowPass, f, g);
        BiquadCoefficients c;
        c.sampleRate = static_cast<float>(displaySampleRate);
        c.calculateParams(f, g, 0.0f, lowPass ? BiquadFilterType::lowPass : BiquadFilterType::highPass);
        return c;
    };
    const auto lowPass = coefficientsFor(true);
    const auto highPass = coefficientsFor(false);
    const bool lpOn = lowPassIsOn.load();
    const bool hpOn = highPassIsOn.load();

    const int w = getWidth();
    const float h = static_cast<float>(getHeight());
    const double nyquist = displaySampleRate / 2.0;
    curve.clear();
    curve.startNewSubPath(0.0f, h);
    for (int x = 0; x < w; ++x)
    {
        const double r = frequencyForColumn(x) / nyquist;
        const double m = (lpOn ? lowPass.magnitudeForFrequency(r) : 1.0) * (hpOn ? highPass.magnitudeForFrequency(r) : 1.0);
        const double db = 20.0 * std::log10(m);
        // A zero or broken magnitude is drawn at the floor.
        const float level = std::isfinite(db) ? std::clamp(static_cast<float>(db), -curveLimitDb, curveLimitDb)
                                              : -curveLimitDb;
        curve.lineTo(static_cast<float>(x), locationForDBValue(level));
    }
    curve.lineTo(static_cast<float>(w), h);
    curve.closeSubPath();
}

void DoubleFilterContainer::paintCurve(juce::Graphics& g)
{
    if (curve.isEmpty())
        rebuildCurve();
    const float h = static_cast<float>(getHeight());
    g.setGradientFill(juce::ColourGradient(mainColour, 0.0f, h / 2.0f, mainColour.withAlpha(0.4f), 0.0f, h, false));
    g.fillPath(curve);
    g.setColour(juce::Colours::white);
    g.strokePath(curve, juce::PathStrokeType(1.0f));
}

void DoubleFilterContainer::paint(juce::Graphics& g)
{
    paintCurve(g);
    g.setColour(juce::Colours::white);
    g.drawRect(0, titleStripHeight, getWidth(), getHeight() - titleStripHeight, 1);
}

void DoubleFilterContainer::mouseDown(const juce::MouseEvent& e)
{
    if (isRightClick(e) || e.y < titleStripHeight)
        return;
    refreshHandles();
    const bool lpOn = lowPassIsOn.load();
    const bool hpOn = highPassIsOn.load();
    if (! lpOn && ! hpOn)
    {
        dragging = false;
        return;
    }
    if (lpOn && hpOn)
    {
        const auto press = e.getPosition();
        const auto toLowPass = press.getDistanceSquaredFrom(lowPassHandle);
        const auto toHighPass = press.getDistanceSquaredFrom(highPassHandle);
        draggingLowPass = toLowPass < toHighPass;
    }
    else
    {
        draggingLowPass = lpOn;
    }
    dragging = true;
    gestures.begin(hosts[draggingLowPass ? lowPassFrequency : highPassFrequency]);
    gestures.begin(hosts[draggingLowPass ? lowPassResonance : highPassResonance]);
    (draggingLowPass ? lowPassHandle : highPassHandle) = e.getPosition();
    processEvent(e);
}

void DoubleFilterContainer::mouseDrag(const juce::MouseEvent& e)
{
    if (! isRightClick(e))
        processEvent(e);
}

void DoubleFilterContainer::mouseUp(const juce::MouseEvent&)
{
    dragging = false;
    gestures.end();
}

void DoubleFilterContainer::processEvent(const juce::MouseEvent& e)
{
    if (! dragging)
        return;
    const float w = static_cast<float>(getWidth());
    const float t = static_cast<float>(titleStripHeight);
    const float field = static_cast<float>(getHeight()) - t;
    const float u = w > 0.0f ? std::clamp(static_cast<float>(e.x) / w, 0.0f, 1.0f) : 0.0f;
    const float v = field > 0.0f ? std::clamp(1.0f - (std::max(static_cast<float>(e.y), t) - t) / field, 0.0f, 1.0f)
                                 : 0.0f;
    const Slot frequency = draggingLowPass ? lowPassFrequency : highPassFrequency;
    const Slot resonance = draggingLowPass ? lowPassResonance : highPassResonance;
    auto* location = draggingLowPass ? lowPassLocation : highPassLocation;
    location[0].store(u);
    location[1].store(v);
    updateValue(u, hosts[frequency], settings[frequency].get());
    updateValue(v, hosts[resonance], settings[resonance].get());
    // The handle stays under the pointer, not where the written values would put it.
    (draggingLowPass ? lowPassHandleStale : highPassHandleStale).store(false);
    (draggingLowPass ? lowPassHandle : highPassHandle) = e.getPosition();
    repaint();
}
