#include "TestProcessor.h"
#include "UI/Controls/Filter/DoubleFilterContainer.h"
#include "UiTestSupport.h"

#include <cmath>

using namespace UiTest;

namespace
{
    // A low-pass and a high-pass filter in a 440 x 224 container: a field of 440 x 200
    // below the title strip, 40 pixels an octave from 12 Hz, 0 dB at y = 124. The
    // resonances may reach past the drawing's +-24 dB.
    struct Filters : ::testing::Test
    {
        void press(float x, float y) { filters.mouseDown(mouseEvent(filters, { x, y })); }
        void drag(float x, float y) { filters.mouseDrag(mouseEvent(filters, { x, y })); }
        void release(float x, float y) { filters.mouseUp(mouseEvent(filters, { x, y })); }

        // The y of each column of the drawn curve, once the host's changes are taken in.
        std::vector<float> drawnCurve()
        {
            filters.timerCallback();
            render(filters, "double-filter-curve");
            std::vector<float> ys;
            for (juce::Path::Iterator it(filters.getCurve()); it.next() && ys.size() < 440;)
                if (it.elementType == juce::Path::Iterator::lineTo)
                    ys.push_back(it.y1);
            return ys;
        }

        TestProcessor processor { { { "LPFrequency", 12, 20000, 5000 }, { "LPResonance", -24, 40, 0 },
                                    { "LPOn", 0, 1, 1, true },           { "HPFrequency", 12, 20000, 100 },
                                    { "HPResonance", -24, 24, 0 },       { "HPOn", 0, 1, 1, true } } };
        DoubleFilterContainer filters { processor.record("LPFrequency"), processor.record("LPResonance"),
                                        processor.record("LPOn"),        processor.record("HPFrequency"),
                                        processor.record("HPResonance"), processor.record("HPOn"),
                                        "Filters" };
        Filters()
        {
            filters.setBounds(0, 0, 440, 224);
            filters.attach(processor.parameters);
        }
    };

    // The bilinear-transformed second-order low- or high-pass at 44.1 kHz, in dB, for
    // a cutoff fc and a resonance given in dB.
    double responseDb(bool lowPass, double f, double fc, double resonanceDb)
    {
        const double w = std::tan(M_PI * f / 44100.0) / std::tan(M_PI * fc / 44100.0);
        const double q = std::pow(10.0, resonanceDb / 20.0);
        const double denominator = std::sqrt((1.0 - w * w) * (1.0 - w * w) + (w / q) * (w / q));
        return 20.0 * std::log10((lowPass ? 1.0 : w * w) / denominator);
    }

    double columnFrequency(int x) { return std::min(12.0 * std::pow(2.0, x / 40.0), 21940.29850746269); }
    double yOfDb(double db) { return 124.0 - db * 200.0 / 48.0; }
}

TEST_F(Filters, FrequenciesRunInOctavesAcrossAndHostValuesPlaceTheHandles)
{
    EXPECT_FLOAT_EQ(filters.locationForFrequencyValue(12.0f), 0.0f);
    EXPECT_FLOAT_EQ(filters.locationForFrequencyValue(24576.0f), 440.0f);
    EXPECT_NEAR(filters.locationForFrequencyValue(1000.0f), 440.0 * std::log2(1000.0 / 12.0) / 11.0, 1e-3);
    EXPECT_NEAR(filters.frequencyValueForLocation(filters.locationForFrequencyValue(1000.0f)), 1000.0f, 0.01f);
    EXPECT_FLOAT_EQ(filters.valueAtGridIndex(3.0f), 96.0f);
    EXPECT_FLOAT_EQ(filters.locationForDBValue(24.0f), 24.0f);
    EXPECT_FLOAT_EQ(filters.locationForDBValue(-24.0f), 224.0f);

    EXPECT_EQ(filters.getLowPassHandle(), juce::Point<int>(static_cast<int>(440.0 * std::log2(5000.0 / 12.0) / 11.0), 124));
    processor.set("HPFrequency", 1000.0f);
    processor.set("HPResonance", 12.0f);
    EXPECT_EQ(filters.getHighPassHandle(), juce::Point<int>(255, 74));
    EXPECT_NEAR(filters.getHighPassLocation().y, 0.75f, 1e-6f);

    // The toggles write their switches, and the container follows the host's.
    filters.getLowPassToggle().getButton().setToggleState(false, juce::sendNotificationSync);
    EXPECT_EQ(processor.plain("LPOn"), 0.0f);
    EXPECT_FALSE(filters.isLowPassOn());
    processor.set("LPOn", 1.0f);
    EXPECT_TRUE(filters.isLowPassOn());
}

TEST_F(Filters, APressTakesTheNearerHandleAndADragWritesFrequencyAndResonance)
{
    processor.set("HPFrequency", 1000.0f);
    processor.set("LPFrequency", static_cast<float>(12.0 * std::pow(2.0, 351.5 / 40.0)));
    ASSERT_EQ(filters.getHighPassHandle(), juce::Point<int>(255, 124));
    ASSERT_EQ(filters.getLowPassHandle(), juce::Point<int>(351, 124));
    press(303.0f, 124.0f); // midway: a tie goes to the high-pass
    EXPECT_TRUE(filters.getIsDragging() && ! filters.getIsDraggingLowPass());
    EXPECT_EQ(filters.getHighPassHandle(), juce::Point<int>(303, 124));
    release(303.0f, 124.0f);
    press(340.0f, 124.0f);
    EXPECT_TRUE(filters.getIsDraggingLowPass());

    // The top-left corner and beyond: the frequency's minimum, the resonance's maximum.
    drag(-30.0f, 0.0f);
    EXPECT_NEAR(processor.plain("LPFrequency"), 12.0f, 1e-3f);
    EXPECT_NEAR(processor.plain("LPResonance"), 40.0f, 1e-4f);
    // Across: the note domain between the ends; up and down: linear.
    drag(220.0f, 124.0f);
    EXPECT_NEAR(processor.plain("LPFrequency"), std::sqrt(12.0 * 20000.0), 0.01);
    EXPECT_NEAR(processor.plain("LPResonance"), 8.0f, 1e-4f);
    release(220.0f, 124.0f);
    drag(0.0f, 224.0f);
    EXPECT_NEAR(processor.plain("LPResonance"), 8.0f, 1e-4f);
}

TEST_F(Filters, OnlySwitchedOnFiltersAreDraggedAndNeitherByTitleOrRightPresses)
{
    processor.set("LPOn", 0.0f);
    press(400.0f, 124.0f); // at the low-pass handle, but only the high-pass is on
    EXPECT_FALSE(filters.getIsDraggingLowPass());
    release(400.0f, 124.0f);
    processor.set("HPOn", 0.0f);
    press(100.0f, 100.0f);
    EXPECT_FALSE(filters.getIsDragging());

    processor.set("LPOn", 1.0f);
    press(100.0f, 10.0f);
    filters.mouseDown(rightClick(filters, { 100.0f, 100.0f }));
    filters.mouseDrag(rightClick(filters, { 200.0f, 100.0f }));
    EXPECT_FALSE(filters.getIsDragging());
    EXPECT_NEAR(processor.plain("LPFrequency"), 5000.0f, 0.01f);
}

TEST_F(Filters, TheCurveIsTheProductOfTheSwitchedOnResponsesWithinTwentyThreeDecibels)
{
    processor.set("LPOn", 0.0f);
    processor.set("HPOn", 0.0f);
    for (const float y : drawnCurve())
        EXPECT_FLOAT_EQ(y, 124.0f);

    processor.set("LPOn", 1.0f);
    processor.set("LPFrequency", 1000.0f);
    processor.set("LPResonance", 6.0f);
    processor.set("HPFrequency", 200.0f);
    for (const bool withHighPass : { false, true })
    {
        processor.set("HPOn", withHighPass ? 1.0f : 0.0f);
        const auto ys = drawnCurve();
        ASSERT_EQ(ys.size(), 440u);
        for (int x = 0; x < 440; x += 7)
        {
            const double f = columnFrequency(x);
            const double db = responseDb(true, f, 1000.0, 6.0) + (withHighPass ? responseDb(false, f, 200.0, 0.0) : 0.0);
            EXPECT_NEAR(ys[static_cast<size_t>(x)], yOfDb(std::clamp(db, -23.0, 23.0)), 0.05) << x;
        }
    }
    EXPECT_EQ(filters.getHighPassLabel().getText(), "200 Hz\n0.0 dB");
    EXPECT_EQ(filters.getHighPassLabel().findColour(juce::Label::textColourId), juce::Colours::white);

    // +30 dB is drawn as +24 and clipped to +-23; the label of a filter that is off is grey.
    processor.set("LPResonance", 30.0f);
    processor.set("HPOn", 0.0f);
    const auto ys = drawnCurve();
    EXPECT_EQ(filters.getLowPassLabel().getText(), "1000 Hz\n24.0 dB");
    EXPECT_EQ(filters.getHighPassLabel().findColour(juce::Label::textColourId), juce::Colours::grey);
    EXPECT_FLOAT_EQ(*std::min_element(ys.begin(), ys.end()), static_cast<float>(yOfDb(23.0)));
    EXPECT_FLOAT_EQ(*std::max_element(ys.begin(), ys.end()), static_cast<float>(yOfDb(-23.0)));
}

TEST_F(Filters, FillsBelowTheCurveInTheMainColourAndUnboundItStillDraws)
{
    filters.setMainColor(Zorvik::mauve);
    processor.set("HPFrequency", 12.0f);
    processor.set("LPFrequency", 20000.0f);
    filters.timerCallback();
    const auto image = render(filters, "double-filter");
    // Flat at 0 dB (y = 124): below it the main colour, opaque at half height (y = 112)
    // and fading to 40 % at the bottom; the background above; a white frame.
    const auto fill = [](float y) {
        return Zorvik::background.overlaidWith(Zorvik::mauve.withAlpha(1.0f - 0.6f * (y - 112.0f) / 112.0f));
    };
    EXPECT_TRUE(near(image.getPixelAt(200, 130), fill(130.5f), 4));
    EXPECT_TRUE(near(image.getPixelAt(200, 200), fill(200.5f), 4));
    EXPECT_TRUE(near(image.getPixelAt(200, 110), Zorvik::background));
    EXPECT_TRUE(near(image.getPixelAt(0, 150), juce::Colours::white));

    DoubleFilterContainer unbound(processor.record("LPFrequency"), nullptr, nullptr, nullptr, nullptr, nullptr, "");
    unbound.setBounds(0, 0, 120, 80);
    unbound.attach(processor.parameters);
    unbound.mouseDown(mouseEvent(unbound, { 60.0f, 50.0f }));
    render(unbound, "double-filter-unbound");
    EXPECT_FALSE(unbound.getIsDragging());
}
