#include "UI/Controls/XY/TimeStopXYControlContainer.h"
#include "UiTestSupport.h"

#include <cmath>
#include <limits>

using namespace UiTest;

namespace
{
    using TimeStopTest = ProcessorTest;

    // The reverb's shift frequency (X, -100..100), shift mix (Y, 0..100) and freeze
    // switch (trigger) on a 200 x 224 pad: a field of 200 x 200 below the title strip.
    struct Pad
    {
        explicit Pad(TimeStopTest& t)
            : pad(t.parameter("FreqShifterFrequency"), t.parameter("FreqShifterDryWet"), t.parameter("Freeze"),
                  "Stop")
        {
            pad.setBounds(0, 0, 200, 224);
            pad.attach(t.processor.parameters);
            pad.setMainColor(Zorvik::orange);
        }
        void press(float x, float y) { pad.mouseDown(mouseEvent(pad, { x, y })); }
        void drag(float x, float y) { pad.mouseDrag(mouseEvent(pad, { x, y })); }
        void release(float x, float y) { pad.mouseUp(mouseEvent(pad, { x, y })); }
        TimeStopXYControlContainer pad;
    };

    int countNear(const juce::Image& image, juce::Rectangle<int> area, juce::Colour colour, int tolerance)
    {
        int count = 0;
        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                count += near(image.getPixelAt(x, y), colour, tolerance) ? 1 : 0;
        return count;
    }
}

TEST_F(TimeStopTest, HoldingTheMouseHoldsTheTriggerAndReleaseKeepsXAndY)
{
    Pad p(*this);
    p.press(150.0f, 24.0f + 50.0f);
    EXPECT_EQ(plainValue(processor, "Freeze"), 1.0f);
    EXPECT_TRUE(p.pad.getIsDragging());
    EXPECT_NEAR(plainValue(processor, "FreqShifterFrequency"), 50.0f, 0.01f);
    EXPECT_NEAR(plainValue(processor, "FreqShifterDryWet"), 75.0f, 0.01f);

    p.drag(50.0f, 24.0f + 150.0f);
    EXPECT_NEAR(plainValue(processor, "FreqShifterFrequency"), -50.0f, 0.01f);
    EXPECT_NEAR(plainValue(processor, "FreqShifterDryWet"), 25.0f, 0.01f);

    p.release(50.0f, 24.0f + 150.0f);
    EXPECT_EQ(plainValue(processor, "Freeze"), 0.0f);
    EXPECT_FALSE(p.pad.getIsDragging());
    EXPECT_EQ(p.pad.getLocationX(), 0.0f);
    EXPECT_EQ(p.pad.getLocationY(), 0.0f);
    EXPECT_NEAR(plainValue(processor, "FreqShifterFrequency"), -50.0f, 0.01f);
    EXPECT_NEAR(plainValue(processor, "FreqShifterDryWet"), 25.0f, 0.01f);
}

TEST_F(TimeStopTest, APressOnTheTitleTriggersWithoutDraggingAndRightClicksDoNothing)
{
    Pad p(*this);
    RecordingDelegate delegate;
    p.pad.setDelegate(&delegate);
    p.press(100.0f, 10.0f);
    EXPECT_FALSE(p.pad.getIsDragging());
    EXPECT_EQ(plainValue(processor, "Freeze"), 1.0f);
    EXPECT_NEAR(plainValue(processor, "FreqShifterFrequency"), -100.0f, 0.01f);
    p.release(100.0f, 10.0f);
    EXPECT_EQ(plainValue(processor, "Freeze"), 0.0f);

    p.pad.mouseDown(rightClick(p.pad, { 100.0f, 100.0f }));
    p.pad.mouseUp(rightClick(p.pad, { 100.0f, 100.0f }));
    EXPECT_EQ(plainValue(processor, "Freeze"), 0.0f);
    EXPECT_NEAR(plainValue(processor, "FreqShifterFrequency"), -100.0f, 0.01f);
    ASSERT_EQ(delegate.calls.size(), 1u);
    ASSERT_EQ(delegate.calls[0].size(), 2u);
    EXPECT_EQ(delegate.calls[0][0].name, "FREQ SHIFTER FREQUENCY");
    EXPECT_EQ(delegate.calls[0][1].name, "FREQ SHIFTER DRY WET");
}

TEST_F(TimeStopTest, DrawsTheSquareGrowingWithTheTriggerAndTheIconRevealedBySpeed)
{
    Pad p(*this);
    // Pad 200 x 200 at y 24: idle square side 200 / 3.6 = 55.6 centred at (100, 124).
    const auto idle = render(p.pad, "time-stop-square-idle");
    EXPECT_TRUE(near(idle.getPixelAt(100, 124), juce::Colours::white));
    EXPECT_FALSE(near(idle.getPixelAt(100 + 28, 124), juce::Colours::white, 10));
    // The icon shows whole at the initial speed: main-colour pixels on both sides.
    EXPECT_GT(countNear(idle, { 0, 24, 100, 100 }, Zorvik::orange, 3), 100);
    EXPECT_GT(countNear(idle, { 100, 24, 100, 100 }, Zorvik::orange, 3), 100);

    // Triggered: the larger square (side 58.8), the time label and the curve box.
    setPlain(processor, "Freeze", 1.0f);
    const auto triggered = render(p.pad, "time-stop-square-triggered");
    EXPECT_TRUE(near(triggered.getPixelAt(100 + 28, 124), juce::Colours::white));
    EXPECT_EQ(p.pad.getTimeLabel().getText(), "50ms");
    // The curve box in the lower left corner (margin 3, 32 x 20): its 1.5-px bottom edge.
    EXPECT_GT(countNear(triggered, { 3, 219, 32, 3 }, juce::Colours::white, 80), 20);
    setPlain(processor, "Freeze", 0.0f);

    p.pad.setSpeed(std::numeric_limits<float>::quiet_NaN());
    const auto broken = render(p.pad, "time-stop-speed-nan");
    EXPECT_GT(countNear(broken, { 0, 24, 100, 100 }, Zorvik::orange, 3), 100);
}

TEST_F(TimeStopTest, PaintsAndTakesPressesBeforeItIsAttached)
{
    TimeStopXYControlContainer pad(parameter("FreqShifterFrequency"), parameter("FreqShifterDryWet"),
                                   parameter("Freeze"), "");
    pad.setBounds(0, 0, 120, 144);
    pad.mouseDown(mouseEvent(pad, { 60.0f, 80.0f }));
    pad.mouseUp(mouseEvent(pad, { 60.0f, 80.0f }));
    const auto image = render(pad, "time-stop-unattached");
    EXPECT_EQ(pad.triggerValue(), 0.0f);
    EXPECT_TRUE(near(image.getPixelAt(60, 84), juce::Colours::white));
    EXPECT_EQ(plainValue(processor, "Freeze"), 0.0f);
}

