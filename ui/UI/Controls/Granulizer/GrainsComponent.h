#pragma once

#include "Binaries/Zorvik.h"
#include "UI/Controls/Granulizer/GranulizerGrain.h"

#include <juce_gui_extra/juce_gui_extra.h>

#include <optional>
#include <vector>

// The granulizer's grains as short strokes flying over the floor, repainted 30 times
// a second; also the perspective projection that the floor grid uses.
//
// Grains whose numbers are not finite, or whose stroke lands far outside the view,
// are not drawn.
class GrainsComponent : public juce::AnimatedAppComponent
{
public:
    GrainsComponent();

    // Copies count rows of ten floats; null rows are skipped, a count below 1 or null
    // rows clear the list.
    void setGrains(int count, const float* const* rows);
    void update() override {}
    void resized() override {}
    void paint(juce::Graphics&) override;

    // The screen point of a point (x, y, z, 1) in a view of width x height: the camera
    // looks along +z with a field of view of -1 to 1 in x / z and y / z. Points at z = 0
    // or with a result that is not a number map to (-1, -1).
    static juce::Point<float> spaceToScreen(float width, float height, const float* point);
    // The projection step: every coordinate times 0.166, or four zeros when any is NaN.
    static std::vector<float> multiplyMatrixToProjection(const float* point);
    // The screen stroke of a grain, or nothing when it cannot be drawn.
    std::optional<juce::Line<float>> strokeOf(const GranulizerGrain& grain) const;

    const std::vector<GranulizerGrain>& getGrains() const { return grains; }
    juce::Colour colourOf(const GranulizerGrain& grain) const;

private:
    std::vector<GranulizerGrain> grains;
    std::vector<juce::Colour> colours;
};
