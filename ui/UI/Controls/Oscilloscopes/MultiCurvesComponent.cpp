#include "UI/Controls/Oscilloscopes/MultiCurvesComponent.h"

#include <algorithm>
#include <cmath>

MultiCurvesComponent::MultiCurvesComponent()
{
    for (const auto& c : { Zorvik::blue, Zorvik::green, Zorvik::orange, Zorvik::red })
        colours.push_back({ c, c.darker(0.4f) });
    setOpaque(false);
    setFramesPerSecond(60);
}

void MultiCurvesComponent::store(float& field, float value)
{
    if (std::isfinite(value))
        field = value;
}

void MultiCurvesComponent::initCurves(int count, float o, float w, float right, float left, bool equal, float fb,
                                      float r)
{
    setDelayLinesCount(count);
    setOffset(o);
    setWidth(w);
    setRightDepth(right);
    setLeftDepth(left);
    setEqualDepth(equal);
    setFeedback(fb);
    setRate(r);
}

void MultiCurvesComponent::setDelayLinesCount(int count) { lineCount = std::clamp(count, 1, maxLines); }
void MultiCurvesComponent::setOffset(float o) { store(offset, o); }
void MultiCurvesComponent::setWidth(float w) { store(width, w); }
void MultiCurvesComponent::setRightDepth(float d) { store(rightDepth, d); }
void MultiCurvesComponent::setLeftDepth(float d) { store(leftDepth, d); }
void MultiCurvesComponent::setEqualDepth(bool equal) { equalDepth = equal; }
void MultiCurvesComponent::setFeedback(float fb) { store(feedback, std::max(fb, 0.0f)); }
void MultiCurvesComponent::setRate(float r) { store(rate, std::max(r, 0.0f)); }

void MultiCurvesComponent::update()
{
    advance(getMillisecondsSinceLastUpdate());
}

void MultiCurvesComponent::advance(double milliseconds)
{
    if (! paused && std::isfinite(milliseconds) && milliseconds > 0.0)
        elapsedTime += milliseconds;
}

void MultiCurvesComponent::resized()
{
    centreY = static_cast<float>(getHeight() / 2);
    xStep = static_cast<float>(getWidth()) / pointCount;
    phaseStep = 4.0f * pi / pointCount;
}

void MultiCurvesComponent::mouseDown(const juce::MouseEvent&)
{
    paused = ! paused;
}

float MultiCurvesComponent::strokeWidth() const
{
    return std::min(feedback + 1.0f, std::max(1.0f, static_cast<float>(getHeight())));
}

juce::Path MultiCurvesComponent::curve(int line, int side) const
{
    const float travel = static_cast<float>(std::sqrt(static_cast<double>(rate)) / 30.0 * elapsedTime * 0.4);
    const float depth = (side == 1 || equalDepth) ? rightDepth : leftDepth;
    const float shift = 2.0f * pi * (-offset * static_cast<float>(line) * 0.5f / static_cast<float>(lineCount)
                                     - width * static_cast<float>(side) * 0.5f);
    // Points stay within a band of the component's height above and below it.
    const float limit = 2.0f * std::max(centreY, 1.0f);
    juce::Path path;
    path.startNewSubPath(0.0f, centreY);
    for (int k = 0; static_cast<float>(k) <= pointCount; ++k)
    {
        const float phase = shift + phaseStep * (static_cast<float>(k) - travel);
        const float y = centreY + std::sin(phase) * centreY * depth;
        path.lineTo(static_cast<float>(k) * xStep, std::isfinite(y) ? std::clamp(y, centreY - limit, centreY + limit) : centreY);
    }
    path.lineTo(static_cast<float>(getWidth()), centreY);
    return path;
}

void MultiCurvesComponent::paint(juce::Graphics& g)
{
    const juce::PathStrokeType stroke(strokeWidth(), juce::PathStrokeType::mitered, juce::PathStrokeType::butt);
    for (int side = sides - 1; side >= 0; --side)
        for (int line = lineCount - 1; line >= 0; --line)
        {
            g.setColour(colourOf(line, side));
            g.strokePath(curve(line, side), stroke);
        }
}
