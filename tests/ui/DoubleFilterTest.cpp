#include "TestProcessor.h"
#include "UI/Controls/Filter/DoubleFilterContainer.h"
#include "UI/Controls/Slider/DoubleSliderContainer.h"
#include "UI/Controls/XY/TimeStopXYControlContainer.h"
#include "UiTestSupport.h"

#include <cmath>

using namespace UiTest;

namespace
{
    // The six parameters of a low-pass and a high-pass filter, in a 440 x 224
    // container: a field of 440 x 200 below the title strip, 0 dB at y = 124.
    struct Filters : ::testing::Test
    {
        Filters()
            : processor({ { "LPFrequency", 12.0f, 20000.0f, 5000.0f },
                          { "LPResonance", -24.0f, 24.0f, 0.0f },
                          { "LPOn", 0.0f, 1.0f, 1.0f, true },
                          { "HPFrequency", 12.0f, 20000.0f, 100.0f },
                          { "HPResonance", -24.0f, 24.0f, 0.0f },
                          { "HPOn", 0.0f, 1.0f, 1.0f, true } }),
              filters(processor.record("LPFrequency"), processor.record("LPResonance"), processor.record("LPOn"),
                      processor.record("HPFrequency"), processor.record("HPResonance"), processor.record("HPOn"),
                      "Filters")
        {
            filters.setBounds(0, 0, 440, 224);
            filters.attach(processor.parameters);
        }

        void press(float x, float y) { filters.mouseDown(mouseEvent(filters, { x, y })); }
        void drag(float x, float y) { filters.mouseDrag(mouseEvent(filters, { x, y })); }
        void release(float x, float y) { filters.mouseUp(mouseEvent(filters, { x, y })); }

        // The y of each column of the drawn curve, after the host changes are taken in.
        std::vector<float> drawnCurve()
        {
            filters.timerCallback();
            render(filters, "double-filter-curve");
            std::vector<float> ys;
            juce::Path::Iterator it(filters.getCurve());
            while (it.next() && ys.size() < 440)
                if (it.elementType == juce::Path::Iterator::lineTo)
                    ys.push_back(it.y1);
            return ys;
        }

        TestProcessor processor;
        DoubleFilterContainer filters;
    };

    // The magnitude in dB of the bilinear-transformed second-order low- or high-pass
    // at frequency f for a cutoff fc and a resonance in dB, at 44.1 kHz.
    double responseDb(bool lowPass, double f, double fc, double resonanceDb)
    {
        const double w = std::tan(M_PI * f / 44100.0) / std::tan(M_PI * fc / 44100.0);
        const double q = std::pow(10.0, resonanceDb / 20.0);
        const double denominator = std::sqrt((1.0 - w * w) * (1.0 - w * w) + (w / q) * (w / q));
        return 20.0 * std::log10((lowPass ? 1.0 : w * w) / denominator);
    }

    double columnFrequency(int x)
    {
        return std::min(12.0 * std::pow(2.0, x / 40.0), 21940.29850746269);
    }

    double yOfDb(double db)
    {
        return 200.0 - ((db + 24.0) * (200.0 / 48.0) - 24.0);
    }
}

TEST_F(Filters, HostValuesPlaceTheHandlesAndSwitchTheFilters)
{
    EXPECT_TRUE(filters.isHighPassOn());
    processor.set("HPFrequency", 1000.0f);
    processor.set("HPResonance", 12.0f);
    EXPECT_NEAR(filters.getHighPassLocation().y, 0.75f, 1e-6f);

    // The toggles write their switches; the container follows.
    filters.getLowPassToggle().getButton().setToggleState(false, juce::sendNotificationSync);
    EXPECT_EQ(processor.plain("LPOn"), 0.0f);
    EXPECT_FALSE(filters.isLowPassOn());
    processor.set("LPOn", 1.0f);
    EXPECT_TRUE(filters.getLowPassToggle().getButton().getToggleState());
    EXPECT_TRUE(filters.isLowPassOn());
}

TEST_F(Filters, APressPicksTheNearerHandleAndDraggingWritesBothValues)
{
    processor.set("HPFrequency", 1000.0f);
    processor.set("LPFrequency", static_cast<float>(12.0 * std::pow(2.0, 351.5 / 40.0)));
    // Handles at (255, 124) and (351, 124): midway is a tie, which takes the high-pass.
    ASSERT_EQ(filters.getHighPassHandle(), juce::Point<int>(255, 124));
    ASSERT_EQ(filters.getLowPassHandle(), juce::Point<int>(351, 124));
    press(303.0f, 124.0f);
    EXPECT_TRUE(filters.getIsDragging());
    EXPECT_FALSE(filters.getIsDraggingLowPass());
    // The press moved the high-pass handle to itself and wrote its values.
    EXPECT_EQ(filters.getHighPassHandle(), juce::Point<int>(303, 124));
    release(303.0f, 124.0f);
    press(340.0f, 124.0f); // now nearer to the low-pass handle than to the moved one
    EXPECT_TRUE(filters.getIsDraggingLowPass());

    // The top-left corner (and beyond) is the frequency's minimum and the resonance's maximum.
    drag(-30.0f, 0.0f);
    EXPECT_NEAR(processor.plain("LPFrequency"), 12.0f, 1e-3f);
    EXPECT_NEAR(processor.plain("LPResonance"), 24.0f, 1e-4f);
    EXPECT_EQ(filters.getLowPassHandle(), juce::Point<int>(-30, 0));

    // Across: the note domain between the parameter's ends; up and down: linear.
    drag(220.0f, 174.0f);
    EXPECT_NEAR(processor.plain("LPFrequency"), std::sqrt(12.0 * 20000.0), 0.01);
    EXPECT_NEAR(processor.plain("LPResonance"), -12.0f, 1e-4f);
    release(220.0f, 174.0f);
    EXPECT_FALSE(filters.getIsDragging());
    drag(0.0f, 224.0f);
    EXPECT_NEAR(processor.plain("LPResonance"), -12.0f, 1e-4f);
}

TEST_F(Filters, OnlySwitchedOnFiltersCanBeDragged)
{
    processor.set("LPOn", 0.0f);
    press(400.0f, 124.0f); // at the low-pass handle, but only the high-pass is on
    EXPECT_TRUE(filters.getIsDragging());
    EXPECT_FALSE(filters.getIsDraggingLowPass());
    release(400.0f, 124.0f);
    const float highPass = processor.plain("HPFrequency");

    processor.set("HPOn", 0.0f);
    press(100.0f, 100.0f);
    EXPECT_FALSE(filters.getIsDragging());
    drag(200.0f, 100.0f);
    EXPECT_EQ(processor.plain("HPFrequency"), highPass);
    EXPECT_NEAR(processor.plain("LPFrequency"), 5000.0f, 0.01f);

    // Presses on the title strip and right clicks do nothing either.
    processor.set("LPOn", 1.0f);
    press(100.0f, 10.0f);
    EXPECT_FALSE(filters.getIsDragging());
    filters.mouseDown(rightClick(filters, { 100.0f, 100.0f }));
    filters.mouseDrag(rightClick(filters, { 200.0f, 100.0f }));
    EXPECT_FALSE(filters.getIsDragging());
    EXPECT_NEAR(processor.plain("LPFrequency"), 5000.0f, 0.01f);
}

TEST_F(Filters, TheCurveIsTheProductOfTheSwitchedOnResponses)
{
    processor.set("LPOn", 0.0f);
    processor.set("HPOn", 0.0f);
    for (const float y : drawnCurve())
        EXPECT_FLOAT_EQ(y, 124.0f);

    processor.set("LPOn", 1.0f);
    processor.set("LPFrequency", 1000.0f);
    processor.set("LPResonance", 6.0f);
    auto ys = drawnCurve();
    ASSERT_EQ(ys.size(), 440u);
    for (int x = 0; x < 440; x += 7)
    {
        const double db = std::clamp(responseDb(true, columnFrequency(x), 1000.0, 6.0), -23.0, 23.0);
        EXPECT_NEAR(ys[static_cast<size_t>(x)], yOfDb(db), 0.05) << "column " << x;
    }

    processor.set("HPOn", 1.0f);
    processor.set("HPFrequency", 200.0f);
    ys = drawnCurve();
    for (int x = 0; x < 440; x += 7)
    {
        const double f = columnFrequency(x);
        const double db = std::clamp(responseDb(true, f, 1000.0, 6.0) + responseDb(false, f, 200.0, 0.0), -23.0, 23.0);
        EXPECT_NEAR(ys[static_cast<size_t>(x)], yOfDb(db), 0.05) << "column " << x;
    }
}

TEST_F(Filters, ResonanceBeyondTheRangeIsDrawnAtItsLimits)
{
    TestProcessor wide({ { "F", 12.0f, 20000.0f, 1000.0f }, { "R", -40.0f, 40.0f, 30.0f },
                                  { "On", 0.0f, 1.0f, 1.0f, true }, { "F2", 12.0f, 20000.0f, 20.0f },
                                  { "R2", -40.0f, 40.0f, 0.0f }, { "On2", 0.0f, 1.0f, 0.0f, true } });
    DoubleFilterContainer resonant(wide.record("F"), wide.record("R"), wide.record("On"), wide.record("F2"),
                                   wide.record("R2"), wide.record("On2"), "");
    resonant.setBounds(0, 0, 440, 224);
    resonant.attach(wide.parameters);
    render(resonant, "double-filter-resonant");
    EXPECT_EQ(resonant.getLowPassLabel().getText(), "1000 Hz\n24.0 dB");
    EXPECT_EQ(resonant.getHighPassLabel().getText(), "20 Hz\n0.0 dB");
    float top = 1000.0f;
    float bottom = -1000.0f;
    juce::Path::Iterator it(resonant.getCurve());
    while (it.next())
        if (it.elementType == juce::Path::Iterator::lineTo && it.x1 < 440.0f)
        {
            top = std::min(top, it.y1);
            bottom = std::max(bottom, it.y1);
        }
    EXPECT_FLOAT_EQ(top, static_cast<float>(yOfDb(23.0)));
    EXPECT_FLOAT_EQ(bottom, static_cast<float>(yOfDb(-23.0)));
}

TEST_F(Filters, FillsBelowTheCurveInTheMainColour)
{
    filters.setMainColor(Zorvik::mauve);
    processor.set("HPFrequency", 12.0f);
    processor.set("LPFrequency", 20000.0f);
    filters.timerCallback();
    const auto image = render(filters, "double-filter");
    // Flat at 0 dB (y = 124) in the middle: below the line the main colour fading from
    // opaque at half height (y = 112) to 40 % at the bottom, background above it; the
    // frame is white.
    const auto fill = [](float y) { return over(Zorvik::background, Zorvik::mauve, 1.0f - 0.6f * (y - 112.0f) / 112.0f); };
    EXPECT_TRUE(near(image.getPixelAt(200, 130), fill(130.5f), 4));
    EXPECT_TRUE(near(image.getPixelAt(200, 200), fill(200.5f), 4));
    EXPECT_TRUE(near(image.getPixelAt(200, 110), Zorvik::background));
    EXPECT_TRUE(near(image.getPixelAt(0, 150), juce::Colours::white));
}

TEST(FurtherControlsWithoutParameters, BindNothingAndStillDrawAndTakePresses)
{
    TestProcessor processor({ { "F", 12.0f, 20000.0f, 1000.0f } });
    DoubleFilterContainer filters(processor.record("F"), nullptr, nullptr, nullptr, nullptr, nullptr, "");
    DoubleSliderContainer band(nullptr, processor.record("F"), "", {});
    TimeStopXYControlContainer pad(nullptr, nullptr, nullptr, "");
    for (UIContainer* c : std::initializer_list<UIContainer*> { &filters, &band, &pad })
    {
        c->setBounds(0, 0, 120, 80);
        c->attach(processor.parameters);
        c->mouseDown(mouseEvent(*c, { 60.0f, 50.0f }));
        c->mouseUp(mouseEvent(*c, { 70.0f, 50.0f }));
        render(*c, "no-parameters");
    }
    EXPECT_FLOAT_EQ(processor.plain("F"), 1000.0f);
    EXPECT_EQ(pad.triggerValue(), 0.0f);
}
