#include "TestProcessor.h"
#include "UI/Controls/Oscilloscopes/MultiOscilloscopeContainer.h"
#include "UiTestSupport.h"

#include <cmath>

using namespace UiTest;

namespace
{
    const float notANumber = std::nanf("");

    std::vector<juce::Point<float>> points(const juce::Path& path)
    {
        std::vector<juce::Point<float>> list;
        for (juce::Path::Iterator it(path); it.next();)
            list.push_back({ it.x1, it.y1 });
        return list;
    }
}

TEST(MultiOscilloscopeTest, CurvesTravelRightWithTimeUnlessAClickOfAnyButtonPausedThem)
{
    MultiCurvesComponent curves;
    curves.setBounds(0, 0, 288, 101); // 72 segments of 4 px round a centre line at y = 50
    const auto before = points(curves.curve(2, 1));
    curves.mouseDown(rightClick(curves, { 5.0f, 5.0f }));
    curves.advance(500.0);
    curves.update();
    curves.mouseDown(mouseEvent(curves, { 5.0f, 5.0f }));
    curves.advance(30.0 / (0.4 * std::sqrt(5.0))); // one segment's travel at rate 5
    const auto after = points(curves.curve(2, 1));
    ASSERT_EQ(after.size(), 75u); // the start, 73 points, the end
    EXPECT_EQ(after.back(), juce::Point<float>(288.0f, 50.0f));
    for (size_t k = 1; k < 73; ++k)
        EXPECT_NEAR(after[k + 1].y, before[k].y, 1e-3) << k;
    // The right side swings over the whole half height, the left side over 0.4 of it.
    for (const auto& [side, swing] : { std::pair { 1, 50.0f }, { 0, 20.0f } })
        EXPECT_NEAR(curves.curve(3, side).getBounds().getBottom() - 50.0f, swing, 0.5f) << side;
}

TEST(MultiOscilloscopeTest, OneLineWithoutWidthAndWithEqualDepthDrawsOnlyItsOwnBlue)
{
    MultiCurvesComponent curves;
    curves.setBounds(0, 0, 200, 100);
    curves.initCurves(1, 0.4f, 0.0f, 1.0f, 0.4f, true, 0.0f, 5.0f);
    EXPECT_EQ(points(curves.curve(0, 0)), points(curves.curve(0, 1)));
    EXPECT_FLOAT_EQ(curves.strokeWidth(), 1.0f);
    const auto image = render(curves, "curves-one-line");
    int blue = 0, other = 0; // green, orange and red all carry red
    for (int i = 0; i < 200 * 100; ++i)
    {
        blue += near(image.getPixelAt(i % 200, i / 200), Zorvik::blue, 30) ? 1 : 0;
        other += image.getPixelAt(i % 200, i / 200).getRed() > Zorvik::background.getRed() + 3 ? 1 : 0;
    }
    EXPECT_TRUE(blue > 100 && other == 0);
}

TEST(MultiOscilloscopeTest, SettingsStayWithinWhatCanBeDrawn)
{
    MultiCurvesComponent curves;
    curves.setBounds(0, 0, 200, 100);
    curves.setDelayLinesCount(9);
    EXPECT_EQ(curves.getDelayLinesCount(), 4);
    curves.initCurves(0, notANumber, INFINITY, 1.0e30f, notANumber, false, -5.0f, -1.0f);
    EXPECT_EQ(curves.getDelayLinesCount(), 1);
    curves.advance(notANumber);
    curves.advance(1.0e300);
    EXPECT_FLOAT_EQ(curves.strokeWidth(), 1.0f);
    const auto bounds = curves.curve(0, 1).getBounds();
    EXPECT_TRUE(bounds.getY() >= -100.0f && bounds.getBottom() <= 200.0f);
    curves.setFeedback(1.0e30f);
    EXPECT_LE(curves.strokeWidth(), 100.0f);
    render(curves, "curves-hostile");
}

TEST(MultiOscilloscopeTest, TheFrameIsTintedBrighterForShorterDelays)
{
    const auto base = Zorvik::blue.darker(0.4f).withAlpha(0.05f);
    for (const float time : { 30.0f, 300.0f, notANumber })
        EXPECT_EQ(MultiOscilloscopeContainer::tint(time), base) << time;

    TestProcessor processor({ { "Delay", 0.0f, 1.0f, 0.0f } });
    MultiOscilloscopeContainer scope(processor.record("Delay"), "");
    scope.attach(processor.parameters);
    scope.setBounds(0, 0, 200, 120);
    EXPECT_EQ(scope.getCurves().getBounds(), juce::Rectangle<int>(1, 1, 198, 118));
    scope.getCurves().initCurves(4, 0.4f, 0.6f, 0.0f, 0.0f, false, 0.5f, 5.0f); // flat curves on the middle line
    scope.setDelayTime(notANumber);
    EXPECT_FLOAT_EQ(scope.getDelayTime(), 1.0f);
    scope.setDelayTime(30.0f);
    scope.timerCallback();
    const auto plain = render(scope, "oscilloscope-long", juce::Colours::black);
    EXPECT_TRUE(near(plain.getPixelAt(0, 60), juce::Colours::white));
    EXPECT_TRUE(near(plain.getPixelAt(199, 5), juce::Colours::white));
    scope.setDelayTime(5.0f);
    scope.timerCallback();
    const auto bright = render(scope, "oscilloscope-short", juce::Colours::black);
    EXPECT_GT(bright.getPixelAt(20, 20).getBlue(), plain.getPixelAt(20, 20).getBlue());
}
