#include "UI/Controls/Granulizer/GranulizerViewContainer.h"
#include "UI/Controls/Oscilloscopes/MultiOscilloscopeContainer.h"
#include "UiTestSupport.h"
#include "TestProcessor.h"

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
}

TEST(MultiCurves, SettingsStayWithinWhatCanBeDrawn)
{
    MultiCurvesComponent curves;
    curves.setBounds(0, 0, 200, 100);
    curves.setDelayLinesCount(9);
    EXPECT_EQ(curves.getDelayLinesCount(), 4);
    curves.setDelayLinesCount(0);
    EXPECT_EQ(curves.getDelayLinesCount(), 1);
    curves.initCurves(2, notANumber, INFINITY, 1.0e30f, notANumber, false, -5.0f, -1.0f);
    curves.advance(notANumber);
    curves.advance(1.0e300);
    EXPECT_FLOAT_EQ(curves.strokeWidth(), 1.0f);
    const auto bounds = curves.curve(0, 1).getBounds();
    EXPECT_GE(bounds.getY(), -100.0f);
    EXPECT_LE(bounds.getBottom(), 200.0f);
    curves.setFeedback(1.0e30f);
    EXPECT_LE(curves.strokeWidth(), 100.0f);
    render(curves, "curves-hostile");
}

TEST(MultiOscilloscope, NonFiniteDelaysAreRefusedAndTheFrameIsDrawn)
{
    MultiOscilloscopeContainer scope(nullptr, "");
    scope.setBounds(0, 0, 200, 120);
    scope.setDelayTime(notANumber);
    EXPECT_FLOAT_EQ(scope.getDelayTime(), 1.0f);
    scope.setDelayTime(12.0f);
    EXPECT_FLOAT_EQ(scope.getDelayTime(), 12.0f);
    const auto image = render(scope, "oscilloscope");
    EXPECT_TRUE(near(image.getPixelAt(0, 60), juce::Colours::white));
    EXPECT_TRUE(near(image.getPixelAt(199, 5), juce::Colours::white));
}

TEST(Granulizer, GrainsAreCopiedAndDrawnInTheirColourOverTheFloor)
{
    GranulizerViewContainer view(nullptr, "Grains");
    view.setBounds(0, 0, 200, 124);
    std::array<float, 10> near0 = row(0.0f, 8000.0f, 0.0f, 1.0f, 0.5f, 2.0f, 0.5f, 0.0f, 0.0f);
    const float* rows[] = { near0.data(), nullptr };
    view.setGrains(2, rows);
    near0.fill(notANumber);
    ASSERT_EQ(view.getGrainsComponent().getGrains().size(), 1u);
    const auto image = render(view, "granulizer");
    // The green stroke starts at the centre, x 100, y 24 + 50 - 0.01 / 0.1 x 50 = 69, 12 pixels wide.
    EXPECT_TRUE(near(image.getPixelAt(100, 67), Zorvik::green, 10));
    EXPECT_TRUE(near(image.getPixelAt(0, 80), juce::Colours::white));
    const auto before = view.getBackground().getFloor().getBounds();
    view.setBounds(0, 0, 100, 124);
    render(view, "granulizer-resized");
    EXPECT_NE(view.getBackground().getFloor().getBounds(), before);
}

TEST(Granulizer, HostileRowsAreSkippedOrDrawnSafely)
{
    GranulizerViewContainer view(nullptr, "");
    view.setBounds(0, 0, 200, 124);
    std::vector<std::array<float, 10>> data {
        row(notANumber, notANumber, notANumber, notANumber, notANumber, notANumber, notANumber, notANumber, notANumber),
        row(-1000.0f, 1.0e30f, 1.0e30f, 2.0f, 1.0e30f, 1.0e30f, 0.5f),
        row(-1.0e30f, 5.0f, 0.0f, 1.0f, 0.5f, 1.0e30f, 0.5f, 1.0f, -1.0e30f),
        row(INFINITY, -INFINITY, 0.0f, 3.0f, 0.0f, 1.0f, 0.5f),
    };
    std::vector<const float*> rows;
    for (auto& r : data)
        rows.push_back(r.data());
    view.setGrains(static_cast<int>(rows.size()), rows.data());
    render(view, "granulizer-hostile");
    view.setGrains(-5, rows.data());
    EXPECT_TRUE(view.getGrainsComponent().getGrains().empty());
    view.setGrains(3, nullptr);
    view.setBounds(0, 0, 0, 0);
    paintDirect(view.getGrainsComponent());
    paintDirect(view.getBackground());
}
