#include "UI/Controls/CurveSequencer/CurveSequencerStepFooter.h"

#include <algorithm>
#include <cmath>

int CurveSequencerStepFooter::modeForValue(float value)
{
    if (! std::isfinite(value))
        return held;
    // Far beyond the modes every number is as unknown as the next; the limit keeps it an int.
    constexpr float limit = 1.0e6f;
    return static_cast<int>(std::round(std::clamp(value, -limit, limit)));
}

int CurveSequencerStepFooter::nextMode(int mode)
{
    return mode >= held && mode < numCurveModes - 1 ? mode + 1 : held;
}

CurveSequencerStepFooter::CurveSequencerStepFooter()
{
    setInterceptsMouseClicks(false, false);
}

void CurveSequencerStepFooter::setColor(juce::Colour c)
{
    colour = c;
    repaint();
}

void CurveSequencerStepFooter::setIsGrey(bool grey)
{
    isGrey = grey;
    repaint();
}

juce::Path CurveSequencerStepFooter::glyph(int mode, float width, float height)
{
    const float pi = juce::MathConstants<float>::pi;
    const float t = 0.25f * height;
    const float b = 0.75f * height;
    const float m = (t + b) / 2.0f;
    const float g = std::min(width / 2.0f, 1.5f * (b - t));
    const float x0 = (width - g) / 2.0f;
    const float x1 = x0 + g;
    const float r = g / 5.0f;

    juce::Path path;
    switch (mode)
    {
        case held:
            path.startNewSubPath(x0, b);
            path.lineTo(x0, t);
            path.lineTo(x1, t);
            path.lineTo(x1, b);
            break;
        case ramp:
            path.startNewSubPath(x1, m);
            path.lineTo(x0, m);
            path.addCentredArc(x0, m, r, r, 0.0f, 0.0f, -pi, true);
            path.addCentredArc(x1, m, r, r, 0.0f, pi, 0.0f, true);
            break;
        case rampUp:
            path.startNewSubPath(x0, b);
            path.lineTo(x1, t);
            break;
        case rampDown:
            path.startNewSubPath(x0, t);
            path.lineTo(x1, b);
            break;
        case ease:
            for (int i = 0; i <= 10; ++i)
            {
                const float s = static_cast<float>(i) / 10.0f;
                const float x = x0 + s * (x1 - x0);
                const float y = b + (t - b) * (std::sin(s * pi - pi / 2.0f) * 0.5f + 0.5f);
                if (i == 0)
                    path.startNewSubPath(x, y);
                else
                    path.lineTo(x, y);
            }
            path.addCentredArc(x0, b, r, r, 0.0f, 0.0f, -pi, true);
            path.addCentredArc(x1, t, r, r, 0.0f, pi, 0.0f, true);
            break;
        default:
            break;
    }
    return path;
}

void CurveSequencerStepFooter::paint(juce::Graphics& g)
{
    g.fillAll(isGrey ? colour.withAlpha(0.2f) : colour);
    g.setColour(juce::Colours::white);
    g.strokePath(glyph(curveMode.load(), static_cast<float>(getWidth()), static_cast<float>(getHeight())),
                 juce::PathStrokeType(1.5f));
}
