#include "TestProcessor.h"
#include "UI/Controls/XY/TimeStopXYControlContainer.h"
#include "UiTestSupport.h"

#include <cmath>

using namespace UiTest;

namespace
{
    // X from -100 to 100, Y from 0 to 100 and a trigger from 0 to 1 on a 200 x 224
    // pad: a field of 200 x 200 below the title strip, centred at (100, 124).
    struct TimeStopTest : ::testing::Test
    {
        TimeStopTest()
        {
            pad.setBounds(0, 0, 200, 224);
            pad.attach(processor.parameters);
            pad.setMainColor(Zorvik::orange);
        }
        void press(float x, float y) { pad.mouseDown(mouseEvent(pad, { x, y })); }
        void release(float x, float y) { pad.mouseUp(mouseEvent(pad, { x, y })); }

        TestProcessor processor { { { "X", -100, 100, 0 }, { "Y", 0, 100, 0 }, { "Trigger", 0, 1, 0 } } };
        TimeStopXYControlContainer pad { processor.record("X"), processor.record("Y"), processor.record("Trigger"),
                                         "Stop" };
        const juce::Rectangle<int> curveBoxEdge { 3, 219, 32, 3 }; // the box's bottom edge, margin 3
    };

    int count(const juce::Image& image, juce::Rectangle<int> area, juce::Colour colour, int tolerance = 3)
    {
        int n = 0;
        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                n += near(image.getPixelAt(x, y), colour, tolerance) ? 1 : 0;
        return n;
    }
}

TEST_F(TimeStopTest, HoldingTheMouseHoldsTheTriggerAndReleaseKeepsXAndY)
{
    press(150, 24 + 50);
    EXPECT_EQ(processor.plain("Trigger"), 1.0f);
    EXPECT_NEAR(processor.plain("X"), 50.0f, 0.01f);
    EXPECT_NEAR(processor.plain("Y"), 75.0f, 0.01f);
    pad.mouseDrag(mouseEvent(pad, { 50, 24 + 150 }));
    release(50, 24 + 150);
    EXPECT_EQ(processor.plain("Trigger"), 0.0f);
    EXPECT_EQ(pad.getLocationX(), 0.0f);
    EXPECT_EQ(pad.getLocationY(), 0.0f);
    EXPECT_NEAR(processor.plain("X"), -50.0f, 0.01f);
    EXPECT_NEAR(processor.plain("Y"), 25.0f, 0.01f);

    // On the title strip a press triggers without dragging; right clicks leave the trigger.
    press(100, 10);
    EXPECT_FALSE(pad.getIsDragging());
    pad.mouseUp(rightClick(pad, { 100, 100 }));
    EXPECT_EQ(processor.plain("Trigger"), 1.0f);
    release(100, 10);
    pad.mouseDown(rightClick(pad, { 100, 100 }));
    EXPECT_EQ(processor.plain("Trigger"), 0.0f);
}

TEST(TimeStopFormulas, TimeAndCurveFollowThePosition)
{
    // 50 ms at the bottom, 2000 at the top, truncated in between (51.755 shows 51); the
    // curve's exponent 5 at the left, 1 in the middle, 1 / 2.2 at the right.
    struct Case { float location; int ms; float exponent; };
    for (const auto c : { Case { 0.0f, 50, 5.0f }, Case { 1.0f, 2000, 1.0f / 2.2f }, Case { 0.5f, 1025, 1.0f },
                          Case { 0.25f, 537, 3.0f }, Case { 0.0009f, 51, 4.9928f } })
    {
        EXPECT_EQ(TimeStopXYControlContainer::timeForLocation(c.location), c.ms) << c.location;
        EXPECT_NEAR(TimeStopXYControlContainer::curveExponent(c.location), c.exponent, 1e-5) << c.location;
    }
}

TEST_F(TimeStopTest, TheTimeLabelShowsWhileTriggeredAndTheVeilPulsesWhileHolding)
{
    press(100, 24 + 100);
    render(pad, "time-stop-pressed");
    EXPECT_EQ(pad.getTimeLabel().getText(), "1025ms");
    release(100, 24 + 100);

    // The veil, seen in a corner of the pad: white at (cos(0.4 n) + 1) x 0.2 + 0.2 after
    // n ticks, 0.6 at first and nearly 0.2 after 8.
    const auto corner = [&](const char* name) { return render(pad, name).getPixelAt(7, 31); };
    EXPECT_TRUE(near(corner("time-stop-released"), Zorvik::background));
    EXPECT_EQ(pad.getTimeLabel().getText(), "");
    pad.setIsTriggerHolding(true);
    EXPECT_EQ(pad.getHoldingLabel().getText(), "HOLDING...");
    EXPECT_TRUE(near(corner("time-stop-veil-first"), Zorvik::background.interpolatedWith(juce::Colours::white, 0.6f)));
    for (int i = 0; i < 8; ++i)
        pad.timerCallback();
    EXPECT_TRUE(near(corner("time-stop-veil-faint"), Zorvik::background.interpolatedWith(juce::Colours::white, 0.2f)));
    pad.setIsTriggerHolding(false);
    EXPECT_EQ(pad.getHoldingLabel().getText(), "");
    EXPECT_EQ(pad.getHoldingCounter(), 0);

    // A host change of any of the three parameters is drawn at the next tick, once.
    for (const char* id : { "Trigger", "X", "Y" })
    {
        processor.set(id, 0.5f);
        pad.timerCallback();
        pad.timerCallback();
    }
    EXPECT_EQ(pad.getHoldingCounter(), 3);
}

TEST_F(TimeStopTest, DrawsTheSquareGrowingWithTheTriggerAndTheIconRevealedBySpeed)
{
    // Idle square side 200 / 3.6 = 55.6; the icon shows whole at the initial speed.
    const auto idle = render(pad, "time-stop-idle");
    EXPECT_FALSE(near(idle.getPixelAt(100 + 28, 124), juce::Colours::white, 10));
    EXPECT_GT(count(idle, { 0, 24, 100, 100 }, Zorvik::orange), 100);
    EXPECT_GT(count(idle, { 100, 124, 100, 100 }, Zorvik::orange), 100);

    // Triggered: the larger square (side 58.8), the time and the curve box; between 0
    // and 1 the same but no curve box.
    for (const float trigger : { 1.0f, 0.5f })
    {
        processor.set("Trigger", trigger);
        const auto image = render(pad, trigger == 1.0f ? "time-stop-triggered" : "time-stop-half-trigger");
        EXPECT_TRUE(near(image.getPixelAt(100 + 28, 124), juce::Colours::white)) << trigger;
        EXPECT_EQ(pad.getTimeLabel().getText(), "50ms");
        EXPECT_EQ(count(image, curveBoxEdge, juce::Colours::white, 80) > 20, trigger == 1.0f) << trigger;
    }
    processor.set("Trigger", 0.0f);

    // A quarter turn clockwise from twelve o'clock: the top right only; none at 0; all
    // when the speed is no number.
    pad.setSpeed(0.25f);
    const auto quarter = render(pad, "time-stop-speed-quarter");
    EXPECT_GT(count(quarter, { 101, 24, 99, 99 }, Zorvik::orange), 100);
    EXPECT_EQ(count(quarter, { 0, 24, 99, 200 }, Zorvik::orange), 0);
    EXPECT_EQ(count(quarter, { 101, 126, 99, 98 }, Zorvik::orange), 0);
    pad.setSpeed(0.0f);
    EXPECT_EQ(count(render(pad, "time-stop-speed-zero"), { 0, 24, 200, 200 }, Zorvik::orange), 0);
    pad.setSpeed(std::nanf(""));
    EXPECT_GT(count(render(pad, "time-stop-speed-nan"), { 0, 24, 100, 100 }, Zorvik::orange), 100);

    // Grey: the square and the icon at 0.4.
    pad.setIsGrey(true);
    const auto grey = render(pad, "time-stop-grey");
    EXPECT_TRUE(near(grey.getPixelAt(100, 124), Zorvik::background.interpolatedWith(juce::Colours::white, 0.4f)));
    EXPECT_GT(count(grey, { 0, 24, 200, 200 }, Zorvik::background.interpolatedWith(Zorvik::orange, 0.4f)), 100);

    // Made larger, the pad draws its icon at the new size.
    pad.setBounds(0, 0, 400, 424);
    const auto large = render(pad, "time-stop-large");
    EXPECT_GT(count(large, { 200, 224, 200, 200 }, Zorvik::background.interpolatedWith(Zorvik::orange, 0.4f)), 100);
}

TEST_F(TimeStopTest, APadWithoutParametersPaintsAndTakesPresses)
{
    TimeStopXYControlContainer bare(nullptr, nullptr, nullptr, "");
    bare.attach(processor.parameters);
    for (const int size : { 120, 0 })
    {
        bare.setBounds(0, 0, size, size + 24);
        bare.mouseDown(mouseEvent(bare, { 60, 80 }));
        bare.mouseUp(mouseEvent(bare, { 60, 80 }));
        juce::Image image(juce::Image::ARGB, 120, 144, true);
        juce::Graphics g(image);
        bare.paint(g);
        EXPECT_EQ(image.getPixelAt(60, 84).getAlpha(), size == 0 ? 0 : 255) << size; // the square
    }
    EXPECT_EQ(bare.triggerValue(), 0.0f);
    EXPECT_EQ(processor.plain("Trigger"), 0.0f);
}
