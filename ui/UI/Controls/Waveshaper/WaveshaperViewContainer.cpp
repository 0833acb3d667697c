#include "UI/Controls/Waveshaper/WaveshaperViewContainer.h"

#include "UI/Controls/HostValue.h"

#include <algorithm>
#include <cmath>
#include <limits>

WaveshaperViewContainer::WaveshaperViewContainer(Parameter* p, Parameter* first, Parameter* second,
                                                 std::string t)
    : UIContainer(p, std::move(t)),
      firstParameter(first),
      secondParameter(second)
{
}

WaveshaperViewContainer::~WaveshaperViewContainer() = default;

void WaveshaperViewContainer::attach(juce::AudioProcessorValueTreeState& state)
{
    firstHost = firstParameter != nullptr ? state.getParameter(firstParameter->name) : nullptr;
    secondHost = secondParameter != nullptr ? state.getParameter(secondParameter->name) : nullptr;
}

void WaveshaperViewContainer::setAlgorithm(Algorithm a)
{
    if (a != algorithm)
    {
        algorithm = a;
        repaint();
    }
}

void WaveshaperViewContainer::setValues(float newOffset, float newFoldAmount, float newFoldRate, float newDrive)
{
    bool changed = false;
    const auto update = [&changed](float& field, float value) {
        if (differs(field, value))
        {
            field = value;
            changed = true;
        }
    };
    update(offset, newOffset);
    update(foldAmount, newFoldAmount);
    update(foldRate, newFoldRate);
    update(drive, newDrive);
    if (changed)
        repaint();
}

float WaveshaperViewContainer::shape(int a, float x, float driveAmount)
{
    const float k = driveAmount * 10.0f + 0.5f;
    const bool below = x < -1.0f;
    const bool above = x > 1.0f;
    switch (a)
    {
        case drawHardClip: return below ? -1.0f : (above ? 1.0f : x);
        case drawSoftClip: return below ? -1.0f : (above ? 1.0f : 1.5f * (x - x * x * x / 3.0f));
        case drawHyperbolicTangent: return std::tanh(k * x) / std::tanh(k);
        case drawExponential: return x > 0.0f ? 1.0f - std::exp(-k * x) : std::exp(k * x) - 1.0f;
        case drawSinoidFold: return std::sin(x * juce::MathConstants<float>::pi / 2.0f);
        case drawPolynomialOrder2: return (below || above) ? 1.0f : 2.0f * x * x - 1.0f;
        case drawPolynomialOrder3: return below ? -1.0f : (above ? 1.0f : 4.0f * x * x * x - 3.0f * x);
        case drawPolynomialOrder4:
            return (below || above) ? 1.0f : 8.0f * x * x * x * x - 8.0f * x * x + 1.0f;
        case drawPolynomialOrder5:
            return below ? -1.0f : (above ? 1.0f : 16.0f * std::pow(x, 5.0f) - 20.0f * x * x * x + 5.0f * x);
        default: return std::numeric_limits<float>::quiet_NaN();
    }
}

float WaveshaperViewContainer::folded(float y, float amount, float rate)
{
    const float pi = juce::MathConstants<float>::pi;
    return y + amount * 0.3f * std::sin(y * 5.0f * pi * (rate * 5.0f + 0.1f));
}

void WaveshaperViewContainer::resized()
{
    UIContainer::resized();
}

void WaveshaperViewContainer::buildGrid(float w, float h)
{
    gridPath.startNewSubPath(centreX, 0.0f);
    gridPath.lineTo(centreX, h);
    gridPath.startNewSubPath(0.0f, centreY);
    gridPath.lineTo(w, centreY);
    for (const float x : { leftUnitX, rightUnitX })
    {
        gridPath.startNewSubPath(x, 0.0f);
        gridPath.lineTo(x, h);
    }
    for (const float y : { lowerUnitY, upperUnitY })
    {
        gridPath.startNewSubPath(0.0f, y);
        gridPath.lineTo(w, y);
    }
}

void WaveshaperViewContainer::buildCurve(float w, float h)
{
    curvePath.clear();
    if (algorithm < 0 || algorithm >= numAlgorithms)
        return;
    // Levels far outside the view are drawn at its edge band, never at huge or NaN places.
    const auto screenY = [&](float level) { return std::clamp(centreY - h * level / (2.0f * range), -h, 2.0f * h); };
    curvePath.startNewSubPath(0.0f, lowerUnitY);
    for (int i = -100; i <= 100; ++i)
    {
        const float x = static_cast<float>(i) * range / 100.0f;
        const float y = folded(shape(algorithm, x, drive), foldAmount, foldRate);
        if (std::isfinite(y))
            curvePath.lineTo(x * w / (2.0f * range) + centreX, screenY(y));
    }
    curvePath.lineTo(w, upperUnitY);
}

void WaveshaperViewContainer::paint(juce::Graphics& g)
{
    const float w = static_cast<float>(getWidth());
    const float h = static_cast<float>(getHeight());
    centreX = 0.5f * w;
    centreY = 0.5f * h;
    const float sx = w / (2.0f * range);
    const float sy = h / (2.0f * range);
    leftUnitX = centreX - sx;
    rightUnitX = centreX + sx;
    lowerUnitY = centreY + sy;
    upperUnitY = centreY - sy;

    if (gridPath.isEmpty())
        buildGrid(w, h);
    g.setColour(juce::Colours::grey);
    g.strokePath(gridPath, juce::PathStrokeType(0.5f));

    offsetPath.clear();
    const float offsetY = centreY - h * offset / (2.0f * range);
    if (std::isfinite(offsetY))
    {
        offsetPath.startNewSubPath(0.0f, std::clamp(offsetY, -h, 2.0f * h));
        offsetPath.lineTo(w, std::clamp(offsetY, -h, 2.0f * h));
        g.setColour(juce::Colours::white);
        g.strokePath(offsetPath, juce::PathStrokeType(1.0f));
    }

    buildCurve(w, h);
    g.setColour(mainColour);
    g.strokePath(curvePath, juce::PathStrokeType(2.0f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));

    g.setColour(juce::Colours::white);
    g.drawRect(getLocalBounds(), 1);
}

void WaveshaperViewContainer::mouseDown(const juce::MouseEvent& e)
{
    dragging = ! e.mods.isRightButtonDown();
    if (! dragging)
        return;
    dragStart = e.getPosition();
    firstAtDragStart = HostValue::plain(firstHost);
    secondAtDragStart = HostValue::plain(secondHost);
    gestures.begin(firstHost);
    gestures.begin(secondHost);
}

void WaveshaperViewContainer::mouseDrag(const juce::MouseEvent& e)
{
    const float w = static_cast<float>(getWidth());
    const float h = static_cast<float>(getHeight());
    if (! dragging || e.mods.isRightButtonDown() || w <= 0.0f || h <= 0.0f)
        return;
    const float dx = static_cast<float>(e.getPosition().x - dragStart.x);
    const float dy = static_cast<float>(e.getPosition().y - dragStart.y);
    gestures.write(firstHost, firstAtDragStart - 100.0f * dy / (h / (2.0f * range)));
    gestures.write(secondHost, secondAtDragStart + dx * range / w);
}

void WaveshaperViewContainer::mouseUp(const juce::MouseEvent&)
{
    dragging = false;
    gestures.end();
}
