#include "UI/Controls/Granulizer/GranulizerViewContainer.h"
#include "UI/Controls/Oscilloscopes/MultiOscilloscopeContainer.h"
#include "UiTestSupport.h"
#include "ViewTestProcessor.h"

#include <cmath>

using namespace UiTest;

namespace
{
    const float notANumber = std::nanf("");

    // The y of the k-th point of a curve, as the drawing formula gives it, in double precision.
    double curveY(int k, int line, int side, int lineCount, double elapsed, double height, double depth)
    {
        const double offset = 0.4, width = 0.6, rate = 5.0;
        const double centre = std::floor(height / 2.0);
        const double travel = std::sqrt(rate) / 30.0 * elapsed * 0.4;
        const double phase = 2.0 * M_PI * (-offset * line * 0.5 / lineCount - width * side * 0.5)
                             + 4.0 * M_PI / 72.0 * (k - travel);
        return centre + std::sin(phase) * centre * depth;
    }

    std::vector<juce::Point<float>> points(const juce::Path& path)
    {
        std::vector<juce::Point<float>> list;
        for (juce::Path::Iterator it(path); it.next();)
            list.push_back({ it.x1, it.y1 });
        return list;
    }

    std::array<float, 10> row(float depth, float length, float side, float colour, float height, float thickness,
                              float progress, float reverse = 0.0f, float sharpness = 0.1f)
    {
        return { depth, length, side, colour, height, thickness, progress, reverse, sharpness, 0.0f };
    }
}

TEST(MultiCurves, PointsFollowTheTravellingSineOfEachLineAndSide)
{
    MultiCurvesComponent curves;
    curves.setBounds(0, 0, 288, 101);
    curves.advance(250.0);
    for (const auto& [line, side] : { std::pair { 0, 0 }, std::pair { 3, 0 }, std::pair { 2, 1 } })
    {
        const auto p = points(curves.curve(line, side));
        ASSERT_EQ(p.size(), 75u);  // the start, 73 points, the end
        for (const int k : { 0, 17, 40, 72 })
        {
            EXPECT_NEAR(p[static_cast<size_t>(k + 1)].x, k * 4.0, 1e-3);
            EXPECT_NEAR(p[static_cast<size_t>(k + 1)].y, curveY(k, line, side, 4, 250.0, 101.0, side == 1 ? 1.0 : 0.4), 2e-3);
        }
    }
}

TEST(MultiCurves, AClickPausesTheTravelAndASecondResumesIt)
{
    MultiCurvesComponent curves;
    curves.setBounds(0, 0, 200, 100);
    curves.advance(100.0);
    const auto click = mouseEvent(curves, { 5.0f, 5.0f });
    curves.mouseDown(click);
    curves.advance(500.0);
    EXPECT_DOUBLE_EQ(curves.getElapsedTime(), 100.0);
    curves.mouseDown(click);
    curves.advance(50.0);
    EXPECT_DOUBLE_EQ(curves.getElapsedTime(), 150.0);
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

TEST(MultiCurves, WithoutWidthAndWithEqualDepthBothSidesCoincide)
{
    MultiCurvesComponent curves;
    curves.setBounds(0, 0, 200, 100);
    curves.initCurves(1, 0.4f, 0.0f, 1.0f, 0.4f, true, 0.0f, 5.0f);
    EXPECT_EQ(points(curves.curve(0, 0)), points(curves.curve(0, 1)));
    const auto image = render(curves, "curves-one-line");
    // Line 0's own blue covers its darker twin; no other line is drawn.
    bool blue = false;
    for (int y = 0; y < 100; ++y)
        blue = blue || near(image.getPixelAt(100, y), Zorvik::blue, 30);
    EXPECT_TRUE(blue);
    EXPECT_TRUE(near(image.getPixelAt(100, 0), Zorvik::background) || near(image.getPixelAt(100, 99), Zorvik::background));
}

TEST(MultiOscilloscope, TheTintBrightensForShortDelaysAndNeverDarkensForLongOnes)
{
    const auto base = Zorvik::blue.darker(0.4f).withAlpha(0.05f);
    EXPECT_EQ(MultiOscilloscopeContainer::tint(30.0f), base);
    EXPECT_EQ(MultiOscilloscopeContainer::tint(300.0f), base);
    EXPECT_EQ(MultiOscilloscopeContainer::tint(notANumber), base);
    EXPECT_GT(MultiOscilloscopeContainer::tint(10.0f).getBrightness(), base.getBrightness());

    MultiOscilloscopeContainer scope(nullptr, "");
    scope.setBounds(0, 0, 200, 120);
    scope.setDelayTime(notANumber);
    EXPECT_FLOAT_EQ(scope.getDelayTime(), 1.0f);
    scope.setDelayTime(12.0f);
    EXPECT_FLOAT_EQ(scope.getDelayTime(), 12.0f);
    EXPECT_EQ(scope.getCurves().getBounds(), juce::Rectangle<int>(1, 1, 198, 118));
    const auto image = render(scope, "oscilloscope");
    EXPECT_TRUE(near(image.getPixelAt(0, 60), juce::Colours::white));
    EXPECT_TRUE(near(image.getPixelAt(199, 5), juce::Colours::white));
}

TEST(Granulizer, TheProjectionLooksAlongDepthWithTheHorizonAtHalfHeight)
{
    const float centre[] = { 0.0f, 0.0f, 2.0f, 1.0f };
    const float corner[] = { 3.0f, 3.0f, 3.0f, 1.0f };
    const float atEye[] = { 1.0f, 1.0f, 0.0f, 1.0f };
    const float broken[] = { notANumber, 0.0f, 1.0f, 1.0f };
    EXPECT_EQ(GrainsComponent::spaceToScreen(200.0f, 100.0f, centre), juce::Point<float>(100.0f, 50.0f));
    const auto c = GrainsComponent::spaceToScreen(200.0f, 100.0f, corner);
    EXPECT_NEAR(c.x, 200.0f, 1e-3f);
    EXPECT_NEAR(c.y, 0.0f, 1e-3f);
    EXPECT_EQ(GrainsComponent::spaceToScreen(200.0f, 100.0f, atEye), juce::Point<float>(-1.0f, -1.0f));
    EXPECT_EQ(GrainsComponent::spaceToScreen(200.0f, 100.0f, broken), juce::Point<float>(-1.0f, -1.0f));
    EXPECT_EQ(GrainsComponent::multiplyMatrixToProjection(broken), std::vector<float>(4, 0.0f));
}

TEST(Granulizer, GrainsAreThinAtTheirEndsAndFadeWithDistance)
{
    auto grain = GranulizerGrain::fromRow(row(0.0f, 2000.0f, 0.0f, 1.0f, 0.5f, 1.0f, 0.0f).data());
    EXPECT_FLOAT_EQ(grain.strokeWidth(), 0.0f);
    grain.progress = 1.0f;
    EXPECT_NEAR(grain.strokeWidth(), 0.0f, 1e-5f);
    // s = 1 x 10 x 0.1 + 1 = 2, q = 0.25: a half-cosine rise over the first quarter.
    grain.progress = 0.125f;
    EXPECT_NEAR(grain.strokeWidth(), (std::cos(0.5 * M_PI + M_PI) + 1.0) * 3.0, 1e-5);
    grain.progress = 0.5f;
    EXPECT_FLOAT_EQ(grain.strokeWidth(), 6.0f);
    EXPECT_FLOAT_EQ(grain.alpha(), 1.0f);
    grain.depth = 100000.0f;
    EXPECT_NEAR(grain.alpha(), 0.0f, 1e-6f);
    EXPECT_EQ(GranulizerGrain::fromRow(row(0, 0, 0, 17.0f, 0, 0, 0).data()).colourIndex, 3);
    EXPECT_EQ(GranulizerGrain::fromRow(row(0, 0, 0, -4.0f, 0, 0, 0).data()).colourIndex, 0);
    EXPECT_EQ(GranulizerGrain::fromRow(row(0, 0, 0, notANumber, 0, 0, 0).data()).colourIndex, 0);
}

TEST(Granulizer, AReversedGrainRunsTowardsTheViewer)
{
    GrainsComponent grains;
    grains.setBounds(0, 0, 200, 100);
    const auto away = GranulizerGrain::fromRow(row(10000.0f, 5000.0f, 3.0f, 0.0f, 0.5f, 1.0f, 1.0f).data());
    auto towards = away;
    towards.reverse = true;
    // z = 1.1, length 0.5: the far end at z = 1.6, the near end at z = 0.6; x = 0.3.
    const auto a = grains.strokeOf(away);
    const auto b = grains.strokeOf(towards);
    ASSERT_TRUE(a && b);
    EXPECT_NEAR(a->getEndX(), (0.3 / 1.6 + 1.0) * 100.0, 1e-3);
    EXPECT_NEAR(b->getEndX(), (0.3 / 0.6 + 1.0) * 100.0, 1e-3);
    EXPECT_EQ(a->getStart(), b->getStart());
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
    // The floor in darkened blue lies in the lower half.
    bool floor = false;
    for (int y = 90; y < 123; ++y)
        for (int x = 2; x < 198; ++x)
            floor = floor || image.getPixelAt(x, y).getBlue() > image.getPixelAt(x, y).getRed() + 20;
    EXPECT_TRUE(floor);

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
