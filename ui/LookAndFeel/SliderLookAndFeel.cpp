#include "LookAndFeel/SliderLookAndFeel.h"

#include <algorithm>
#include <cmath>

namespace
{
    constexpr float pi = juce::MathConstants<float>::pi;
}

SliderLookAndFeel::SliderLookAndFeel()
{
    valueTextHeight = 28;
    mainColour = Zorvik::blue;
    unitCode = 0;
    flags = 0xFFFFFFFFu;
    isGrey = false;
}

void SliderLookAndFeel::refreshShapeCache(float value, juce::Rectangle<int> area)
{
    if (value == cachedValue && area == cachedArea)
        return;
    valueShape.clear();
    waveformShape.clear();
    cachedValue = value;
    cachedArea = area;
}

juce::Slider::SliderLayout SliderLookAndFeel::getSliderLayout(juce::Slider& slider)
{
    juce::Slider::SliderLayout layout;
    layout.sliderBounds = slider.getLocalBounds();
    return layout;
}

std::string SliderLookAndFeel::textValue(juce::Slider& slider) const
{
    const double value = slider.getValue();
    if (! valueNames.empty())
    {
        const auto last = static_cast<double>(valueNames.size() - 1);
        const double index = std::isfinite(value) ? std::clamp(std::trunc(value), 0.0, last) : 0.0;
        return valueNames[static_cast<size_t>(index)];
    }
    return updateValueText(slider.getTextFromValue(value).toStdString());
}

void SliderLookAndFeel::drawLinearSlider(juce::Graphics& g, int x, int y, int width, int height,
                                         float sliderPos, float, float, juce::Slider::SliderStyle,
                                         juce::Slider& slider)
{
    // A value that is not a number has no level line: the bar is drawn empty.
    const float end = static_cast<float>(y + height);
    sliderPos = std::isfinite(sliderPos) ? std::clamp(sliderPos, static_cast<float>(y), end) : end;
    refreshShapeCache(static_cast<float>(slider.getValue()), { x, y, width, height });
    if (valueShape.isEmpty())
        valueShape.addRectangle(static_cast<float>(x), sliderPos, static_cast<float>(width),
                                static_cast<float>(y + height) - sliderPos);

    const auto top = isGrey ? mainColour.withAlpha(0.4f) : mainColour;
    const auto bottom = mainColour.withAlpha(isGrey ? 0.1f : 0.6f);
    g.setGradientFill(juce::ColourGradient(top, 0.0f, static_cast<float>(height / 2), bottom, 0.0f,
                                           static_cast<float>(height), false));
    g.fillPath(valueShape);

    g.setColour(juce::Colours::white);
    g.drawRect(x, y, width, height, 1);

    g.setFont(getValueFont());
    const float textTop = sliderPos >= static_cast<float>(valueTextHeight) ? sliderPos - static_cast<float>(valueTextHeight)
                                                                             : sliderPos;
    g.drawFittedText(textValue(slider), 0, static_cast<int>(textTop), width, valueTextHeight,
                     juce::Justification::centred, 2, 0.0f);
}

void SliderLookAndFeel::drawRotarySlider(juce::Graphics& g, int x, int y, int width, int height,
                                         float sliderPos, float startAngle, float endAngle,
                                         juce::Slider& slider)
{
    // A value that is not a number points the knob at its start.
    sliderPos = std::isfinite(sliderPos) ? std::clamp(sliderPos, 0.0f, 1.0f) : 0.0f;
    refreshShapeCache(static_cast<float>(slider.getValue()), { x, y, width, height });
    const float cx = static_cast<float>(x) + static_cast<float>(width) * 0.5f;
    const float cy = static_cast<float>(y) + static_cast<float>(height) * 0.5f;

    if (valueShape.isEmpty())
    {
        const float radius = static_cast<float>(std::min(height / 2, width / 2)) - 2.0f;
        const float angle = startAngle + sliderPos * (endAngle - startAngle);
        valueShape.addCentredArc(cx, cy, radius, radius, 0.0f, -0.9f * pi, 0.9f * pi, true);
        valueShape.addEllipse(cx - 3.0f, cy + radius - 12.0f, 6.0f, 6.0f);
        valueShape.applyTransform(juce::AffineTransform::rotation(angle - pi, cx, cy));
    }

    g.setColour(isGrey ? mainColour.withAlpha(0.4f) : mainColour);
    g.strokePath(valueShape, juce::PathStrokeType(1.5f));

    g.setColour(juce::Colours::white);
    g.setFont(getValueFont());
    if (isWaveform)
    {
        drawWaveform(g, x, y, width, height, slider);
        return;
    }
    g.drawFittedText(textValue(slider), static_cast<int>(0.25f * static_cast<float>(width)),
                     static_cast<int>(cy - static_cast<float>(valueTextHeight) * 0.5f),
                     static_cast<int>(0.5f * static_cast<float>(width)), valueTextHeight,
                     juce::Justification::centred, 2, 0.0f);
}

void SliderLookAndFeel::drawWaveform(juce::Graphics& g, int x, int y, int width, int height, juce::Slider& slider)
{
    if (waveformName == "shape")
        drawShape(g, x, y, width, height, slider);
    else if (waveformName == "warmth")
        drawWarmth(g, x, y, width, height, slider);
}

void SliderLookAndFeel::drawShape(juce::Graphics& g, int x, int y, int width, int height, juce::Slider& slider)
{
    if (waveformShape.isEmpty())
    {
        const float v = static_cast<float>(slider.getValue());
        if (! std::isfinite(v))
            return;
        const float s = v / 100.0f * 5.0f + 1.0f;
        const float k = 20.0f / (2.0f * s);
        if (! std::isfinite(k))
            return;
        const float half = (1.0f - 2.0f * k / 20.0f) * 0.5f;
        const float cx = static_cast<float>(x + width / 2);
        const float base = static_cast<float>(y) + 0.6f * static_cast<float>(height);
        for (int i = -20; i <= 20; ++i)
        {
            const float t = static_cast<float>(i) / 40.0f;
            const float side = i >= 0 ? half : -half;
            const float u = (side + 2.0f * t * k / 20.0f) * static_cast<float>(width);
            const juce::Point<float> point(cx + u / 3.0f,
                                           base - (std::cos(2.0f * pi * t) + 1.0f) * static_cast<float>(height) / 8.0f);
            if (i == -20)
                waveformShape.startNewSubPath(point);
            else
                waveformShape.lineTo(point);
        }
    }
    g.strokePath(waveformShape, juce::PathStrokeType(2.0f));
}

void SliderLookAndFeel::drawWarmth(juce::Graphics& g, int x, int y, int width, int height, juce::Slider& slider)
{
    if (waveformShape.isEmpty())
    {
        const float v = static_cast<float>(slider.getValue());
        if (! std::isfinite(v))
            return;
        const float a = v / 100.0f * 0.5f * 10.0f + 0.01f;
        const float norm = std::tanh(a);
        // At a = 0 the curve tends to the straight line tanh(a t) / tanh(a) -> t.
        const auto curve = [a, norm](float t) { return norm != 0.0f ? std::tanh(a * t) / norm : t; };
        const float cx = static_cast<float>(x + width / 2);
        const float cy = static_cast<float>(y + height / 2);
        for (int i = -20; i <= 20; ++i)
        {
            const float t = static_cast<float>(i) / 20.0f;
            const juce::Point<float> point(cx + t * static_cast<float>(width) * 0.15f,
                                           cy - curve(t) * static_cast<float>(height) * 0.15f);
            if (i == -20)
                waveformShape.startNewSubPath(point);
            else
                waveformShape.lineTo(point);
        }
    }
    g.strokePath(waveformShape, juce::PathStrokeType(2.0f));
}
