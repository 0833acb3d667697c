#include "TestProcessor.h"
#include "UI/Controls/Granulizer/GranulizerViewContainer.h"
#include "UiTestSupport.h"

#include <array>
#include <cmath>

using namespace UiTest;

namespace
{
    const float notANumber = std::nanf("");

    std::array<float, 10> row(float depth, float length, float side, float colour, float height, float thickness,
                              float progress, float reverse = 0.0f, float sharpness = 0.1f)
    {
        return { depth, length, side, colour, height, thickness, progress, reverse, sharpness, 0.0f };
    }

    bool bluish(juce::Colour c) { return c.getBlue() > c.getRed() + 20; }
}

TEST(GranulizerViewTest, TheProjectionLooksAlongDepthWithTheHorizonAtHalfHeight)
{
    const float corner[] = { 3.0f, 3.0f, 3.0f, 1.0f }; // x / z = y / z = 1: the top right corner
    const float atEye[] = { 1.0f, 1.0f, 0.0f, 1.0f };
    const float broken[] = { notANumber, 0.0f, 1.0f, 1.0f };
    const float endless[] = { INFINITY, 0.0f, INFINITY, 1.0f };
    EXPECT_LT(GrainsComponent::spaceToScreen(200.0f, 100.0f, corner).getDistanceFrom({ 200.0f, 0.0f }), 1e-3f);
    for (const auto* point : { atEye, broken, endless })
        EXPECT_EQ(GrainsComponent::spaceToScreen(200.0f, 100.0f, point), juce::Point<float>(-1.0f, -1.0f));
    EXPECT_EQ(GrainsComponent::multiplyMatrixToProjection(broken), std::vector<float>(4, 0.0f));
}

TEST(GranulizerViewTest, AGrainIsThinAtItsEndsFullInItsMiddleAndFadesWithDistance)
{
    // Length 2000 and sharpness 0.1: the width rises as a half cosine over the first quarter.
    auto grain = GranulizerGrain::fromRow(row(0.0f, 2000.0f, 0.0f, 1.0f, 0.5f, 1.0f, 0.0f).data());
    for (const auto& [progress, width] : { std::pair { 0.0f, 0.0 }, { 0.125f, 3.0 }, { 0.5f, 6.0 }, { 0.875f, 3.0 },
                                           { 1.0f, 0.0 } })
    {
        grain.progress = progress;
        EXPECT_NEAR(grain.strokeWidth(), width, 1e-4) << progress;
    }
    EXPECT_FLOAT_EQ(grain.alpha(), 1.0f);
    grain.depth = 100000.0f;
    EXPECT_EQ(GrainsComponent().colourOf(grain).getAlpha(), 0);
    for (const auto& [colour, index] : { std::pair { 2.9f, 2 }, { 17.0f, 3 }, { -4.0f, 0 }, { notANumber, 0 } })
        EXPECT_EQ(GranulizerGrain::fromRow(row(0, 0, 0, colour, 0, 0, 0).data()).colourIndex, index) << colour;

    // z = 1.1 and length 0.5 with x = 0.3: away ends at z = 1.6, reversed towards the viewer at z = 0.6.
    GrainsComponent grains;
    grains.setBounds(0, 0, 200, 100);
    const auto away = grains.strokeOf(GranulizerGrain::fromRow(row(10000, 5000, 3, 0, 0.5f, 1, 1).data()));
    const auto towards = grains.strokeOf(GranulizerGrain::fromRow(row(10000, 5000, 3, 0, 0.5f, 1, 1, 1).data()));
    ASSERT_TRUE(away && towards);
    EXPECT_NEAR(away->getEndX(), (0.3 / 1.6 + 1.0) * 100.0, 1e-3);
    EXPECT_NEAR(towards->getEndX(), (0.3 / 0.6 + 1.0) * 100.0, 1e-3);
    EXPECT_EQ(away->getStart(), towards->getStart());
}

TEST(GranulizerViewTest, GrainsAreCopiedAndDrawnInTheirColourOverAFloorRebuiltOnResize)
{
    TestProcessor processor({ { "Grains", 0.0f, 1.0f, 0.0f } });
    GranulizerViewContainer view(processor.record("Grains"), "Grains");
    view.attach(processor.parameters);
    view.setBounds(0, 0, 200, 124);
    EXPECT_EQ(view.getGrainsComponent().getBounds(), juce::Rectangle<int>(0, 24, 200, 100));
    auto nearest = row(0.0f, 8000.0f, 0.0f, 1.0f, 0.5f, 2.0f, 0.5f, 0.0f, 0.0f);
    const float* rows[] = { nearest.data(), nullptr };
    view.setGrains(2, rows);
    nearest.fill(notANumber);
    ASSERT_EQ(view.getGrainsComponent().getGrains().size(), 1u);
    view.getGrainsComponent().update();
    auto image = render(view, "granulizer");
    // A green stroke 12 px wide from the middle at y = 24 + (1 - 1.1 / 2) x 100 = 69 into the depth.
    EXPECT_TRUE(near(image.getPixelAt(100, 67), Zorvik::green, 10));
    EXPECT_TRUE(near(image.getPixelAt(0, 80), juce::Colours::white));
    // The cross line at depth 6 lies at (1/2 + 2/6) of the height, across the whole width.
    EXPECT_TRUE(bluish(image.getPixelAt(150, 24 + 83)));
    EXPECT_TRUE(near(image.getPixelAt(150, 24 + 60), Zorvik::background));

    view.setBounds(0, 0, 100, 74);
    image = render(view, "granulizer-resized");
    EXPECT_TRUE(bluish(image.getPixelAt(50, 24 + 41)));
}

TEST(GranulizerViewTest, HostileRowsAreSkippedOrDrawnSafely)
{
    GranulizerViewContainer view(nullptr, "");
    view.setBounds(0, 0, 200, 124);
    std::vector<std::array<float, 10>> data {
        row(notANumber, notANumber, notANumber, notANumber, notANumber, notANumber, notANumber, notANumber, notANumber),
        row(-1000.0f, 1.0e30f, 1.0e30f, 2.0f, 1.0e30f, 1.0e30f, 0.5f),
        row(-1.0e30f, 5.0f, 0.0f, 1.0f, 0.5f, 1.0e30f, 0.5f, 1.0f, -1.0e30f),
        row(INFINITY, -INFINITY, 0.0f, 3.0f, 0.0f, 1.0f, 0.5f),
        row(0.0f, 5000.0f, 1.0e30f, 2.0f, 0.5f, 1.0f, 0.5f), // far to the side of the view
    };
    std::vector<const float*> rows;
    for (auto& r : data)
        rows.push_back(r.data());
    view.setGrains(static_cast<int>(rows.size()), rows.data());
    EXPECT_EQ(view.getGrainsComponent().getGrains().size(), data.size());
    EXPECT_FALSE(view.getGrainsComponent().strokeOf(view.getGrainsComponent().getGrains().back()));
    EXPECT_TRUE(near(render(view, "granulizer-hostile").getPixelAt(0, 80), juce::Colours::white));
    view.setGrains(-5, rows.data());
    EXPECT_TRUE(view.getGrainsComponent().getGrains().empty());
    view.setGrains(3, rows.data());
    view.setGrains(3, nullptr);
    EXPECT_TRUE(view.getGrainsComponent().getGrains().empty());
}
