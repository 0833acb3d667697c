#include "UI/Controls/Knob/WaveformKnobContainer.h"
#include "UiTestSupport.h"

#include <cmath>
#include <limits>

using namespace UiTest;

namespace
{
    using WaveformKnobTest = ProcessorTest;

    // The middle of a 100 x 124 knob's face (100 x 100 below the title): the ring is in
    // the main colour, so white there is the curve or a value text.
    const juce::Rectangle<int> middle { 25, 44, 50, 60 };

    int whiteInside(const juce::Image& image, juce::Rectangle<int> area = middle)
    {
        int count = 0;
        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                count += near(image.getPixelAt(x, y), juce::Colours::white, 60) ? 1 : 0;
        return count;
    }

    // A knob bound to the reverb's room size (0 to 100).
    struct Knob
    {
        Knob(WaveformKnobTest& t, const std::string& waveform) : knob(t.parameter("RoomSize"), "Size", false, waveform)
        {
            knob.setBounds(0, 0, 100, 124);
            knob.attach(t.processor.parameters);
            knob.setMainColor(Zorvik::green);
        }
        WaveformKnobContainer knob;
    };
}

TEST_F(WaveformKnobTest, DrawsTheNamedCurveInWhiteInsteadOfTheValueText)
{
    Knob shape(*this, "shape");
    Knob warmth(*this, "warmth");
    Knob other(*this, "Shape");
    EXPECT_EQ(shape.knob.getSlider().getSliderStyle(), juce::Slider::RotaryHorizontalVerticalDrag);
    const auto shapeImage = render(shape.knob, "waveform-knob-shape");
    const auto warmthImage = render(warmth.knob, "waveform-knob-warmth");
    const auto otherImage = render(other.knob, "waveform-knob-unknown");
    EXPECT_GT(whiteInside(shapeImage), 30);
    EXPECT_GT(whiteInside(warmthImage), 30);
    // A name that differs only in case draws neither a curve nor the value text.
    EXPECT_EQ(whiteInside(otherImage), 0);
    // The warmth curve passes through the face's centre (50, 74); the shape curve is a
    // bump from 35 % to 60 % of the face's height (y 59 to 84), symmetric left and right.
    EXPECT_TRUE(near(warmthImage.getPixelAt(50, 74), juce::Colours::white, 80));
    EXPECT_EQ(whiteInside(shapeImage, { 25, 44, 50, 13 }), 0);
    EXPECT_GT(whiteInside(shapeImage, { 45, 57, 10, 4 }), 0);
    EXPECT_NEAR(whiteInside(shapeImage, { 20, 56, 30, 40 }), whiteInside(shapeImage, { 50, 56, 30, 40 }), 12);
    // The ring is drawn in the main colour in all three.
    for (const auto* image : { &shapeImage, &warmthImage, &otherImage })
    {
        int ring = 0;
        for (int y = 24; y < 124; ++y)
            ring += near(image->getPixelAt(2, y), Zorvik::green, 60) || near(image->getPixelAt(3, y), Zorvik::green, 60);
        EXPECT_GT(ring, 5);
    }
}

TEST_F(WaveformKnobTest, TheCurveFollowsTheValue)
{
    for (const char* name : { "warmth", "shape" })
    {
        Knob k(*this, name);
        setPlainValue(processor, "RoomSize", 50.0f);
        const auto before = render(k.knob, std::string("waveform-knob-") + name + "-50");
        EXPECT_EQ(render(k.knob, "waveform-knob-again").getPixelAt(50, 74), before.getPixelAt(50, 74));
        setPlainValue(processor, "RoomSize", 100.0f);
        const auto after = render(k.knob, std::string("waveform-knob-") + name + "-100");
        int differing = 0;
        for (int y = middle.getY(); y < middle.getBottom(); ++y)
            for (int x = middle.getX(); x < middle.getRight(); ++x)
                differing += before.getPixelAt(x, y) != after.getPixelAt(x, y) ? 1 : 0;
        EXPECT_GT(differing, 10) << name;
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
            knob.setBounds(0, 0, 100, 124);
            const auto image = render(knob, std::string("waveform-knob-edge-") + name);
            if (std::isfinite(value))
                EXPECT_GT(whiteInside(image), 20) << name << " " << value;
            else
                EXPECT_EQ(whiteInside(image), 0) << name;
        }
}
