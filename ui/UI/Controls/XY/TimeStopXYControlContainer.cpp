#include "UI/Controls/XY/TimeStopXYControlContainer.h"

#include "UI/Controls/HostValue.h"

#include <algorithm>
#include <cmath>

namespace
{
    constexpr float twoPi = juce::MathConstants<float>::twoPi;

    // One edge of the spiral: a point at angle a (anticlockwise on screen from twelve
    // o'clock) whose distance from the centre runs linearly from r0 to r1 over one turn.
    struct SpiralEdge
    {
        float r0, r1;
        float radius(float a) const { return r0 + (r1 - r0) * a / twoPi; }
        juce::Point<float> point(float a) const
        {
            return { 50.0f - radius(a) * std::sin(a), 50.0f - radius(a) * std::cos(a) };
        }
        juce::Point<float> tangent(float a) const
        {
            const float dr = (r1 - r0) / twoPi;
            return { -dr * std::sin(a) - radius(a) * std::cos(a), -dr * std::cos(a) + radius(a) * std::sin(a) };
        }
    };

    // Follows an edge from angle a0 to a1 in cubic segments (Hermite tangents).
    void traceEdge(juce::Path& path, const SpiralEdge& edge, float a0, float a1, int segments)
    {
        const float step = (a1 - a0) / static_cast<float>(segments);
        for (int i = 0; i < segments; ++i)
        {
            const float from = a0 + step * static_cast<float>(i);
            const float to = from + step;
            const auto c1 = edge.point(from) + edge.tangent(from) * (step / 3.0f);
            const auto c2 = edge.point(to) - edge.tangent(to) * (step / 3.0f);
            path.cubicTo(c1, c2, edge.point(to));
        }
    }
}

TimeStopXYControlContainer::TimeStopXYControlContainer(Parameter* x, Parameter* y, Parameter* trigger,
                                                       std::string t)
    : XYControlContainer(x, y, std::move(t)),
      triggerSettings(std::make_unique<ParameterSettings>(trigger)),
      triggerParameter(trigger),
      timeLabel(std::make_unique<juce::Label>()),
      holdingLabel(std::make_unique<juce::Label>())
{
    drawHandle = false;
    timeLabel->setFont(Zorvik::getFontLight().withHeight(16.0f));
    holdingLabel->setFont(Zorvik::getFontLight().withHeight(18.0f));
    for (auto* label : { timeLabel.get(), holdingLabel.get() })
    {
        label->setInterceptsMouseClicks(false, false);
        addAndMakeVisible(*label);
    }
    startTimerHz(30);
}

TimeStopXYControlContainer::~TimeStopXYControlContainer()
{
    stopTimer();
    if (triggerState != nullptr)
        triggerState->removeParameterListener(triggerSettings->identifier, this);
}

void TimeStopXYControlContainer::attach(juce::AudioProcessorValueTreeState& s)
{
    XYControlContainer::attach(s);
    auto* host = s.getParameter(triggerSettings->identifier);
    if (host == nullptr)
        return;
    triggerHost = host;
    triggerState = &s;
    s.addParameterListener(triggerSettings->identifier, this);
}

float TimeStopXYControlContainer::triggerValue() const
{
    return HostValue::plain(triggerHost);
}

void TimeStopXYControlContainer::setSpeed(float newSpeed)
{
    speed = newSpeed;
    repaint();
}

void TimeStopXYControlContainer::setIsTriggerHolding(bool holding)
{
    isTriggerHolding = holding;
    holdingCounter = 0;
    holdingLabel->setText(holding ? "HOLDING..." : "", juce::dontSendNotification);
    repaint();
}

void TimeStopXYControlContainer::timerCallback()
{
    if (dirty.exchange(false) || isTriggerHolding)
    {
        repaint();
        ++holdingCounter;
    }
}

void TimeStopXYControlContainer::mouseDown(const juce::MouseEvent& e)
{
    XYControlContainer::mouseDown(e);
    if (isRightClick(e))
        return;
    gestures.begin(triggerHost);
    gestures.write(triggerHost, 1.0f);
}

void TimeStopXYControlContainer::mouseUp(const juce::MouseEvent& e)
{
    if (! isRightClick(e))
    {
        gestures.write(triggerHost, 0.0f);
        locationX.store(0.0f);
        locationY.store(0.0f);
        repaint();
    }
    isDragging = false;
    gestures.end();
}

void TimeStopXYControlContainer::resized()
{
    XYControlContainer::resized();
    const float width = static_cast<float>(getWidth());
    const float height = static_cast<float>(getHeight());
    labelHeight = 0.1f * (height - static_cast<float>(titleStripHeight));
    curveBoxWidth = 0.16f * width;
    margin = 0.015f * width;
    const auto toInt = [](float v) { return static_cast<int>(v); };
    timeLabel->setBounds(toInt(0.0f), toInt(height - 2.0f * labelHeight - margin), toInt(2.0f * curveBoxWidth),
                         toInt(labelHeight));
    holdingLabel->setBounds(0, toInt(height - labelHeight - margin), toInt(2.0f * curveBoxWidth), toInt(labelHeight));
    // The icon is placed for the pad's size: a new size needs a new icon.
    speedIcon.clear();
}

int TimeStopXYControlContainer::timeForLocation(float locationY)
{
    return static_cast<int>(locationY * 1950.0f + 50.0f);
}

float TimeStopXYControlContainer::curveExponent(float locationX)
{
    const float f = (2.0f * locationX - 1.0f) * 4.0f;
    return f <= 0.0f ? 1.0f - f : 1.0f / (0.3f * f + 1.0f);
}

juce::Path TimeStopXYControlContainer::speedIconShape()
{
    // A tapering band that winds twice round the centre: its inner edge turns
    // anticlockwise one full turn moving out from 29.7 to 37.9 units, its outer edge
    // turns back moving out from 39 to 46.1 units; 24 cubic segments each.
    const SpiralEdge inner { 29.7f, 37.9f };
    const SpiralEdge outer { 46.1f, 39.0f };
    juce::Path path;
    path.startNewSubPath(inner.point(0.0f));
    traceEdge(path, inner, 0.0f, twoPi, 24);
    path.lineTo(outer.point(twoPi));
    traceEdge(path, outer, twoPi, 0.0f, 24);
    path.closeSubPath();
    return path;
}

void TimeStopXYControlContainer::paint(juce::Graphics& g)
{
    XYControlContainer::paint(g);
    paintHolding(g);
    paintSquare(g);
    paintCurveIndicator(g);
    paintSpeedIcon(g);
}

void TimeStopXYControlContainer::paintHolding(juce::Graphics& g)
{
    const float alpha = isTriggerHolding
                            ? (std::cos(0.4f * static_cast<float>(holdingCounter)) + 1.0f) * 0.2f + 0.2f
                            : 0.0f;
    g.setColour(juce::Colours::white.withAlpha(alpha));
    g.fillRect(field());
}

void TimeStopXYControlContainer::paintSquare(juce::Graphics& g)
{
    const float width = static_cast<float>(getWidth());
    const float top = static_cast<float>(titleStripHeight);
    const float pad = static_cast<float>(getHeight()) - top;
    const float side = pad / (triggerValue() != 0.0f ? 3.4f : 3.6f);
    g.setColour(isGrey ? juce::Colours::white.withAlpha(0.4f) : juce::Colours::white);
    g.fillRoundedRectangle((width - side) / 2.0f, top + (pad - side) / 2.0f, side, side, 0.1f * side);
}

void TimeStopXYControlContainer::paintCurveIndicator(juce::Graphics& g)
{
    const float trigger = triggerValue();
    timeLabel->setText(trigger != 0.0f ? juce::String(timeForLocation(locationY.load())) + "ms" : juce::String(),
                       juce::dontSendNotification);
    if (trigger != 1.0f)
        return;

    const float height = static_cast<float>(getHeight());
    const float m = margin;
    const float bw = curveBoxWidth;
    const float lh = labelHeight;
    juce::Path path;
    path.startNewSubPath(m, height - m);
    path.lineTo(bw + m, height - m);
    path.lineTo(bw + m, height - lh - m);
    path.lineTo(m, height - lh - m);
    path.lineTo(m, height - m);
    const float exponent = curveExponent(locationX.load());
    for (int i = 0; i <= 40; ++i)
    {
        const float t = static_cast<float>(i) / 40.0f;
        path.lineTo(t * bw + m, height - lh + std::pow(t, exponent) * lh - m);
    }
    g.setColour(juce::Colours::white);
    g.strokePath(path, juce::PathStrokeType(1.5f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
}

void TimeStopXYControlContainer::paintSpeedIcon(juce::Graphics& g)
{
    const float width = static_cast<float>(getWidth());
    const float top = static_cast<float>(titleStripHeight);
    const float pad = static_cast<float>(getHeight()) - top;
    if (pad <= 0.0f || width <= 0.0f)
        return;
    if (speedIcon.isEmpty())
    {
        speedIcon = speedIconShape();
        speedIcon.applyTransform(juce::AffineTransform::scale(pad / 100.0f).translated((width - pad) / 2.0f, top));
    }

    // The initial -1 is a full turn (anticlockwise); a broken value shows the whole icon too.
    const float turn = std::isfinite(speed) ? std::clamp(speed, -1.0f, 1.0f) : -1.0f;
    if (turn == 0.0f)
        return;
    const juce::Point<float> centre(width / 2.0f, top + pad / 2.0f);
    juce::Path wedge;
    wedge.startNewSubPath(centre);
    wedge.addArc(0.0f, top, width, pad, 0.0f, turn * twoPi, false);
    wedge.closeSubPath();

    juce::Graphics::ScopedSaveState saved(g);
    g.reduceClipRegion(wedge);
    g.setColour(isGrey ? mainColour.withAlpha(0.4f) : mainColour);
    g.fillPath(speedIcon);
}
