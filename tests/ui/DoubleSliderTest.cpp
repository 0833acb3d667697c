#include "TestProcessor.h"
#include "UI/Controls/Slider/DoubleSliderContainer.h"
#include "UiTestSupport.h"

#include <cmath>

using namespace UiTest;

namespace
{
    // Two band edges of 20 Hz to 20 kHz, at 200 Hz and 2 kHz, in a 300 x 64 container
    // (a bar of 300 x 40 below the title strip). On this 1000:1 scale the edges lie at
    // a third and two thirds of the width.
    struct Band : ::testing::Test
    {
        Band() : slider(processor.record("LowCut"), processor.record("HighCut"), "Band", {})
        {
            slider.setBounds(0, 0, 300, 64);
            slider.attach(processor.parameters);
        }
        void press(float x, float y = 40.0f) { slider.mouseDown(mouseEvent(slider, { x, y })); }
        void drag(float x, float y = 40.0f) { slider.mouseDrag(mouseEvent(slider, { x, y })); }
        void release(float x, float y = 40.0f) { slider.mouseUp(mouseEvent(slider, { x, y })); }
        void reset()
        {
            processor.set("LowCut", 200.0f);
            processor.set("HighCut", 2000.0f);
        }

        TestProcessor processor { { { "LowCut", 20.0f, 20000.0f, 200.0f }, { "HighCut", 20.0f, 20000.0f, 2000.0f } } };
        DoubleSliderContainer slider;
    };
}

TEST_F(Band, AMiddlePressMovesBothEdgesTogetherAndTheRangeNarrowsAtAnEnd)
{
    EXPECT_NEAR(slider.getLowPosition(), 1.0 / 3.0, 1e-5);
    EXPECT_NEAR(slider.getHighPosition(), 2.0 / 3.0, 1e-5);
    press(150.0f);
    EXPECT_EQ(slider.getDragMode(), DoubleSliderContainer::dragBoth);
    drag(180.0f); // a tenth of the width: a factor of 1000^0.1 on both
    EXPECT_NEAR(processor.plain("LowCut"), 200.0 * std::pow(1000.0, 0.1), 0.05);
    EXPECT_NEAR(processor.plain("HighCut"), 2000.0 * std::pow(1000.0, 0.1), 0.5);
    drag(300.0f);
    EXPECT_FLOAT_EQ(slider.getHighPosition(), 1.0f);
    EXPECT_NEAR(slider.getLowPosition(), 1.0 / 3.0 + 0.5, 1e-5);
    release(300.0f);
    EXPECT_EQ(slider.getDragMode(), DoubleSliderContainer::dragNone);

    // The host moves the edges; the next tick repaints once.
    reset();
    EXPECT_NEAR(slider.getHighPosition(), 2.0 / 3.0, 1e-5);
    EXPECT_TRUE(slider.getNeedsRepaint());
    slider.timerCallback();
    EXPECT_FALSE(slider.getNeedsRepaint());
}

TEST_F(Band, APressNearOrOutsideTheEdgesTakesTheNearerOneAndATieTheHighOne)
{
    press(50.0f); // left of the low edge
    EXPECT_EQ(slider.getDragMode(), DoubleSliderContainer::dragLow);
    EXPECT_NEAR(processor.plain("LowCut"), 20.0 * std::pow(1000.0, 50.0 / 300.0), 0.01);
    drag(-40.0f);
    EXPECT_NEAR(processor.plain("LowCut"), 20.0f, 1e-3f);
    release(-40.0f);

    // 0.04 past the low edge, 0.033 before the high edge, right of both.
    const std::pair<float, int> presses[] = { { 112.0f, DoubleSliderContainer::dragLow },
                                              { 190.0f, DoubleSliderContainer::dragHigh },
                                              { 280.0f, DoubleSliderContainer::dragHigh } };
    for (const auto& [x, mode] : presses)
    {
        reset();
        press(x);
        EXPECT_EQ(slider.getDragMode(), mode) << x;
        release(x);
    }
    processor.set("LowCut", 200.0f);
    processor.set("HighCut", 200.0f);
    press(0.0f); // both edges equally far to the right
    EXPECT_EQ(slider.getDragMode(), DoubleSliderContainer::dragHigh);
    release(0.0f);
}

TEST_F(Band, TitleStripPressesAndRightClicksChangeNothing)
{
    RecordingDelegate delegate;
    slider.mouseDown(rightClick(slider, { 150.0f, 40.0f })); // no delegate: nothing
    slider.setDelegate(&delegate);
    press(150.0f, 10.0f);
    drag(250.0f, 10.0f);
    release(250.0f, 10.0f);
    slider.mouseDown(rightClick(slider, { 150.0f, 40.0f }));
    slider.mouseDrag(rightClick(slider, { 250.0f, 40.0f }));
    slider.mouseUp(rightClick(slider, { 250.0f, 40.0f }));
    EXPECT_NEAR(processor.plain("LowCut"), 200.0f, 0.05f);
    EXPECT_NEAR(processor.plain("HighCut"), 2000.0f, 0.5f);
    // Both parameters are handed over, named by their identifiers.
    ASSERT_EQ(delegate.calls.size(), 1u);
    const auto& handed = delegate.calls[0];
    EXPECT_TRUE(handed.size() == 2 && handed[0].name == "LOW CUT" && handed[1].name == "HIGH CUT");
    EXPECT_EQ(handed.at(0).parameter, processor.record("LowCut"));
}

TEST_F(Band, LabelsShowRoundedHertzAndTheZonesTheirColours)
{
    processor.set("LowCut", 199.6f);
    auto image = render(slider, "double-slider");
    EXPECT_EQ(slider.getLowLabel().getText(), "200 Hz");
    EXPECT_EQ(slider.getHighLabel().getText(), "2000 Hz");
    // Zones split at 1/3 and 2/3 of 300 px; white handles from 15 % to 85 % of the bar.
    EXPECT_TRUE(near(image.getPixelAt(50, 60), Zorvik::green));
    EXPECT_TRUE(near(image.getPixelAt(150, 60), Zorvik::blue));
    EXPECT_TRUE(near(image.getPixelAt(250, 60), Zorvik::red));
    EXPECT_TRUE(near(image.getPixelAt(100, 44), juce::Colours::white));
    EXPECT_TRUE(near(image.getPixelAt(200, 44), juce::Colours::white));
    EXPECT_FALSE(near(image.getPixelAt(200, 26), juce::Colours::white, 60));

    slider.setIsGrey(true);
    image = render(slider, "double-slider-grey");
    EXPECT_TRUE(near(image.getPixelAt(150, 60), Zorvik::background.overlaidWith(Zorvik::blue.withAlpha(0.3f)), 4));
    EXPECT_TRUE(near(image.getPixelAt(50, 60), Zorvik::green));

    // A host value that is no number shows no text.
    processor.parameters.getParameter("LowCut")->setValueNotifyingHost(std::nanf(""));
    render(slider, "double-slider-nan");
    EXPECT_EQ(slider.getLowLabel().getText(), "");
}

TEST(DoubleSliderColours, AShortListKeepsTheDefaultsAndUnboundOrEmptyItStillDraws)
{
    TestProcessor processor({ { "LowCut", 20.0f, 20000.0f, 200.0f }, { "HighCut", 20.0f, 20000.0f, 2000.0f } });
    DoubleSliderContainer one(processor.record("LowCut"), processor.record("HighCut"), "", { Zorvik::mauve });
    EXPECT_EQ(one.getColours(), (std::vector<juce::Colour> { Zorvik::mauve, Zorvik::blue, Zorvik::red }));
    DoubleSliderContainer unbound(nullptr, processor.record("HighCut"), "", {});
    one.attach(processor.parameters);
    unbound.attach(processor.parameters);
    const auto pressAt = [](DoubleSliderContainer& slider, int width) {
        slider.setBounds(0, 0, width, 50);
        slider.mouseDown(mouseEvent(slider, { 50.0f, 40.0f }));
        slider.mouseUp(mouseEvent(slider, { 50.0f, 40.0f }));
    };
    pressAt(unbound, 100);
    render(unbound, "double-slider-unbound");
    pressAt(unbound, 0);
    pressAt(one, 0);
    EXPECT_TRUE(std::isfinite(processor.plain("LowCut")));
    EXPECT_FLOAT_EQ(processor.plain("HighCut"), 2000.0f);
    EXPECT_EQ(unbound.getLowLabel().getText(), "");
}
