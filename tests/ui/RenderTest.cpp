#include "UI/Controls/Filter/FilterContainer.h"
#include "UI/Controls/Knob/KnobContainer.h"
#include "UI/Controls/OnOff/OnOffContainer.h"
#include "UI/Controls/Radio/RadioContainer.h"
#include "UI/Controls/Slider/SliderContainer.h"
#include "UiTestSupport.h"

// Each container drawn into an image; solid areas are checked for their colours and
// the images are written to the build folder (test-output/ui).
using namespace UiTest;

namespace
{
    using RenderTest = ProcessorTest;
    const juce::Colour background = Zorvik::background;

    // Whether some pixel within radius of (x, y) is near the colour.
    bool colourAround(const juce::Image& image, int x, int y, juce::Colour colour, int radius, int tolerance)
    {
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx)
                if (near(image.getPixelAt(x + dx, y + dy), colour, tolerance))
                    return true;
        return false;
    }
}

TEST_F(RenderTest, BarFillsFromTheLevelLineDownInTheMainColour)
{
    SliderContainer bar(parameter("RoomSize"), "Size", false, {});
    bar.setBounds(0, 0, 40, 224);
    bar.attach(processor.parameters);
    bar.setMainColor(Zorvik::green);

    setPlain(processor, "RoomSize", 100.0f);
    auto image = render(bar, "bar-full");
    EXPECT_TRUE(near(image.getPixelAt(5, 24 + 60), Zorvik::green));
    EXPECT_TRUE(near(image.getPixelAt(20, 24 + 198), over(background, Zorvik::green, 0.61f), 4));
    EXPECT_TRUE(near(image.getPixelAt(0, 120), juce::Colours::white));

    setPlain(processor, "RoomSize", 0.0f);
    image = render(bar, "bar-empty");
    EXPECT_TRUE(near(image.getPixelAt(20, 150), background));
    // The value text sits just above the level line at the bottom.
    EXPECT_TRUE(colourAround(image, 20, 224 - 14, juce::Colours::white, 4, 40));
}

TEST_F(RenderTest, KnobDrawsItsRingInTheMainColourAndNoFill)
{
    KnobContainer knob(parameter("EffectDryWet"), "Mix", false, {});
    knob.setBounds(0, 0, 60, 100);
    knob.attach(processor.parameters);
    knob.setMainColor(Zorvik::orange);
    const auto image = render(knob, "knob");
    // Ring of radius 28 around (30, 62); at 50 % its gap and dot point upwards.
    EXPECT_TRUE(colourAround(image, 30, 90, Zorvik::orange, 1, 60));
    EXPECT_TRUE(colourAround(image, 30, 40, Zorvik::orange, 1, 60));
    EXPECT_TRUE(near(image.getPixelAt(30, 35), background));
    EXPECT_TRUE(near(image.getPixelAt(10, 62), background));
}

TEST_F(RenderTest, SwitchIsFilledWhenOnAndOutlinedWhenOff)
{
    OnOffContainer freeze(parameter("Freeze"), "", { "FREEZE", "FREEZE" });
    freeze.setBounds(0, 0, 80, 60);
    freeze.attach(processor.parameters);
    freeze.setMainColor(Zorvik::blue);

    auto image = render(freeze, "switch-off");
    EXPECT_TRUE(near(image.getPixelAt(3, 27), background));
    EXPECT_TRUE(near(image.getPixelAt(0, 40), Zorvik::blue));

    setPlain(processor, "Freeze", 1.0f);
    image = render(freeze, "switch-on");
    EXPECT_TRUE(near(image.getPixelAt(3, 27), Zorvik::blue));
    EXPECT_TRUE(colourAround(image, 40, 42, juce::Colours::black, 6, 40));
}

TEST_F(RenderTest, RadioFillsTheSelectedButtonAndDrawsWhiteGlyphs)
{
    RadioContainer radio(parameter("InputFilterType"), "", { "lowshelf", "hipass" });
    radio.setIsWaveform(true);
    radio.setBounds(0, 0, 60, 100);
    radio.attach(processor.parameters);
    radio.setMainColor(Zorvik::green);
    setPlain(processor, "InputFilterType", 1.0f);
    radio.timerCallback();

    const auto image = render(radio, "radio");
    EXPECT_TRUE(near(image.getPixelAt(3, 66), Zorvik::green));
    EXPECT_TRUE(near(image.getPixelAt(3, 27), background));
    // "hipass" ends on its upper line at the right of the second box (y = 63 + 13.875),
    // a white line over the green fill.
    EXPECT_GT(image.getPixelAt(45, 63 + 13).getRed(), 150);
    EXPECT_GT(image.getPixelAt(45, 24 + 13).getRed(), 150);
}

TEST_F(RenderTest, XYFieldShowsThePositionWhileDragging)
{
    XYControlContainer pad(parameter("FreqShifterFrequency"), parameter("FreqShifterDryWet"), "Transform");
    pad.setBounds(0, 0, 100, 124);
    pad.attach(processor.parameters);
    pad.setMainColor(Zorvik::mauve);

    auto image = render(pad, "xy-idle");
    EXPECT_TRUE(near(image.getPixelAt(50, 70), background));
    EXPECT_TRUE(near(image.getPixelAt(0, 70), juce::Colours::white));

    pad.mouseDown(mouseEvent(pad, { 100.0f, 124.0f }));
    image = render(pad, "xy-dragging");
    EXPECT_TRUE(near(image.getPixelAt(20, 50), over(background, Zorvik::mauve, 0.7f)));
    // The handle stays 10 pixels inside the field: centred at (90, 114).
    EXPECT_TRUE(near(image.getPixelAt(90, 114), Zorvik::mauve));
    EXPECT_TRUE(near(image.getPixelAt(90, 104), juce::Colours::white, 60));
}

TEST_F(RenderTest, FilterFillsBelowItsCurve)
{
    FilterContainer display(parameter("InputFilterFrequency"), parameter("InputFilterGain"), "Filter");
    display.setBounds(0, 0, 330, 124);
    display.attach(processor.parameters);
    display.setMainColor(Zorvik::green);
    display.setType(BiquadFilterType::lowShelf);
    setPlain(processor, "InputFilterFrequency", 1000.0f);
    setPlain(processor, "InputFilterGain", 12.0f);
    display.timerCallback();

    const auto image = render(display, "filter-lowshelf-colours");
    // +12 dB at the low end puts the curve at y = 49; 0 dB at the high end at y = 74.
    EXPECT_TRUE(near(image.getPixelAt(20, 58), Zorvik::green));
    EXPECT_TRUE(near(image.getPixelAt(300, 60), background));
    EXPECT_TRUE(near(image.getPixelAt(300, 120), over(background, Zorvik::green, 0.44f), 5));
}
