#include "TestProcessor.h"
#include "UI/Controls/CurveSequencer/CurveSequencerContainer.h"
#include "UiTestSupport.h"

#include <cmath>

using namespace UiTest;

namespace
{
    // A 320 x 224 sequencer: a title strip of 24, a grid of 320 x 200 below it with
    // columns of 20 pixels, the footer line at grid y 176 (window y 200). Attached, and
    // the first reports of its steps delivered.
    struct SequencerTest : ::testing::Test
    {
        SequencerTest()
        {
            sequencer = make(processor.parameters);
            tick();
        }
        std::unique_ptr<CurveSequencerContainer> make(juce::AudioProcessorValueTreeState& state)
        {
            auto list = processor.allRecords();
            auto s = std::make_unique<CurveSequencerContainer>(list[0], std::vector<Parameter*>(list.begin() + 1, list.end()),
                                                               "Steps");
            s->setBounds(0, 0, 320, 224);
            s->attach(state);
            return s;
        }
        void tick()
        {
            for (int i = 0; i < 16; ++i)
                sequencer->getStep(i).timerCallback();
        }
        static std::string step(int i) { return "Step" + std::to_string(i); }
        static std::string curve(int i) { return "Curve" + std::to_string(i); }
        CurveSequencerGrid& grid() { return sequencer->getGrid(); }
        // Presses, drags and releases on the grid, in grid coordinates.
        using Mods = juce::ModifierKeys;
        void press(float x, float y, Mods m = Mods::leftButtonModifier) { grid().mouseDown(mouseEvent(grid(), { x, y }, m)); }
        void drag(float x, float y, Mods m = Mods::leftButtonModifier) { grid().mouseDrag(mouseEvent(grid(), { x, y }, m)); }
        void release(float x, float y, Mods m = Mods::leftButtonModifier) { grid().mouseUp(mouseEvent(grid(), { x, y }, m)); }
        // Grid y of a level (0 at the footer line, 1 at the top).
        static float yForLevel(float level) { return 176.0f * (1.0f - level); }
        bool background(const juce::Image& image, int x, int y) { return near(image.getPixelAt(x, y), Zorvik::background, 6); }

        TestProcessor processor { sequencerSteps(1, 4) };
        std::unique_ptr<CurveSequencerContainer> sequencer;
    };

    bool anyNear(const juce::Image& image, juce::Rectangle<int> area, juce::Colour colour, int tolerance = 70)
    {
        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                if (near(image.getPixelAt(x, y), colour, tolerance))
                    return true;
        return false;
    }
}

TEST(CurveSequencerShape, SegmentsRunFromStartToEndLevelWithTheHalfCosineEase)
{
    // Value 0.3, next step at 0.8, in a 40 x 100 shape; mode 9 is no mode and holds.
    struct Case { int mode; double start; double end; };
    for (const auto c : { Case { 0, 0.3, 0.3 }, Case { 1, 0.3, 0.8 }, Case { 2, 0.3, 1.0 }, Case { 3, 1.0, 0.3 },
                          Case { 4, 0.3, 0.8 }, Case { 9, 0.3, 0.3 } })
    {
        const auto path = CurveSequencerStep::segment(c.mode, 0.3f, 0.8f, 40.0f, 100.0f);
        juce::PathFlatteningIterator it(path);
        int points = 0;
        while (it.next())
            for (const auto p : { juce::Point<float>(it.x1, it.y1), juce::Point<float>(it.x2, it.y2) })
            {
                const double t = p.x / 40.0;
                const double e = c.mode == 4 ? (1.0 - std::cos(M_PI * t)) / 2.0 : t;
                EXPECT_NEAR(p.y, 100.0 * (1.0 - (c.start + (c.end - c.start) * e)), 0.5) << c.mode << " " << p.x;
                ++points;
            }
        EXPECT_GE(points, c.mode == 4 ? 40 : 2);
    }
}

TEST_F(SequencerTest, EachStepLeadsIntoTheNextAndTheLastBackToTheFirst)
{
    // Host values reach the steps; the step before a mode 3 step ends at 1.
    processor.set(step(5), 0.25f);
    processor.set(curve(5), 3.0f);
    processor.set(step(6), 0.75f);
    processor.set(step(0), 0.125f);
    tick();
    EXPECT_EQ(sequencer->getStep(5).getFooter().getCurveMode(), 3);
    EXPECT_FLOAT_EQ(sequencer->getStep(4).getNextValue(), 1.0f);
    EXPECT_FLOAT_EQ(sequencer->getStep(5).getNextValue(), 0.75f);
    EXPECT_FLOAT_EQ(sequencer->getStep(15).getNextValue(), 0.125f);

    // A sequence of four: step 3 leads back to step 0.
    processor.set(step(0), 0.1f);
    processor.set(curve(3), 1.0f);
    sequencer->setSequencerLength(4);
    tick();
    EXPECT_FLOAT_EQ(sequencer->getStep(3).getNextValue(), 0.1f);
    // Steps beyond the sequence lie past the right edge and lead into nothing.
    EXPECT_EQ(sequencer->getStep(3).getBounds(), juce::Rectangle<int>(240, 24, 80, 200));
    EXPECT_GE(sequencer->getStep(4).getX(), 320);
    processor.set(step(4), 0.9f);
    tick();
    EXPECT_FLOAT_EQ(sequencer->getStep(3).getNextValue(), 0.1f);

    // Four columns: grid lines at x 80, 160 and 240, none at 40. Step 3 ramps from 0.5
    // down to 0.1: near its right end level 0.3 lies above its line, in step 2 below.
    const auto image = render(*sequencer, "sequencer-length-4");
    for (const int x : { 80, 160, 240 })
        EXPECT_TRUE(anyNear(image, { x - 1, 44, 2, 1 }, juce::Colours::white, 120)) << x;
    EXPECT_FALSE(anyNear(image, { 39, 44, 2, 1 }, juce::Colours::white, 120));
    EXPECT_TRUE(background(image, 310, 24 + 123));
    EXPECT_FALSE(background(image, 230, 24 + 123));

    sequencer->setSequencerLength(0);
    EXPECT_EQ(grid().getLength(), 1);
    sequencer->setSequencerLength(99);
    EXPECT_EQ(sequencer->getSequencerLength(), 16);
}

TEST_F(SequencerTest, StepsAreColouredInGroupsSetByTheResolution)
{
    const auto a = Zorvik::green;
    const auto b = Zorvik::green.darker(0.3f);
    sequencer->setMainColor(a);
    struct Case { float resolution; int group; };
    for (const auto c : { Case { 1.0f, 1 }, Case { 0.5f, 2 }, Case { 0.25f, 1 }, Case { 0.125f, 2 }, Case { 3.0f, 3 },
                          Case { 0.01f, 1 }, Case { 0.0f, 1 }, Case { std::nanf(""), 1 }, Case { 1.0e30f, 16 } })
    {
        sequencer->setResolution(c.resolution);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(sequencer->getStep(i).getColour(), (i / c.group) % 2 == 0 ? a : b) << c.resolution << " " << i;
    }
}

TEST_F(SequencerTest, DraggingDrawsValuesAndSnapPullsThemOntoTheZoomedGuides)
{
    press(50, 100);
    drag(50, yForLevel(0.3f));
    EXPECT_NEAR(processor.plain(step(2)), 0.3f, 0.01f);
    drag(75, 190); // down into the footer strip: the bottom
    EXPECT_FLOAT_EQ(processor.plain(step(3)), 0.0f);
    release(75, 190);

    sequencer->setSnap(true);
    press(10, 100);
    drag(10, yForLevel(0.7f));
    EXPECT_NEAR(processor.plain(step(0)), 2.0f / 3.0f, 1e-5);
    // Zoomed in by two round 1: "1/2" lies at level 0 and "0" below the footer line.
    sequencer->setAmount(0.5f);
    EXPECT_FLOAT_EQ(grid().displayLevel(0.5f), 0.0f);
    drag(10, yForLevel(0.1f));
    EXPECT_NEAR(processor.plain(step(0)), 0.0f, 1e-5);
    render(*sequencer, "sequencer-zoomed");
    EXPECT_TRUE(grid().getLabel(3).isVisible());
    EXPECT_NEAR(grid().getLabel(3).getY(), 176 - 22, 1);
    EXPECT_FALSE(grid().getLabel(6).isVisible());
    // Zoomed round 1/2: "1/4" lies at level 0, "1/3" at 1/6.
    sequencer->setReferecenceValues(0.5f, 0.0f);
    drag(10, yForLevel(0.1f));
    EXPECT_NEAR(processor.plain(step(0)), 1.0f / 6.0f, 1e-5);

    // Own lines replace the default ones; with none nearer than 1 the value becomes 1.
    sequencer->setReferecenceValues(1.0f, 0.0f);
    sequencer->setAmount(1.0f);
    sequencer->setLines({ { 0.4f, "lo", true, 0.8f } });
    EXPECT_EQ(grid().getLabel(1).getText(), "");
    drag(10, yForLevel(0.1f));
    EXPECT_FLOAT_EQ(processor.plain(step(0)), 0.4f);
    render(*sequencer, "sequencer-own-line");
    EXPECT_NEAR(grid().getLabel(0).getY(), yForLevel(0.4f), 1); // drawn below its line
    sequencer->setLines({});
    drag(10, yForLevel(0.4f));
    EXPECT_FLOAT_EQ(processor.plain(step(0)), 1.0f);
    release(10, yForLevel(0.4f));
}

TEST_F(SequencerTest, FooterClicksCycleModesFooterDragsCopyTheTouchedModeAndRightClicksDoNothing)
{
    const float footer = 190.0f; // below the footer line at 176
    EXPECT_FALSE(grid().isTouchingFooter({ 30, 176 }));
    EXPECT_TRUE(grid().isTouchingFooter({ 30, 177 }));
    processor.set(curve(1), 4.0f);
    tick();
    press(30, footer);
    release(31, footer);
    EXPECT_FLOAT_EQ(processor.plain(curve(1)), 0.0f);
    press(30, footer);
    release(30, footer);
    EXPECT_FLOAT_EQ(processor.plain(curve(1)), 1.0f);

    press(30, footer);
    for (const float x : { 50.0f, 70.0f, 90.0f })
        drag(x, footer);
    release(90, footer); // over another step than the pressed one: nothing cycles
    for (int i = 1; i <= 5; ++i)
        EXPECT_FLOAT_EQ(processor.plain(curve(i)), i <= 4 ? 1.0f : 0.0f) << i;
    EXPECT_FLOAT_EQ(processor.plain(step(3)), 0.5f);

    const auto right = juce::ModifierKeys::rightButtonModifier;
    for (const float y : { 100.0f, footer })
    {
        press(110, y, right);
        drag(110, 10, right);
        release(110, y, right);
    }
    EXPECT_FLOAT_EQ(processor.plain(step(5)), 0.5f);
    EXPECT_FLOAT_EQ(processor.plain(curve(5)), 0.0f);
}

TEST_F(SequencerTest, ABlinkFadesOverItsLengthAndWaitsForValueReports)
{
    auto& s = sequencer->getStep(5);
    sequencer->setResolution(4.0f);
    sequencer->blinkStep(5); // 12 / 4 = 3 ticks
    std::vector<float> alphas;
    while (s.isBlinking() && alphas.size() < 10)
    {
        s.timerCallback();
        alphas.push_back(s.getBlinkAlpha());
        if (alphas.size() == 1) // the whole step veiled in white, its neighbour not
        {
            const auto image = render(*sequencer, "sequencer-blink");
            EXPECT_TRUE(near(image.getPixelAt(110, 40), Zorvik::background.interpolatedWith(juce::Colours::white, 0.8f)));
            EXPECT_TRUE(background(image, 90, 40));
        }
    }
    const std::vector<float> expected { 0.8f, 0.8f * 2.0f / 3.0f, 0.8f / 3.0f, 0.0f, 0.0f };
    ASSERT_EQ(alphas.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(alphas[i], expected[i], 1e-6) << i;

    // A change while blinking is reported first; the blink goes on in the tick after.
    sequencer->blinkStep(5);
    s.timerCallback();
    processor.set(step(5), 0.2f);
    s.timerCallback();
    EXPECT_NEAR(s.getBlinkAlpha(), 0.8f, 1e-6);
    s.timerCallback();
    EXPECT_NEAR(s.getBlinkAlpha(), 0.8f * 2.0f / 3.0f, 1e-6);
    // Blinking again keeps the running count: the longer blink (12 ticks) goes on from there.
    sequencer->setResolution(1.0f);
    sequencer->blinkStep(5);
    int ticks = 0;
    while (s.isBlinking() && ticks < 40)
        s.timerCallback(), ++ticks;
    EXPECT_EQ(ticks, 12);
}

TEST_F(SequencerTest, StepsDrawTheirSegmentFillRangeAndFooterInTheStepColour)
{
    sequencer->setMainColor(Zorvik::orange);
    sequencer->setResolution(16.0f);
    for (int mode = 1; mode <= 4; ++mode)
        processor.set(curve(mode), static_cast<float>(mode == 1 ? 4 : mode));
    tick();
    const auto image = render(*sequencer, "sequencer");
    // Step 0 spans x 0..19; its line at level 0.5 lies at y 24 + 88, the fill below it.
    EXPECT_TRUE(near(image.getPixelAt(5, 24 + 88), Zorvik::orange, 40));
    EXPECT_FALSE(background(image, 5, 24 + 140));
    EXPECT_TRUE(background(image, 5, 24 + 40));
    // The footer strip (y 200..223) is filled with the step colour and shows the mode
    // glyph in white, within a quarter of the strip's height from its top and bottom
    // (y 206 to 218) and 10 pixels wide in the middle of the step.
    EXPECT_TRUE(near(image.getPixelAt(2, 203), Zorvik::orange, 3));
    struct Glyph { int step; juce::Point<int> lit, dark; };
    for (const auto c : { Glyph { 0, { 10, 206 }, { 10, 212 } },   // held: across the top
                          Glyph { 1, { 30, 211 }, { 28, 206 } },   // eased: through the middle
                          Glyph { 2, { 45, 217 }, { 45, 207 } },   // up: from the bottom left
                          Glyph { 3, { 65, 207 }, { 65, 217 } } }) // down: from the top left
    {
        const auto around = [](juce::Point<int> p) { return juce::Rectangle<int>(p.x - 1, p.y - 1, 3, 3); };
        EXPECT_TRUE(anyNear(image, around(c.lit), juce::Colours::white)) << c.step;
        EXPECT_FALSE(anyNear(image, around(c.dark), juce::Colours::white)) << c.step;
    }

    // Randomness draws a bar round the value across that share of the shape's height.
    sequencer->setRandomness(0.5f);
    const auto ranged = render(*sequencer, "sequencer-range");
    EXPECT_FALSE(background(ranged, 10, 24 + 60));
    EXPECT_TRUE(background(ranged, 10, 24 + 30));

    // A step reference of 1 fills from the line up to the top.
    sequencer->setRandomness(0.0f);
    sequencer->setReferecenceValues(1.0f, 1.0f);
    const auto filledUp = render(*sequencer, "sequencer-reference");
    EXPECT_FALSE(background(filledUp, 5, 24 + 40));
    EXPECT_TRUE(background(filledUp, 5, 24 + 140));

    // Grey: the line and the footer dimmed to a fifth of the colour.
    sequencer->setIsGrey(true);
    const auto grey = render(*sequencer, "sequencer-grey");
    EXPECT_TRUE(near(grey.getPixelAt(2, 203), Zorvik::background.interpolatedWith(Zorvik::orange, 0.2f), 4));
    EXPECT_FALSE(near(grey.getPixelAt(5, 24 + 88), Zorvik::orange, 40));
}

TEST_F(SequencerTest, HostileSettingsValuesAndParametersAreTakenSafely)
{
    const float nan = std::nanf("");
    sequencer->setAmount(nan);
    sequencer->setReferecenceValues(nan, INFINITY);
    sequencer->setRandomness(1.0e30f);
    sequencer->setLines({ { nan, "x" }, { 1.0e30f, "y" }, { -1.0e30f, "z", true, 2.0f } });
    sequencer->blinkStep(-1);
    sequencer->blinkStep(16);
    sequencer->getStep(0).setValue(nan);
    EXPECT_FLOAT_EQ(processor.plain(step(0)), 0.0f);
    render(*sequencer, "sequencer-hostile");

    // A value far above the range fills its step from the footer line to the top.
    sequencer->setRandomness(0.0f);
    sequencer->setReferecenceValues(1.0f, 0.0f);
    sequencer->getStep(2).parameterChanged("Step2", 1.0e30f);
    const auto image = render(*sequencer, "sequencer-huge-value");
    for (const int y : { 24 + 2, 24 + 88, 24 + 170 })
        EXPECT_FALSE(background(image, 50, y)) << y;

    // Without a size, and attached to a state without its parameters, nothing fails and
    // a drag changes the drawing only.
    sequencer->setBounds(0, 0, 0, 0);
    press(0, 0);
    drag(10, 10);
    TestProcessor other({ { "Unrelated", 0, 1, 0 } });
    sequencer = make(other.parameters);
    press(10, 100);
    drag(10, yForLevel(0.3f));
    EXPECT_NEAR(sequencer->getStep(0).getValue(), 0.3f, 0.01f);
    EXPECT_FLOAT_EQ(processor.plain(step(0)), 0.0f);

    auto list = processor.allRecords();
    EXPECT_THROW(CurveSequencerContainer(list[0], std::vector<Parameter*>(list.begin() + 1, list.end() - 1), ""),
                 std::out_of_range);
    list[20] = nullptr;
    EXPECT_THROW(CurveSequencerContainer(list[0], std::vector<Parameter*>(list.begin() + 1, list.end()), ""),
                 std::invalid_argument);
}
