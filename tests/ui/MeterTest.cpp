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
