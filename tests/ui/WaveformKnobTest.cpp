#include "UI/Controls/Knob/WaveformKnobContainer.h"
#include "UiTestSupport.h"

#include <cmath>
#include <limits>

using namespace UiTest;

namespace
{
    using WaveformKnobTest = ProcessorTest;

    // White pixels in the middle of the knob (the ring is in the main colour, so
    // white there is the curve or a value text).
    int whiteInside(const juce::Image& image, juce::Rectangle<int> area)
    {
        int count = 0;
        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                count += near(image.getPixelAt(x, y), juce::Colours::white, 60) ? 1 : 0;
        return count;
    }

    // A 100 x 124 knob (face 100 x 100 below the title) bound to the reverb's room size.
    struct Knob
    {
        Knob(WaveformKnobTest& t, const std::string& waveform)
            : knob(t.parameter("RoomSize"), "Size", false, waveform)
        {
            knob.setBounds(0, 0, 100, 124);
            knob.attach(t.processor.parameters);
            knob.setMainColor(Zorvik::green);
        }
        WaveformKnobContainer knob;
    };

    const juce::Rectangle<int> middle { 25, 44, 50, 60 };
}

TEST_F(WaveformKnobTest, IsAKnobWithAWaveformFaceBoundToItsParameter)
{
    Knob k(*this, "shape");
    auto& slider = k.knob.getSlider();
    EXPECT_DOUBLE_EQ(slider.getValue(), 50.0);
    setPlain(processor, "RoomSize", 80.0f);
    EXPECT_NEAR(slider.getValue(), 80.0, 0.01);
    slider.setValue(20.0, juce::sendNotificationSync);
    EXPECT_NEAR(plainValue(processor, "RoomSize"), 20.0f, 0.01f);
}

TEST_F(WaveformKnobTest, DrawsTheNamedCurveInWhiteInsteadOfTheValueText)
{
    Knob shape(*this, "shape");
    Knob warmth(*this, "warmth");
    Knob other(*this, "Shape");
    const auto shapeImage = render(shape.knob, "waveform-knob-shape");
    const auto warmthImage = render(warmth.knob, "waveform-knob-warmth");
    const auto otherImage = render(other.knob, "waveform-knob-unknown");
    EXPECT_GT(whiteInside(shapeImage, middle), 30);
    EXPECT_GT(whiteInside(warmthImage, middle), 30);
    // A name that differs in case draws neither a curve nor the value text.
    EXPECT_EQ(whiteInside(otherImage, middle), 0);

    // The warmth curve passes through the face's centre (74 = 24 + 100 / 2).
    EXPECT_TRUE(near(warmthImage.getPixelAt(50, 74), juce::Colours::white, 80));
}

TEST(WaveformKnobValues, CurvesAtTheEdgesOfTheirFormulasAreDrawnSafely)
{
    // Warmth at -0.2 makes the curve's slope parameter zero; a broken value draws no curve.
    for (const double value : { -0.2, 0.0, std::numeric_limits<double>::quiet_NaN() })
        for (const char* name : { "warmth", "shape" })
        {
            WaveformKnobContainer knob(nullptr, "", false, name);
            knob.getSlider().setRange(-1.0, 100.0);
            knob.getSlider().setValue(value, juce::dontSendNotification);
            knob.setBounds(0, 0, 100, 124);
            const auto image = render(knob, std::string("waveform-knob-edge-") + name);
            if (std::isfinite(value))
            {
                EXPECT_GT(whiteInside(image, middle), 20) << name << " " << value;
            }
        }
}
