#include "TestProcessor.h"
#include "UI/Controls/Phaser/PhaserViewContainer.h"
#include "UiTestSupport.h"

#include <cmath>

using namespace UiTest;

namespace
{
    const float notANumber = std::nanf("");

    // A 250 x 100 phaser view (notes 13 to 138, two pixels per semitone) whose drag
    // moves "Frequency" (20 Hz to 20 kHz).
    struct PhaserViewTest : ::testing::Test
    {
        PhaserViewTest()
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
        // The pixel column that a 1-px line at a frequency covers at least half of.
        static int column(double f)
        {
            return static_cast<int>(250.0 * (12.0 * std::log2(f / 440.0) + 69.0 - 13.0) / 125.0);
        }

        TestProcessor processor { { { "Mix", 0.0f, 1.0f, 0.5f }, { "Frequency", 20.0f, 20000.0f, 440.0f } } };
        PhaserViewContainer phaser { processor.record("Mix"), processor.record("Frequency"), "" };
    };
}

TEST(PhaserViewMathsTest, NotchesSpreadSymmetricallyRoundTheCentreNoteOnTheNoteScale)
{
    EXPECT_FLOAT_EQ(PhaserViewContainer::notchNote(0, 1, 69.0f, 30.0f), 69.0f);
    const double offset = 1.3 * std::atanh(0.5) / std::pow(10.0, 6.0 * 0.04); // spread 30: k = 10^0.24
    EXPECT_NEAR(PhaserViewContainer::notchNote(0, 2, 69.0f, 30.0f), 69.0 + offset, 1e-4);
    EXPECT_NEAR(PhaserViewContainer::notchNote(1, 2, 69.0f, 30.0f), 69.0 - offset, 1e-4);
    // Twenty-five more spread units draw the row ten times closer together.
    EXPECT_NEAR(PhaserViewContainer::notchNote(0, 2, 69.0f, 55.0f) - 69.0, offset / 10.0, 1e-4);

    // Note 0 is 8.175799 Hz; the scale's ends give 0 Hz and the largest frequency.
    EXPECT_NEAR(PhaserViewContainer::noteForFrequency(8.175799f), 0.0f, 1e-4f);
    EXPECT_FLOAT_EQ(PhaserViewContainer::noteForFrequency(0.0f), -1500.0f);
    EXPECT_FLOAT_EQ(PhaserViewContainer::frequencyForNote(-1500.0f), 0.0f);
    EXPECT_FLOAT_EQ(PhaserViewContainer::frequencyForNote(2000.0f), 3.282408e38f);
    EXPECT_FLOAT_EQ(PhaserViewContainer::frequencyForNote(notANumber), 0.0f);
}

TEST_F(PhaserViewTest, ANotchAtNoteSixtyNineSitsAt440HzOnEachSide)
{
    const float centres[] = { 69.0f, 69.0f };
    const float spreads[] = { 24.0f, 24.0f };
    phaser.setValues(centres, spreads);
    phaser.setFeedback(-100.0f);
    const auto bars = phaser.notchRectangles(250.0f, 100.0f);
    ASSERT_EQ(bars.getNumRectangles(), 2); // 5 px wide round x = 250 x 56 / 125 = 112
    EXPECT_EQ(bars.getRectangle(0), juce::Rectangle<float>(109.5f, 0.0f, 5.0f, 50.0f));
    EXPECT_EQ(bars.getRectangle(1), juce::Rectangle<float>(109.5f, 50.0f, 5.0f, 50.0f));

    auto image = render(phaser, "phaser");
    // Near x = 112 the gradient runs from green (at 0.4 of the width) towards yellow.
    for (const int y : { 30, 70 })
        EXPECT_TRUE(image.getPixelAt(112, y).getGreen() > 150 && near(image.getPixelAt(150, y), Zorvik::background))
            << y;
    // The grid marks 60, 600 and 6000 Hz but not 70, 700 or 7000 Hz, and 1000 Hz brighter than 900 Hz.
    for (const double f : { 60.0, 600.0, 6000.0 })
        EXPECT_TRUE(image.getPixelAt(column(f), 40).getRed() > Zorvik::background.getRed() + 5
                    && near(image.getPixelAt(column(f * 7.0 / 6.0), 40), Zorvik::background, 1)) << f;
    EXPECT_GT(image.getPixelAt(column(1000.0), 40).getRed(), image.getPixelAt(column(900.0), 40).getRed());
    phaser.setNotchesCount(2);
    EXPECT_EQ(phaser.notchRectangles(250.0f, 100.0f).getNumRectangles(), 4);
    phaser.setDepth(50.0f);
    EXPECT_FLOAT_EQ(phaser.getDepth(), 0.5f);
    phaser.setDepth(0.0f);
    EXPECT_TRUE(near(render(phaser, "phaser-depth-zero").getPixelAt(112, 30), Zorvik::background));
}

TEST_F(PhaserViewTest, AFullWidthOfDragMoves127Semitones)
{
    const auto shifted = [](double f, double dx) { return f * std::pow(2.0, 127.0 * dx / 250.0 / 12.0); };
    dragBy(47.0f);
    EXPECT_NEAR(processor.plain("Frequency"), shifted(440.0, 47.0), 0.5);
    dragBy(5000.0f);
    EXPECT_FLOAT_EQ(processor.plain("Frequency"), 20000.0f);
    dragBy(-100.0f, juce::ModifierKeys::rightButtonModifier);
    EXPECT_FLOAT_EQ(processor.plain("Frequency"), 20000.0f);
}

TEST_F(PhaserViewTest, HostileValuesDrawNoNotchAndNoFailure)
{
    const float centres[] = { notANumber, INFINITY };
    const float spreads[] = { -1.0e30f, 1.0e30f };
    phaser.setValues(centres, spreads);
    phaser.setNotchesCount(1000000);
    EXPECT_EQ(phaser.getNotchesCount(), PhaserViewContainer::maxNotches);
    for (const float value : { notANumber, 1.0e30f, -50.0f })
    {
        phaser.setFeedback(value);
        phaser.setDepth(value);
        EXPECT_TRUE(phaser.getNotchWidth() <= 100.0f && phaser.getDepth() >= 0.0f && phaser.getDepth() <= 1.0f);
    }
    EXPECT_TRUE(phaser.notchRectangles(250.0f, 100.0f).isEmpty());
    render(phaser, "phaser-hostile");
    phaser.setNotchesCount(-3);
    EXPECT_EQ(phaser.getNotchesCount(), 0);
    phaser.setValues(nullptr, spreads);
    EXPECT_TRUE(phaser.notchRectangles(250.0f, 100.0f).isEmpty());
}
