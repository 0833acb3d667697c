#include "Common/ProcessBlock/Filters/BiquadFilter.h"
#include "UI/Controls/Filter/FilterContainer.h"
#include "UiTestSupport.h"
#include "dsp/TestSignals.h"

#include <cmath>

using namespace UiTest;

namespace
{
    using XYTest = ProcessorTest;

    // A pad of 100 x 124: a field of 100 x 100 below the 24-pixel title strip.
    struct TransformPad
    {
        explicit TransformPad(XYTest& t)
            : pad(t.parameter("FreqShifterFrequency"), t.parameter("FreqShifterDryWet"), "Transform")
        {
            pad.setBounds(0, 0, 100, 124);
            pad.attach(t.processor.parameters);
        }
        void press(float x, float y) { pad.mouseDown(mouseEvent(pad, { x, y })); }
        void drag(float x, float y) { pad.mouseDrag(mouseEvent(pad, { x, y })); }
        void release(float x, float y) { pad.mouseUp(mouseEvent(pad, { x, y })); }
        XYControlContainer pad;
    };

    // Frequencies between 20 Hz and 20 kHz, p of the way in the note domain.
    double noteDomainFrequency(double p)
    {
        const auto note = [](double f) { return 17.31234 * std::log(0.1223122 * f); };
        const double n = note(20.0) + (note(20000.0) - note(20.0)) * p;
        return 8.175799 * std::exp(0.057762265 * n);
    }

    // The engine's own filter, measured: the level in dB of a sine at frequency after
    // it settled, at 44.1 kHz.
    double engineGainDb(BiquadFilterType type, double frequency, float cutoff, float q)
    {
        constexpr int length = 44100;
        constexpr int settled = 22050;
        auto signal = TestSignals::sine(frequency / 44100.0, length);
        BiquadFilter filter(type, 1);
        filter.init(1, 44100.0);
        for (int offset = 0; offset < length; offset += 4096)
            filter.processFilter(signal.data() + offset, static_cast<unsigned long>(std::min(4096, length - offset)), 0,
                                 cutoff, q, 0.0f);
        double energy = 0.0;
        for (int i = settled; i < length; ++i)
            energy += static_cast<double>(signal[static_cast<size_t>(i)]) * signal[static_cast<size_t>(i)];
        const double rms = std::sqrt(energy / (length - settled));
        return 20.0 * std::log10(rms * std::sqrt(2.0));
    }

    // The drawn curve: the y of each pixel column, in order.
    std::vector<float> columnLevels(const juce::Path& path, int width)
    {
        std::vector<float> ys;
        juce::Path::Iterator it(path);
        while (it.next() && static_cast<int>(ys.size()) < width)
            if (it.elementType == juce::Path::Iterator::lineTo)
                ys.push_back(it.y1);
        return ys;
    }
}

TEST_F(XYTest, PressSetsBothParametersReleaseResetsThemAndTheHostMovesThePosition)
{
    TransformPad t(*this);
    t.press(25.0f, 24.0f + 75.0f);
    EXPECT_TRUE(t.pad.getIsDragging());
    EXPECT_FLOAT_EQ(t.pad.getLocationX(), 0.25f);
    EXPECT_FLOAT_EQ(t.pad.getLocationY(), 0.25f);
    EXPECT_NEAR(plainValue(processor, "FreqShifterFrequency"), -50.0f, 0.01f);
    EXPECT_NEAR(plainValue(processor, "FreqShifterDryWet"), 25.0f, 0.01f);

    t.drag(-20.0f, 500.0f);
    EXPECT_EQ(t.pad.getLocationX(), 0.0f);
    EXPECT_EQ(t.pad.getLocationY(), 0.0f);
    t.drag(150.0f, 0.0f);
    EXPECT_EQ(t.pad.getLocationX(), 1.0f);
    EXPECT_EQ(t.pad.getLocationY(), 1.0f);
    EXPECT_NEAR(plainValue(processor, "FreqShifterFrequency"), 100.0f, 0.01f);
    EXPECT_NEAR(plainValue(processor, "FreqShifterDryWet"), 100.0f, 0.01f);

    // Release returns both to their minimum.
    t.release(150.0f, 0.0f);
    EXPECT_FALSE(t.pad.getIsDragging());
    EXPECT_NEAR(plainValue(processor, "FreqShifterFrequency"), -100.0f, 0.01f);
    EXPECT_NEAR(plainValue(processor, "FreqShifterDryWet"), 0.0f, 0.01f);

    // Host changes move the position.
    setPlainValue(processor, "FreqShifterFrequency", 50.0f);
    setPlainValue(processor, "FreqShifterDryWet", 10.0f);
    EXPECT_NEAR(t.pad.getLocationX(), 0.75f, 1e-4f);
    EXPECT_NEAR(t.pad.getLocationY(), 0.1f, 1e-4f);
    t.pad.parameterChanged("FreqShifterDryWet", std::numeric_limits<float>::infinity());
    EXPECT_EQ(t.pad.getLocationY(), 0.0f);
}

TEST_F(XYTest, TitleStripPressesAndRightClicksMoveNothing)
{
    RecordingDelegate delegate;
    TransformPad t(*this);
    t.pad.setDelegate(&delegate);
    t.press(50.0f, 10.0f);
    t.drag(50.0f, 80.0f);
    t.release(50.0f, 80.0f);
    EXPECT_FALSE(t.pad.getIsDragging());
    EXPECT_NEAR(plainValue(processor, "FreqShifterDryWet"), 0.0f, 0.01f);

    t.pad.mouseDown(rightClick(t.pad, { 50.0f, 60.0f }));
    t.pad.mouseDrag(rightClick(t.pad, { 80.0f, 60.0f }));
    t.pad.mouseUp(rightClick(t.pad, { 80.0f, 60.0f }));
    EXPECT_NEAR(plainValue(processor, "FreqShifterFrequency"), -100.0f, 0.01f);
    ASSERT_EQ(delegate.calls.size(), 1u);
    ASSERT_EQ(delegate.calls[0].size(), 2u);
    EXPECT_EQ(delegate.calls[0][0].name, "FREQ SHIFTER FREQUENCY");
    EXPECT_EQ(delegate.calls[0][1].name, "FREQ SHIFTER DRY WET");
    EXPECT_EQ(delegate.calls[0][1].parameter, parameter("FreqShifterDryWet"));
}

// While a press lasts the field shows X in the main colour and Y in white, each up
// to 70 %, under a round handle kept 10 pixels inside the field; idle, only the frame.
TEST_F(XYTest, TheFieldAndHandleShowThePositionWhilePressed)
{
    TransformPad t(*this);
    t.pad.setMainColor(Zorvik::mauve);
    const auto over = [](juce::Colour colour, float alpha) { return Zorvik::background.interpolatedWith(colour, alpha); };
    auto image = render(t.pad, "xy-idle");
    EXPECT_TRUE(near(image.getPixelAt(50, 70), Zorvik::background));
    EXPECT_TRUE(near(image.getPixelAt(0, 70), juce::Colours::white));

    t.press(100.0f, 124.0f); // the bottom right corner: X at its maximum, Y at its minimum
    image = render(t.pad, "xy-pressed-right");
    EXPECT_TRUE(near(image.getPixelAt(20, 50), over(Zorvik::mauve, 0.7f)));
    EXPECT_TRUE(near(image.getPixelAt(90, 114), Zorvik::mauve));
    EXPECT_TRUE(near(image.getPixelAt(90, 104), juce::Colours::white, 60)) << "the handle's rim";
    EXPECT_TRUE(near(image.getPixelAt(90, 100), over(Zorvik::mauve, 0.7f)));

    t.drag(0.0f, 0.0f); // the top left corner
    image = render(t.pad, "xy-pressed-left");
    EXPECT_TRUE(near(image.getPixelAt(60, 90), over(juce::Colours::white, 0.7f)));
    EXPECT_TRUE(near(image.getPixelAt(10, 34), Zorvik::mauve));

    t.release(0.0f, 0.0f);
    EXPECT_TRUE(near(render(t.pad, "xy-released").getPixelAt(60, 90), Zorvik::background));
}

namespace
{
    // The reverb's input filter display: 330 x 124, so 30 pixels per octave from 12 Hz.
    struct FilterDisplay
    {
        explicit FilterDisplay(XYTest& t)
            : display(t.parameter("InputFilterFrequency"), t.parameter("InputFilterGain"), "Filter")
        {
            display.setBounds(0, 0, 330, 124);
            display.setVisible(true);
            display.attach(t.processor.parameters);
        }
        std::vector<float> levels()
        {
            display.timerCallback();
            juce::Image image(juce::Image::ARGB, 330, 124, true);
            juce::Graphics g(image);
            display.paintEntireComponent(g, false);
            return columnLevels(display.getResponse(), 330);
        }
        FilterContainer display;
    };
}

TEST_F(XYTest, FilterPressesMoveTheFrequencyInTheNoteDomainAndKeepItOnRelease)
{
    FilterDisplay f(*this);
    auto& d = f.display;
    for (const float x : { 0.0f, 82.5f, 165.0f, 330.0f })
    {
        d.mouseDown(mouseEvent(d, { x, 74.0f }));
        d.mouseUp(mouseEvent(d, { x, 74.0f }));
        const double expected = noteDomainFrequency(x / 330.0);
        EXPECT_NEAR(plainValue(processor, "InputFilterFrequency"), expected, expected * 2e-3) << x;
        EXPECT_NEAR(plainValue(processor, "InputFilterGain"), 0.0f, 0.01f);
    }
    // The description line is no dead band.
    EXPECT_EQ(d.getComponentAt(100, 30), &d);
    d.mouseDown(mouseEvent(d, { 165.0f, 30.0f }));
    d.mouseUp(mouseEvent(d, { 165.0f, 30.0f }));
    EXPECT_NEAR(plainValue(processor, "InputFilterGain"), 24.0f - 48.0f * 6.0f / 100.0f, 0.01f);
}

TEST_F(XYTest, FilterCurveShowsTheEnginesFilterAtTheLabelledFrequencyAndStaysFinite)
{
    FilterDisplay f(*this);
    setPlainValue(processor, "InputFilterFrequency", 1000.0f);
    setPlainValue(processor, "InputFilterGain", 12.0f);
    const std::pair<BiquadFilterType, const char*> shapes[] = { { BiquadFilterType::lowShelf, "lowshelf" },
                                                                 { BiquadFilterType::highPass, "hipass" } };
    for (const auto& [type, name] : shapes)
    {
        f.display.setType(type);
        const auto levels = f.levels();
        EXPECT_EQ(f.display.getLabel().getText(), "F: 1000Hz / Q: 12.00dB");
        ASSERT_EQ(levels.size(), 330u);
        for (int column = 130; column < 320; column += 7)
        {
            const double frequency = 12.0 * std::pow(2.0, column / 30.0);
            const double db = engineGainDb(type, frequency, 1000.0f, 12.0f);
            const double y = 124.0 - (db + 24.0) * 100.0 / 48.0;
            EXPECT_NEAR(levels[static_cast<size_t>(column)], y, 0.3) << name << " at " << frequency << " Hz";
        }
    }
    // Every shape at the ends of both ranges stays finite; a code that is no shape
    // leaves the coefficients at zero: no output at all.
    for (const float frequency : { 20.0f, 20000.0f })
        for (const float gain : { -24.0f, 24.0f })
        {
            setPlainValue(processor, "InputFilterFrequency", frequency);
            setPlainValue(processor, "InputFilterGain", gain);
            for (int type = 0; type < 8; ++type)
            {
                f.display.setType(static_cast<BiquadFilterType>(type));
                for (float y : f.levels())
                    ASSERT_TRUE(std::isfinite(y)) << frequency << " " << gain << " " << type;
            }
        }
    f.display.setType(static_cast<BiquadFilterType>(9));
    for (float y : f.levels())
        ASSERT_EQ(y, 124.0f);
}

TEST_F(XYTest, PadWithoutItsSecondParameterStaysInert)
{
    RecordingDelegate delegate;
    FilterContainer display(parameter("InputFilterFrequency"), nullptr, "Filter");
    display.setBounds(0, 0, 100, 124);
    display.attach(processor.parameters);
    display.setDelegate(&delegate);
    display.mouseDown(mouseEvent(display, { 50.0f, 60.0f }));
    display.mouseDown(rightClick(display, { 50.0f, 60.0f }));
    render(display, "filter-unbound");
    EXPECT_NEAR(plainValue(processor, "InputFilterFrequency"), 400.0f, 0.01f);
    ASSERT_EQ(delegate.calls.size(), 1u);
    EXPECT_EQ(delegate.calls[0].size(), 1u);
}

// 300 pixels wide: the frequency doubles every 300 / 11 pixels from 12 Hz at the left
// edge; +24 dB lies at the foot of the title strip, -24 dB at the bottom.
TEST_F(XYTest, FilterFieldRunsInOctavesAcrossAndDecibelsUp)
{
    FilterContainer display(parameter("InputFilterFrequency"), parameter("InputFilterGain"), "Filter");
    display.setBounds(0, 0, 300, 124);
    for (int octave = 0; octave <= 11; ++octave)
    {
        const float expected = 12.0f * std::pow(2.0f, static_cast<float>(octave));
        EXPECT_NEAR(display.frequencyValueForLocation(300.0f * static_cast<float>(octave) / 11.0f), expected,
                    expected * 1e-5f);
        EXPECT_FLOAT_EQ(display.valueAtGridIndex(static_cast<float>(octave)), expected);
    }
    EXPECT_FLOAT_EQ(display.locationForDBValue(24.0f), 24.0f);
    EXPECT_FLOAT_EQ(display.locationForDBValue(0.0f), 74.0f);
    EXPECT_FLOAT_EQ(display.locationForDBValue(-24.0f), 124.0f);
}
