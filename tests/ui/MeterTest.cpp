#include "UI/Controls/Meters/PeakMeterContainer.h"
#include "UiTestSupport.h"

#include <cmath>

using namespace UiTest;

namespace
{
    constexpr int duckerMeter = 16;

    struct MeterTest : ProcessorTest
    {
        MeterTest() : meter(parameter("DuckerMeter"), "")
        {
            meter.setBounds(0, 0, 50, 120);
            meter.setMainColor(Zorvik::orange);
        }

        PeakMeterContainer meter;
    };
}

// Empty at a reading of 100 (no reduction), rising linearly to full at 46.67.
TEST_F(MeterTest, ReadingsMapToLevelsAndNonFiniteOnesToNone)
{
    const std::pair<float, double> levels[] = { { 120.0f, 0.0 },      { 100.0f, 0.0 },     { 90.0f, 0.1875 },
                                                { 73.3333333f, 0.5 }, { 60.0f, 0.75 },     { 46.6666667f, 1.0 },
                                                { 40.0f, 1.0 },       { 0.0f, 1.0 },       { -5.0f, 1.0 } };
    for (const auto& [reading, expected] : levels)
    {
        const auto level = meter.levelForReading(reading);
        ASSERT_TRUE(level.has_value());
        EXPECT_NEAR(*level, expected, 1e-6) << reading;
    }
    for (const float reading : { NAN, INFINITY, -INFINITY })
        EXPECT_FALSE(meter.levelForReading(reading).has_value());
}

// Before processing is prepared there is no reading to show; the meter finds it
// later. A loud input then shows a bar; a non-finite reading none.
TEST_F(MeterTest, ShowsTheDuckersReadingOnceProcessingRuns)
{
    meter.attach(processor.parameters);
    EXPECT_FALSE(meter.hasValues());
    processor.prepareToPlay(44100.0, 512);
    setPlainValue(processor, "DuckingThreshold", -40.0f);
    juce::AudioBuffer<float> buffer(2, 512);
    juce::MidiBuffer midi;
    for (int block = 0; block < 40; ++block)
    {
        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < 512; ++i)
                buffer.setSample(channel, i, 0.9f * std::sin(0.05f * static_cast<float>(block * 512 + i)));
        processor.processBlock(buffer, midi);
    }
    meter.timerCallback();
    ASSERT_TRUE(meter.hasValues());
    EXPECT_TRUE(near(render(meter, "meter-ducking").getPixelAt(25, 26), Zorvik::orange));

    processor.kernel->setOutputValue(duckerMeter, std::numeric_limits<float>::quiet_NaN());
    meter.timerCallback();
    EXPECT_TRUE(near(render(meter, "meter-nan").getPixelAt(25, 60), Zorvik::background.interpolatedWith(Zorvik::orange, 0.15f)));
}

// A tick repaints when the reading changed, and at every tick while it is no number.
TEST_F(MeterTest, RepaintsWhenTheReadingChangesAndWhileItIsNoNumber)
{
    processor.prepareToPlay(44100.0, 512);
    meter.attach(processor.parameters);
    meter.timerCallback(); // the first reading differs from the initial -1
    const int ticks = meter.getPulseCounter();
    meter.timerCallback();
    EXPECT_EQ(meter.getPulseCounter(), ticks);
    processor.kernel->setOutputValue(duckerMeter, 80.0f);
    meter.timerCallback();
    EXPECT_EQ(meter.getPulseCounter(), ticks + 1);
    processor.kernel->setOutputValue(duckerMeter, std::numeric_limits<float>::quiet_NaN());
    meter.timerCallback();
    meter.timerCallback();
    EXPECT_EQ(meter.getPulseCounter(), ticks + 3);
}

// Two bars sit side by side with a 2-pixel gap in the middle 60 % of the width;
// bipolar bars grow up or down from the middle, inverted ones from the bottom,
// horizontal ones from the left, and plain readings are levels from 0 (or -1) to 1.
TEST_F(MeterTest, OtherBarShapesFollowTheirFlags)
{
    meter.isStereo = true;
    EXPECT_EQ(meter.slotBounds(0, 2), juce::Rectangle<int>(10, 24, 14, 96));
    EXPECT_EQ(meter.slotBounds(1, 2), juce::Rectangle<int>(26, 24, 14, 96));
    meter.isStereo = false;
    meter.isNarrow = false;
    meter.isDecibel = false;
    const std::tuple<bool, float, double> plainLevels[] = { { false, 0.25f, 0.25 }, { false, -3.0f, 0.0 },
                                                            { false, 7.0f, 1.0 },  { true, -0.5f, -0.5 },
                                                            { true, -3.0f, -1.0 }, { true, 2.0f, 1.0 } };
    for (const auto& [bipolar, reading, level] : plainLevels)
    {
        meter.isBipolar = bipolar;
        EXPECT_EQ(*meter.levelForReading(reading), level) << bipolar << " " << reading;
    }
    using Bar = juce::Rectangle<float>;
    meter.isBipolar = true;
    EXPECT_EQ(meter.barBounds(0, 1, 0.5), Bar(0.0f, 48.0f, 50.0f, 24.0f));
    EXPECT_EQ(meter.barBounds(0, 1, -0.5), Bar(0.0f, 72.0f, 50.0f, 24.0f));
    meter.isBipolar = false;
    meter.isInverted = true;
    EXPECT_EQ(meter.barBounds(0, 1, 0.25), Bar(0.0f, 48.0f, 50.0f, 72.0f));
    meter.isInverted = false;
    meter.isHorizontal = true;
    meter.isNarrow = true; // vertical bars only
    EXPECT_EQ(meter.barBounds(0, 1, 0.25), Bar(0.0f, 24.0f, 12.5f, 96.0f));
}

// Grey mode draws the bar at 40 % of its colour. While waiting, every tick repaints
// and the background pulses in white between 0.6 and 0.2, starting at 0.6.
TEST_F(MeterTest, GreyDimsTheBarAndWaitingPulsesTheBackground)
{
    processor.prepareToPlay(44100.0, 512);
    meter.attach(processor.parameters);
    const auto slot = Zorvik::background.interpolatedWith(Zorvik::orange, 0.15f);
    processor.kernel->setOutputValue(duckerMeter, 40.0f);
    meter.timerCallback();
    meter.setIsGrey(true);
    EXPECT_TRUE(near(render(meter, "meter-grey").getPixelAt(25, 60), slot.interpolatedWith(Zorvik::orange, 0.4f)));
    meter.setIsGrey(false);

    processor.kernel->setOutputValue(duckerMeter, 100.0f);
    meter.timerCallback();
    meter.setIsWaiting(true);
    EXPECT_EQ(meter.getPulseCounter(), 0);
    const auto white = [](float alpha) { return Zorvik::background.interpolatedWith(juce::Colours::white, alpha); };
    EXPECT_TRUE(near(render(meter, "meter-waiting").getPixelAt(25, 60), white(0.6f)));
    for (int tick = 0; tick < 196; ++tick) // cos(196 * 0.016) is about -1
        meter.timerCallback();
    EXPECT_EQ(meter.getPulseCounter(), 196);
    EXPECT_TRUE(near(render(meter, "meter-waiting-low").getPixelAt(25, 60), white(0.2f)));

    meter.setIsWaiting(false);
    meter.timerCallback();
    EXPECT_EQ(meter.getPulseCounter(), 0);
    EXPECT_TRUE(near(render(meter, "meter-idle").getPixelAt(25, 60), slot));
}
