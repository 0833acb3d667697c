#include "UI/Controls/Phaser/PhaserViewContainer.h"

#include "UI/Controls/HostValue.h"

#include <algorithm>
#include <cmath>

PhaserViewContainer::PhaserViewContainer(Parameter* p, Parameter* frequency, std::string t)
    : UIContainer(p, std::move(t)),
      frequencyParameter(frequency)
{
}

PhaserViewContainer::~PhaserViewContainer() = default;

void PhaserViewContainer::attach(juce::AudioProcessorValueTreeState& state)
{
    frequencyHost = frequencyParameter != nullptr ? state.getParameter(frequencyParameter->name) : nullptr;
}

void PhaserViewContainer::setNotchesCount(int count)
{
    count = std::clamp(count, 0, maxNotches);
    if (count != notchCount)
    {
        notchCount = count;
        repaint();
    }
}

void PhaserViewContainer::setFeedback(float feedback)
{
    if (! std::isfinite(feedback))
        return;
    notchWidth = std::min(2.0f * std::abs(feedback) / 100.0f + 3.0f, 100.0f);
    repaint();
}

void PhaserViewContainer::setDepth(float d)
{
    if (! std::isfinite(d))
        return;
    depth = std::clamp(d / 100.0f, 0.0f, 1.0f);
    repaint();
}

void PhaserViewContainer::setValues(const float* centres, const float* spreadValues)
{
    centreNotes = centres;
    spreads = spreadValues;
    repaint();
}

void PhaserViewContainer::resized()
{
    UIContainer::resized();
    // The frame is built for the view's size: a new size needs a new frame.
    borderPath.clear();
}

float PhaserViewContainer::noteForFrequency(float f)
{
    return f > 0.0f ? 17.31234f * std::log(0.1223122f * f) : -1500.0f;
}

float PhaserViewContainer::frequencyForNote(float note)
{
    if (! (note > -1500.0f))
        return 0.0f;
    if (note > 1499.0f)
        return 3.282408e38f;
    return 8.175799f * std::exp(0.057762265f * note);
}

float PhaserViewContainer::notchNote(int i, int count, float centreNote, float spread)
{
    const float u = static_cast<float>(i) - static_cast<float>(count - 1) / 2.0f;
    const float a = std::atanh(2.0f * u / static_cast<float>(count));
    const float k = std::pow(10.0f, (spread - 24.0f) * 0.05f * 0.8f);
    return centreNote - 1.3f * a / k;
}

float PhaserViewContainer::proportionForNote(float note) const
{
    return (note - static_cast<float>(lowestNote)) / static_cast<float>(highestNote - lowestNote);
}

float PhaserViewContainer::xForFrequency(float frequency, float width) const
{
    const float note = 12.0f * std::log2(frequency / 440.0f) + 69.0f;
    return width * std::clamp(proportionForNote(note), 0.0f, 1.0f);
}

juce::Path PhaserViewContainer::gridLines(const std::vector<int>& frequencies, float w, float h) const
{
    juce::Path path;
    for (const int f : frequencies)
    {
        const float x = xForFrequency(static_cast<float>(f), w);
        path.startNewSubPath(x, 0.0f);
        path.lineTo(x, h);
    }
    return path;
}

juce::RectangleList<float> PhaserViewContainer::notchRectangles(float w, float h) const
{
    juce::RectangleList<float> bars;
    if (centreNotes == nullptr || spreads == nullptr)
        return bars;
    const float half = static_cast<float>(static_cast<int>(h) / 2);
    for (int side = 0; side < 2; ++side)
        for (int i = 0; i < notchCount; ++i)
        {
            const float p = proportionForNote(notchNote(i, notchCount, centreNotes[side], spreads[side]));
            if (! (p >= 0.0f && p <= 1.0f))
                continue;
            bars.add(p * w - notchWidth / 2.0f, static_cast<float>(side) * half, notchWidth, half);
        }
    return bars;
}

void PhaserViewContainer::paint(juce::Graphics& g)
{
    const int width = getWidth();
    const int height = getHeight();
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    if (borderPath.isEmpty())
    {
        borderPath.startNewSubPath(1.0f, 1.0f);
        borderPath.lineTo(1.0f, h - 1.0f);
        borderPath.quadraticTo(static_cast<float>(width / 2), static_cast<float>(2 * height / 3), w - 1.0f, h - 1.0f);
        borderPath.lineTo(w - 1.0f, 1.0f);
        borderPath.quadraticTo(static_cast<float>(width / 2), static_cast<float>(height / 3), 1.0f, 1.0f);
        borderPath.closeSubPath();
    }
    g.reduceClipRegion(borderPath);

    g.setColour(juce::Colours::white.withAlpha(0.1f));
    g.strokePath(gridLines(minorLines, w, h), juce::PathStrokeType(1.0f));
    g.setColour(juce::Colours::white.withAlpha(0.4f));
    g.strokePath(gridLines(majorLines, w, h), juce::PathStrokeType(1.0f));
    juce::Path middle;
    middle.startNewSubPath(0.0f, static_cast<float>(height / 2));
    middle.lineTo(w, static_cast<float>(height / 2));
    g.setColour(juce::Colours::white.withAlpha(0.1f));
    g.strokePath(middle, juce::PathStrokeType(1.0f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));

    const auto bars = notchRectangles(w, h);
    if (! bars.isEmpty())
    {
        juce::ColourGradient gradient(Zorvik::mauve.withAlpha(depth), 0.0f, 0.0f, Zorvik::red.withAlpha(depth), w, 0.0f, false);
        gradient.addColour(0.2, Zorvik::blue.withAlpha(depth));
        gradient.addColour(0.4, Zorvik::green.withAlpha(depth));
        gradient.addColour(0.6, Zorvik::yellow.withAlpha(depth));
        gradient.addColour(0.8, Zorvik::orange.withAlpha(depth));
        g.setGradientFill(gradient);
        g.fillRectList(bars);
    }

    g.setColour(juce::Colours::white);
    g.strokePath(borderPath, juce::PathStrokeType(3.0f));
}

void PhaserViewContainer::mouseDown(const juce::MouseEvent& e)
{
    dragging = ! e.mods.isRightButtonDown();
    if (! dragging)
        return;
    dragStart = e.getPosition();
    dragStartNote = noteForFrequency(HostValue::plain(frequencyHost));
    gestures.begin(frequencyHost);
}

void PhaserViewContainer::mouseDrag(const juce::MouseEvent& e)
{
    if (! dragging || e.mods.isRightButtonDown() || frequencyHost == nullptr || getWidth() <= 0)
        return;
    const float dx = static_cast<float>(e.getPosition().x - dragStart.x);
    const float note = dragStartNote + 127.0f * dx / static_cast<float>(getWidth());
    gestures.write(frequencyHost, frequencyForNote(note));
}

void PhaserViewContainer::mouseUp(const juce::MouseEvent&)
{
    dragging = false;
    gestures.end();
}
