#include "UI/Controls/Phaser/PhaserViewContainer.h"
#include "UI/Controls/Waveshaper/WaveshaperViewContainer.h"
#include "UiTestSupport.h"
#include "TestProcessor.h"

#include <cmath>

using namespace UiTest;

namespace
{
    const float notANumber = std::nanf("");

    // A 250 x 100 phaser view whose drag moves "Frequency" (20 Hz to 20 kHz).
    struct PhaserTest : ::testing::Test
    {
        PhaserTest()
        {
            phaser.setBounds(0, 0, 250, 100);
            phaser.attach(processor.parameters);
        }
        void dragBy(float dx, juce::ModifierKeys mods = juce::ModifierKeys::leftButtonModifier)
        {
            phaser.mouseDown(mouseEvent(phaser, { 100.0f, 50.0f }, mods));
            phaser.mouseDrag(mouseEvent(phaser, { 100.0f + dx, 50.0f }, mods));
            phaser.mouseUp(mouseEvent(phaser, { 100.0f + dx, 50.0f }, mods));
        }
        TestProcessor processor { { { "Mix", 0.0f, 1.0f, 0.5f }, { "Frequency", 20.0f, 20000.0f, 440.0f } } };
        PhaserViewContainer phaser { processor.record("Mix"), processor.record("Frequency"), "" };
    };

    // A 320 x 200 waveshaper view (range 1.6: one unit is 100 pixels across, 62.5 up)
    // whose drag moves "Offset" (-200 to 200) and "Rate" (0 to 4).
    struct WaveshaperTest : ::testing::Test
    {
        WaveshaperTest()
        {
            shaper.setBounds(0, 0, 320, 200);
            shaper.attach(processor.parameters);
        }
        TestProcessor processor { { { "Shape", 0.0f, 1.0f, 0.0f }, { "Offset", -200.0f, 200.0f, 0.0f },
                                        { "Rate", 0.0f, 4.0f, 1.0f } } };
        WaveshaperViewContainer shaper { processor.record("Shape"), processor.record("Offset"), processor.record("Rate"), "" };
    };

    double chebyshev(int order, double x) { return std::cos(order * std::acos(x)); }
}

TEST(PhaserMaths, NotesAndFrequenciesFollowTheNoteDomainScale)
{
    for (const double f : { 8.175799, 20.0, 440.0, 1000.0, 20000.0 })
    {
        const double note = 12.0 * std::log2(f / 440.0) + 69.0;
        EXPECT_NEAR(PhaserViewContainer::noteForFrequency(static_cast<float>(f)), note, 1e-3) << f;
        EXPECT_NEAR(PhaserViewContainer::frequencyForNote(static_cast<float>(note)), f, f * 1e-5) << f;
    }
    EXPECT_FLOAT_EQ(PhaserViewContainer::noteForFrequency(0.0f), -1500.0f);
    EXPECT_FLOAT_EQ(PhaserViewContainer::frequencyForNote(-1500.0f), 0.0f);
    EXPECT_FLOAT_EQ(PhaserViewContainer::frequencyForNote(2000.0f), 3.282408e38f);
    EXPECT_FLOAT_EQ(PhaserViewContainer::frequencyForNote(notANumber), 0.0f);
}

TEST_F(PhaserTest, ANotchAtNoteSixtyNineSitsAt440HzAndFillsItsSide)
{
    const float centres[] = { 69.0f, 69.0f };
    const float spreads[] = { 24.0f, 24.0f };
    phaser.setValues(centres, spreads);
    phaser.setFeedback(100.0f);
    const double x = 250.0 * (69.0 - 13.0) / 125.0;  // 112
    EXPECT_NEAR(phaser.xForFrequency(440.0f, 250.0f), x, 1e-3);
    EXPECT_EQ(phaser.notchRectangles(250.0f, 100.0f).getNumRectangles(), 2);

    auto image = render(phaser, "phaser");
    // Near x = 112 the gradient runs between blue (0.4 of the width at 100) and green (at 0.4).
    const auto bar = image.getPixelAt(112, 30);
    EXPECT_FALSE(near(bar, Zorvik::background, 20));
    EXPECT_GT(bar.getGreen(), 150);
    EXPECT_TRUE(near(image.getPixelAt(150, 30), Zorvik::background, 30));

    phaser.setDepth(0.0f);
    image = render(phaser, "phaser-depth-zero");
    EXPECT_TRUE(near(image.getPixelAt(112, 30), Zorvik::background, 30));
}

TEST_F(PhaserTest, AFullWidthOfDragMoves127Semitones)
{
    const auto shifted = [](double f, double dx) { return f * std::pow(2.0, 127.0 * dx / 250.0 / 12.0); };
    dragBy(47.0f);
    EXPECT_NEAR(processor.plain("Frequency"), shifted(440.0, 47.0), 0.5);
    dragBy(-30.0f);
    EXPECT_NEAR(processor.plain("Frequency"), shifted(shifted(440.0, 47.0), -30.0), 0.5);
    dragBy(5000.0f);
    EXPECT_FLOAT_EQ(processor.plain("Frequency"), 20000.0f);
    dragBy(-100.0f, juce::ModifierKeys::rightButtonModifier);
    EXPECT_FLOAT_EQ(processor.plain("Frequency"), 20000.0f);
}

TEST_F(PhaserTest, HostileValuesDrawNoNotchAndNoFailure)
{
    const float centres[] = { notANumber, INFINITY };
    const float spreads[] = { -1.0e30f, 1.0e30f };
    phaser.setValues(centres, spreads);
    phaser.setNotchesCount(1000000);
    EXPECT_EQ(phaser.getNotchesCount(), PhaserViewContainer::maxNotches);
    phaser.setFeedback(notANumber);
    phaser.setDepth(notANumber);
    EXPECT_TRUE(phaser.notchRectangles(250.0f, 100.0f).isEmpty());
    render(phaser, "phaser-hostile");
    phaser.setNotchesCount(-3);
    phaser.setValues(nullptr, spreads);
    render(phaser, "phaser-no-values");
    PhaserViewContainer unattached(processor.record("Mix"), nullptr, "");
    unattached.setBounds(0, 0, 0, 0);
    unattached.mouseDown(mouseEvent(unattached, { 0.0f, 0.0f }));
    unattached.mouseDrag(mouseEvent(unattached, { 10.0f, 0.0f }));
}

TEST(WaveshaperMaths, ShapesInsideTheUnitRangeAndTheirClipping)
{
    using W = WaveshaperViewContainer;
    for (const double x : { -1.0, -0.7, -0.2, 0.0, 0.3, 0.9, 1.0 })
    {
        const float xf = static_cast<float>(x);
        EXPECT_NEAR(W::shape(W::drawHardClip, xf, 1.0f), x, 1e-6);
        EXPECT_NEAR(W::shape(W::drawSoftClip, xf, 1.0f), 1.5 * (x - x * x * x / 3.0), 1e-5);
        EXPECT_NEAR(W::shape(W::drawSinoidFold, xf, 1.0f), std::sin(x * M_PI / 2.0), 1e-5);
        // The polynomials are the Chebyshev polynomials of orders 2 to 5.
        for (int order = 2; order <= 5; ++order)
            EXPECT_NEAR(W::shape(W::drawPolynomialOrder2 + order - 2, xf, 1.0f), chebyshev(order, x), 1e-4) << order;
    }

    for (const float x : { -1.6f, 1.6f })
    {
        const float sign = x < 0.0f ? -1.0f : 1.0f;
        EXPECT_EQ(W::shape(W::drawHardClip, x, 1.0f), sign);
        EXPECT_EQ(W::shape(W::drawSoftClip, x, 1.0f), sign);
        EXPECT_EQ(W::shape(W::drawPolynomialOrder2, x, 1.0f), 1.0f);
        EXPECT_EQ(W::shape(W::drawPolynomialOrder3, x, 1.0f), sign);
        EXPECT_EQ(W::shape(W::drawPolynomialOrder4, x, 1.0f), 1.0f);
        EXPECT_EQ(W::shape(W::drawPolynomialOrder5, x, 1.0f), sign);
    }
    EXPECT_TRUE(std::isnan(W::shape(9, 0.5f, 1.0f)));
    // Without a fold amount the rate changes nothing.
    EXPECT_EQ(W::folded(0.37f, 0.0f, 3.0f), 0.37f);
}

TEST_F(WaveshaperTest, TheCurveFollowsTheSizeWhileTheGridKeepsTheFirst)
{
    shaper.setMainColor(Zorvik::yellow);
    auto image = render(shaper, "waveshaper-hard-clip");
    // Hard clip: the curve runs from (0, 162.5) at -1 to (320, 37.5) at +1, through the centre.
    const auto curve = shaper.getCurvePath().getBounds();
    EXPECT_NEAR(curve.getY(), 100.0f - 62.5f, 0.01f);
    EXPECT_NEAR(curve.getBottom(), 100.0f + 62.5f, 0.01f);
    EXPECT_TRUE(near(image.getPixelAt(160, 100), Zorvik::yellow, 40));
    EXPECT_TRUE(near(image.getPixelAt(200, 75), Zorvik::yellow, 40));
    EXPECT_TRUE(near(image.getPixelAt(10, 162), Zorvik::yellow, 40));
    EXPECT_TRUE(near(image.getPixelAt(130, 50), Zorvik::background, 3));

    const auto grid = shaper.getGridPath().getBounds();
    shaper.setBounds(0, 0, 160, 100);
    render(shaper, "waveshaper-resized");
    EXPECT_EQ(shaper.getGridPath().getBounds(), grid);
    EXPECT_NEAR(shaper.getCurvePath().getBounds().getRight(), 160.0f, 0.01f);
}

TEST_F(WaveshaperTest, DraggingMovesTheFirstParameterByOutputUnitsAndTheSecondByWidths)
{
    const auto left = juce::ModifierKeys::leftButtonModifier;
    shaper.mouseDown(mouseEvent(shaper, { 100.0f, 100.0f }, left));
    shaper.mouseDrag(mouseEvent(shaper, { 180.0f, 100.0f - 75.0f }, left));
    EXPECT_NEAR(processor.plain("Offset"), 120.0f, 0.01f);
    EXPECT_NEAR(processor.plain("Rate"), 1.0f + 80.0f * 1.6f / 320.0f, 1e-3);
    shaper.mouseDrag(mouseEvent(shaper, { 100.0f, 100.0f }, left));
    EXPECT_NEAR(processor.plain("Offset"), 0.0f, 0.5f);
    EXPECT_NEAR(processor.plain("Rate"), 1.0f, 1e-3);
    shaper.mouseUp(mouseEvent(shaper, { 100.0f, 100.0f }, left));

    const auto right = juce::ModifierKeys::rightButtonModifier;
    shaper.mouseDown(mouseEvent(shaper, { 100.0f, 100.0f }, right));
    shaper.mouseDrag(mouseEvent(shaper, { 300.0f, 0.0f }, right));
    EXPECT_NEAR(processor.plain("Offset"), 0.0f, 0.5f);
    EXPECT_NEAR(processor.plain("Rate"), 1.0f, 1e-3);
}

TEST_F(WaveshaperTest, HostileValuesDrawInsideTheView)
{
    for (int algorithm = 0; algorithm <= 9; ++algorithm)
    {
        shaper.setAlgorithm(static_cast<WaveshaperViewContainer::Algorithm>(algorithm));
        for (const float drive : { -0.05f, notANumber, 1.0e30f })
        {
            shaper.setValues(notANumber, 1.0e30f, INFINITY, drive);
            render(shaper, "waveshaper-hostile");
            const auto bounds = shaper.getCurvePath().getBounds();
            EXPECT_TRUE(std::isfinite(bounds.getY()) && std::isfinite(bounds.getBottom()));
            EXPECT_GE(bounds.getY(), -200.0f);
            EXPECT_LE(bounds.getBottom(), 400.0f);
        }
    }
    shaper.setAlgorithm(static_cast<WaveshaperViewContainer::Algorithm>(42));
    render(shaper, "waveshaper-no-algorithm");
    EXPECT_TRUE(shaper.getCurvePath().isEmpty());
}
