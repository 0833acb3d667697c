#include "UI/Controls/Granulizer/GrainsComponent.h"

#include <algorithm>
#include <cmath>

namespace
{
    // Farther than this from the view a stroke is not drawn (the rasteriser works in
    // fixed point and must not see huge coordinates).
    constexpr float farAway = 1.0e6f;

    bool drawable(juce::Point<float> p)
    {
        return std::isfinite(p.x) && std::isfinite(p.y) && std::abs(p.x) < farAway && std::abs(p.y) < farAway;
    }
}

GrainsComponent::GrainsComponent()
    : colours { Zorvik::red, Zorvik::green, Zorvik::yellow, Zorvik::blue }
{
    setOpaque(false);
    setInterceptsMouseClicks(false, false);
    setFramesPerSecond(30);
}

void GrainsComponent::setGrains(int count, const float* const* rows)
{
    grains.clear();
    if (rows == nullptr)
        return;
    for (int i = 0; i < count; ++i)
        if (rows[i] != nullptr)
            grains.push_back(GranulizerGrain::fromRow(rows[i]));
}

std::vector<float> GrainsComponent::multiplyMatrixToProjection(const float* point)
{
    std::vector<float> result(4);
    for (size_t i = 0; i < 4; ++i)
    {
        result[i] = point[i] * 0.166f;
        if (std::isnan(result[i]))
            return std::vector<float>(4, 0.0f);
    }
    return result;
}

juce::Point<float> GrainsComponent::spaceToScreen(float width, float height, const float* point)
{
    const auto p = multiplyMatrixToProjection(point);
    if (p[2] == 0.0f)
        return { -1.0f, -1.0f };
    const float x = (p[0] / p[2] + 1.0f) * 0.5f * width;
    const float y = (1.0f - (p[1] / p[2] + 1.0f) * 0.5f) * height;
    if (std::isnan(x) || std::isnan(y))
        return { -1.0f, -1.0f };
    return { x, y };
}

std::optional<juce::Line<float>> GrainsComponent::strokeOf(const GranulizerGrain& grain) const
{
    const float w = static_cast<float>(getWidth());
    const float h = static_cast<float>(getHeight());
    const float start[] = { grain.x(), grain.y(), grain.z(), 1.0f };
    const float end[] = { grain.x(), grain.y(), grain.z() + grain.strokeLength(), 1.0f };
    const auto a = spaceToScreen(w, h, start);
    const auto b = spaceToScreen(w, h, end);
    if (! drawable(a) || ! drawable(b))
        return std::nullopt;
    return juce::Line<float>(a, b);
}

juce::Colour GrainsComponent::colourOf(const GranulizerGrain& grain) const
{
    const float alpha = grain.alpha();
    const auto index = static_cast<size_t>(std::clamp(grain.colourIndex, 0, GranulizerGrain::numColours - 1));
    return colours[index].withAlpha(std::isfinite(alpha) ? std::clamp(alpha, 0.0f, 1.0f) : 0.0f);
}

void GrainsComponent::paint(juce::Graphics& g)
{
    const float widthLimit = static_cast<float>(std::max(getWidth(), getHeight()));
    for (const auto& grain : grains)
    {
        const auto stroke = strokeOf(grain);
        const float width = grain.strokeWidth();
        if (! stroke || ! std::isfinite(width) || width <= 0.0f)
            continue;
        juce::Path path;
        path.startNewSubPath(stroke->getStart());
        path.lineTo(stroke->getEnd());
        g.setColour(colourOf(grain));
        g.strokePath(path, juce::PathStrokeType(std::min(width, widthLimit), juce::PathStrokeType::curved,
                                                juce::PathStrokeType::rounded));
    }
    g.setColour(juce::Colours::white);
    g.drawRect(getLocalBounds(), 1);
}
