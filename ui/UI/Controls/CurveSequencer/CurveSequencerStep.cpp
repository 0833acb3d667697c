#include "UI/Controls/CurveSequencer/CurveSequencerStep.h"

#include <algorithm>
#include <cmath>

CurveSequencerStep::Levels CurveSequencerStep::levels(int mode, float level, float next)
{
    Levels l { level, level };
    if (mode == CurveSequencerStepFooter::ramp || mode == CurveSequencerStepFooter::ease)
        l.end = next;
    else if (mode == CurveSequencerStepFooter::rampUp)
        l.end = 1.0f;
    else if (mode == CurveSequencerStepFooter::rampDown)
        l.start = 1.0f;
    return l;
}

juce::Path CurveSequencerStep::segment(int mode, float level, float next, float w, float h)
{
    const auto l = levels(mode, level, next);
    juce::Path path;
    path.startNewSubPath(0.0f, h * (1.0f - l.start));
    if (mode == CurveSequencerStepFooter::ease)
    {
        const float pi = juce::MathConstants<float>::pi;
        for (int i = 0; i <= 20; ++i)
        {
            const float t = static_cast<float>(i) / 20.0f;
            const float e = std::sin(t * pi - pi / 2.0f) * 0.5f + 0.5f;
            path.lineTo(t * w, h * ((1.0f - e) * (1.0f - l.start) + e * (1.0f - l.end)));
        }
    }
    path.lineTo(w, h * (1.0f - l.end));
    return path;
}

CurveSequencerStep::CurveSequencerStep(int i, Parameter* v, Parameter* c)
    : valueSettings(std::make_unique<ParameterSettings>(*v)),
      curveSettings(std::make_unique<ParameterSettings>(*c)),
      footer(std::make_unique<CurveSequencerStepFooter>()),
      index(i),
      valueParameter(v),
      curveParameter(c)
{
    // The grid above the steps takes every gesture.
    setInterceptsMouseClicks(false, false);
    addAndMakeVisible(*footer);
    startTimerHz(30);
}

CurveSequencerStep::~CurveSequencerStep()
{
    stopTimer();
    if (state != nullptr)
    {
        state->removeParameterListener(valueSettings->identifier, this);
        state->removeParameterListener(curveSettings->identifier, this);
    }
}

void CurveSequencerStep::attach(juce::AudioProcessorValueTreeState& s)
{
    valueHost = s.getParameter(valueSettings->identifier);
    curveHost = s.getParameter(curveSettings->identifier);
    if (valueHost == nullptr || curveHost == nullptr)
    {
        valueHost = curveHost = nullptr;
        return;
    }
    state = &s;
    state->addParameterListener(valueSettings->identifier, this);
    state->addParameterListener(curveSettings->identifier, this);
    value.store(sanitise(valueHost->convertFrom0to1(valueHost->getValue())));
    const int mode = CurveSequencerStepFooter::modeForValue(curveHost->convertFrom0to1(curveHost->getValue()));
    curveMode.store(mode);
    footer->setCurveMode(mode);
    dirty.store(true);
}

void CurveSequencerStep::parameterChanged(const juce::String& id, float newValue)
{
    if (id == juce::String(valueSettings->identifier))
    {
        value.store(sanitise(newValue));
    }
    else if (id == juce::String(curveSettings->identifier))
    {
        const int mode = CurveSequencerStepFooter::modeForValue(newValue);
        curveMode.store(mode);
        footer->setCurveMode(mode);
    }
    dirty.store(true);
}

void CurveSequencerStep::timerCallback()
{
    if (dirty.exchange(false))
    {
        repaint();
        footer->repaint();
        if (delegate != nullptr)
            delegate->onValueSet(index, value.load());
        return;
    }
    if (blinking)
        advanceBlink();
}

void CurveSequencerStep::advanceBlink()
{
    const float d = blinkLength - static_cast<float>(blinkCounter);
    blinkAlpha = std::clamp(0.8f * d / blinkLength, 0.0f, 0.8f);
    if (d < 0.0f)
    {
        blinkCounter = 0;
        blinkAlpha = 0.0f;
        blinking = false;
    }
    else
    {
        ++blinkCounter;
    }
    repaint();
}

void CurveSequencerStep::write(juce::RangedAudioParameter* host, float plainValue)
{
    if (gestures != nullptr)
        gestures->write(host, plainValue);
    else
        ParameterGestures::writeOnce(host, plainValue);
}

void CurveSequencerStep::setValue(float v)
{
    value.store(sanitise(v));
    write(valueHost, value.load());
}

void CurveSequencerStep::setCurve(int mode)
{
    curveMode.store(mode);
    footer->setCurveMode(mode);
    footer->repaint();
    repaint();
    write(curveHost, static_cast<float>(mode));
}

void CurveSequencerStep::setRange(float r)
{
    range = std::isfinite(r) ? std::max(r, 0.0f) : 0.0f;
    repaint();
}

void CurveSequencerStep::setColor(juce::Colour c)
{
    colour = c;
    footer->setColor(c);
}

void CurveSequencerStep::setIsGrey(bool grey)
{
    isGrey = grey;
    footer->setIsGrey(grey);
    repaint();
}

void CurveSequencerStep::blinkStep(float length)
{
    blinkLength = std::isfinite(length) ? std::max(length, 1.0f) : 1.0f;
    blinking = true;
}

void CurveSequencerStep::resized()
{
    const float w = static_cast<float>(getWidth());
    const float h = static_cast<float>(getHeight());
    shapeArea = { 0.0f, 0.0f, w, 0.88f * h };
    footer->setBounds(0, static_cast<int>(0.88f * h), getWidth(), static_cast<int>(0.12f * h));
}

void CurveSequencerStep::paint(juce::Graphics& g)
{
    const float w = shapeArea.getWidth();
    const float h = shapeArea.getHeight();
    // Plain values of any size are drawn within a band round the shape, never at
    // coordinates too large for the renderer.
    const auto drawn = [](float v) { return std::clamp(v, -1.0f, 2.0f); };
    const float level = drawn(value.load());
    const float reference = drawn(referenceValue);
    const int mode = curveMode.load();

    auto path = segment(mode, level, drawn(nextValue), w, h);
    g.setColour(isGrey ? colour.withAlpha(0.2f) : colour);
    g.strokePath(path, juce::PathStrokeType(2.0f));

    path.lineTo(w, h * (1.0f - reference));
    path.lineTo(0.0f, h * (1.0f - reference));
    path.closeSubPath();
    g.setGradientFill(juce::ColourGradient(colour.withAlpha(isGrey ? 0.2f : 0.5f), 0.0f, 0.5f * h,
                                           colour.withAlpha(isGrey ? 0.05f : 0.2f), 0.0f, h, false));
    g.fillPath(path);

    g.setColour(juce::Colours::white.withAlpha(blinkAlpha));
    g.fillRect(getLocalBounds());

    const float yMid = h * (1.0f - level);
    const float halfBar = std::min(h * range / 2.0f, 2.0f * h);
    juce::Path bar;
    bar.startNewSubPath(w / 2.0f, yMid + halfBar);
    bar.lineTo(w / 2.0f, yMid - halfBar);
    g.setColour(colour.brighter(0.3f).withAlpha(0.8f));
    g.strokePath(bar, juce::PathStrokeType(static_cast<float>(getWidth() / 6), juce::PathStrokeType::curved,
                                           juce::PathStrokeType::rounded));
}
