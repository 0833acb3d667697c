#include "TestProcessor.h"
#include "UI/Controls/Slider/DoubleSliderContainer.h"
#include "UiTestSupport.h"

#include <cmath>

using namespace UiTest;

namespace
{
    double note(double f)
    {
        return 17.31234 * std::log(0.1223122 * f);
    }

    // Position of f between low and high in the note domain.
    double position(double f, double low, double high)
    {
        return (note(f) - note(low)) / (note(high) - note(low));
    }

    // Two band edges of 20 Hz to 20 kHz in a 300 x 64 container (bar 300 x 40 below the title).
    struct Band : ::testing::Test
    {
        Band()
            : processor({ { "LowCut", 20.0f, 20000.0f, 200.0f }, { "HighCut", 20.0f, 20000.0f, 2000.0f } }),
              slider(processor.record("LowCut"), processor.record("HighCut"), "Band",
                     { Zorvik::green, Zorvik::blue, Zorvik::red })
        {
            slider.setBounds(0, 0, 300, 64);
            slider.attach(processor.parameters);
        }
        void press(float x, float y = 40.0f) { slider.mouseDown(mouseEvent(slider, { x, y })); }
        void drag(float x, float y = 40.0f) { slider.mouseDrag(mouseEvent(slider, { x, y })); }
        void release(float x, float y = 40.0f) { slider.mouseUp(mouseEvent(slider, { x, y })); }

        TestProcessor processor;
        DoubleSliderContainer slider;
    };

    using DoubleSliderReverbTest = ProcessorTest;
}

TEST_F(Band, PressInTheMiddleMovesBothEdgesTogether)
{
    press(150.0f);
    EXPECT_EQ(slider.getDragMode(), DoubleSliderContainer::dragBoth);
    // The press alone changes nothing.
    EXPECT_NEAR(processor.plain("LowCut"), 200.0f, 0.05f);
    EXPECT_NEAR(processor.plain("HighCut"), 2000.0f, 0.5f);

    drag(180.0f);
    const double factor = std::pow(1000.0, 0.1);
    EXPECT_NEAR(processor.plain("LowCut"), 200.0 * factor, 0.05);
    EXPECT_NEAR(processor.plain("HighCut"), 2000.0 * factor, 0.5);

    // Against the right end the range narrows: the high edge stops, the low one goes on.
    drag(300.0f);
    EXPECT_FLOAT_EQ(slider.getHighPosition(), 1.0f);
    EXPECT_NEAR(slider.getLowPosition(), 1.0 / 3.0 + 0.5, 1e-5);
    EXPECT_NEAR(processor.plain("HighCut"), 20000.0f, 0.5f);
    release(300.0f);
    EXPECT_EQ(slider.getDragMode(), DoubleSliderContainer::dragNone);
}

TEST_F(Band, PressNearOrOutsideTheEdgesPicksTheNearerEdge)
{
    press(50.0f); // left of the low edge
    EXPECT_EQ(slider.getDragMode(), DoubleSliderContainer::dragLow);
    EXPECT_NEAR(processor.plain("LowCut"), 20.0 * std::pow(1000.0, 50.0 / 300.0), 0.01);
    // Dragging past the left end stops the edge and the parameter at the minimum.
    drag(-40.0f);
    EXPECT_EQ(slider.getLowPosition(), 0.0f);
    EXPECT_NEAR(processor.plain("LowCut"), 20.0f, 1e-3f);
    release(-40.0f);

    processor.set("LowCut", 200.0f);
    press(112.0f); // 0.0400 past the low edge: within grabbing distance
    EXPECT_EQ(slider.getDragMode(), DoubleSliderContainer::dragLow);
    release(112.0f);

    press(190.0f); // 0.0333 before the high edge
    EXPECT_EQ(slider.getDragMode(), DoubleSliderContainer::dragHigh);
    release(190.0f);

    processor.set("HighCut", 200.0f);
    press(0.0f); // both edges lie to the right, equally far: the high edge is taken
    EXPECT_EQ(slider.getDragMode(), DoubleSliderContainer::dragHigh);
}

TEST_F(Band, TitleStripAndRightClicksChangeNothing)
{
    RecordingDelegate delegate;
    slider.setDelegate(&delegate);
    press(150.0f, 10.0f);
    drag(250.0f, 10.0f);
    release(250.0f, 10.0f);
    EXPECT_EQ(slider.getDragMode(), DoubleSliderContainer::dragNone);

    slider.mouseDown(rightClick(slider, { 150.0f, 40.0f }));
    slider.mouseDrag(rightClick(slider, { 250.0f, 40.0f }));
    slider.mouseUp(rightClick(slider, { 250.0f, 40.0f }));
    EXPECT_NEAR(processor.plain("LowCut"), 200.0f, 0.05f);
    EXPECT_NEAR(processor.plain("HighCut"), 2000.0f, 0.5f);

    // The right click hands over both parameters, named by their identifiers.
    ASSERT_EQ(delegate.calls.size(), 1u);
    ASSERT_EQ(delegate.calls[0].size(), 2u);
    EXPECT_EQ(delegate.calls[0][0].name, "LOW CUT");
    EXPECT_EQ(delegate.calls[0][0].parameter, processor.record("LowCut"));
    EXPECT_EQ(delegate.calls[0][1].name, "HIGH CUT");
}

TEST_F(Band, LabelsShowRoundedHertzAndZonesTheirColours)
{
    processor.set("LowCut", 199.6f);
    slider.timerCallback();
    const auto image = render(slider, "double-slider");
    EXPECT_EQ(slider.getLowLabel().getText(), "200 Hz");
    EXPECT_EQ(slider.getHighLabel().getText(), "2000 Hz");

    // Zones at 1/3 and 2/3 of 300 px; a row below the labels' text is plain colour.
    EXPECT_TRUE(near(image.getPixelAt(50, 60), Zorvik::green));
    EXPECT_TRUE(near(image.getPixelAt(150, 60), Zorvik::blue));
    EXPECT_TRUE(near(image.getPixelAt(250, 60), Zorvik::red));
    // Handles: white bars 4 px wide from 15 % to 85 % of the bar's height.
    EXPECT_TRUE(near(image.getPixelAt(100, 44), juce::Colours::white));
    EXPECT_TRUE(near(image.getPixelAt(200, 44), juce::Colours::white));
}

TEST_F(DoubleSliderReverbTest, BindsTwoFrequencyParametersOfTheReverb)
{
    DoubleSliderContainer slider(parameter("InputFilterFrequency"), parameter("HFDamp"), "Band", {});
    slider.setBounds(0, 0, 200, 64);
    slider.attach(processor.parameters);
    EXPECT_NEAR(slider.getLowPosition(), position(400.0, 20.0, 20000.0), 1e-4);
    EXPECT_NEAR(slider.getHighPosition(), position(9000.0, 800.0, 18000.0), 1e-4);

    setPlain(processor, "HFDamp", 1600.0f);
    EXPECT_NEAR(slider.getHighPosition(), position(1600.0, 800.0, 18000.0), 1e-4);

    // Dragging the high edge to the middle writes the frequency halfway in the note domain.
    slider.mouseDown(mouseEvent(slider, { 60.0f, 40.0f }));
    slider.mouseDrag(mouseEvent(slider, { 100.0f, 40.0f }));
    EXPECT_NEAR(plainValue(processor, "HFDamp"), std::sqrt(800.0 * 18000.0), 0.02);
    slider.mouseUp(mouseEvent(slider, { 100.0f, 40.0f }));
}
