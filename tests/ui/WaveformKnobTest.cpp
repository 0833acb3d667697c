#include "UI/Controls/Knob/WaveformKnobContainer.h"
#include "UiTestSupport.h"

#include <cmath>
#include <limits>

using namespace UiTest;

namespace
{
    using WaveformKnobTest = ProcessorTest;

    // White pixels in an area of a 100 x 124 knob, whose face is 100 x 100 below the
    // title. The ring is in the main colour, so white in the middle is the curve or a
    // value text.
    int whiteInside(const juce::Image& image, juce::Rectangle<int> area = { 25, 44, 50, 60 })
    {
        int count = 0;
        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                count += near(image.getPixelAt(x, y), juce::Colours::white, 60) ? 1 : 0;
        return count;
    }

    juce::Image drawn(WaveformKnobContainer& knob, const std::string& name)
    {
        knob.setBounds(0, 0, 100, 124);
        return render(knob, "waveform-knob-" + name);
    }
}

// Bound to the reverb's room size (0 to 100, at 50).
TEST_F(WaveformKnobTest, DrawsTheNamedCurveInWhiteInsteadOfTheValueTextAndFollowsTheValue)
{
    WaveformKnobContainer shape(parameter("RoomSize"), "Size", false, "shape");
    WaveformKnobContainer warmth(parameter("RoomSize"), "Size", false, "warmth");
    WaveformKnobContainer other(parameter("RoomSize"), "Size", false, "Shape");
    for (auto* knob : { &shape, &warmth, &other })
    {
        knob->attach(processor.parameters);
        knob->setMainColor(Zorvik::green);
    }
    EXPECT_EQ(shape.getSlider().getSliderStyle(), juce::Slider::RotaryHorizontalVerticalDrag);
    const auto shapeImage = drawn(shape, "shape");
    const auto warmthImage = drawn(warmth, "warmth");
    // A name that differs only in case draws neither a curve nor the value text; the
    // ring is drawn in the main colour in all three.
    EXPECT_EQ(whiteInside(drawn(other, "unknown")), 0);
    EXPECT_TRUE(near(shapeImage.getPixelAt(2, 74), Zorvik::green, 60));
    // Warmth passes through the face's centre (50, 74); shape is a bump from 35 % to
    // 60 % of the face's height (y 59 to 84), the same on the left and on the right.
    EXPECT_GT(whiteInside(warmthImage), 30);
    EXPECT_TRUE(near(warmthImage.getPixelAt(50, 74), juce::Colours::white, 80));
    EXPECT_GT(whiteInside(shapeImage), 30);
    EXPECT_EQ(whiteInside(shapeImage, { 25, 44, 50, 13 }), 0);
    EXPECT_GT(whiteInside(shapeImage, { 45, 57, 10, 4 }), 0);
    EXPECT_NEAR(whiteInside(shapeImage, { 20, 56, 30, 40 }), whiteInside(shapeImage, { 50, 56, 30, 40 }), 12);

    setPlainValue(processor, "RoomSize", 100.0f);
    for (const auto& [knob, before] : { std::pair { &shape, shapeImage }, std::pair { &warmth, warmthImage } })
    {
        const auto after = drawn(*knob, "moved");
        int differing = 0;
        for (int y = 44; y < 104; ++y)
            for (int x = 25; x < 75; ++x)
                differing += before.getPixelAt(x, y) != after.getPixelAt(x, y) ? 1 : 0;
        EXPECT_GT(differing, 10) << knob->getLookAndFeel().waveformName;
    }
}

TEST(WaveformKnobValues, CurvesAtTheEdgesOfTheirFormulasAreDrawnSafely)
{
    // Warmth at -0.2 makes the curve's slope zero; a value that is no number draws no curve.
    for (const double value : { -0.2, 0.0, std::numeric_limits<double>::quiet_NaN() })
        for (const char* name : { "warmth", "shape" })
        {
            WaveformKnobContainer knob(nullptr, "", false, name);
            knob.getSlider().setRange(-1.0, 100.0);
            knob.getSlider().setValue(value, juce::dontSendNotification);
            const int white = whiteInside(drawn(knob, std::string("edge-") + name));
            if (std::isfinite(value))
                EXPECT_GT(white, 20) << name << " " << value;
            else
                EXPECT_EQ(white, 0) << name;
        }
}
