#include "UI/Controls/CurveSequencer/CurveSequencerContainer.h"
#include "UiTestSupport.h"
#include "TestProcessor.h"

#include <cmath>

using namespace UiTest;

namespace
{
    std::vector<TestProcessor::Spec> sequencerSpecs()
    {
        std::vector<TestProcessor::Spec> specs;
        for (int i = 0; i < 16; ++i)
            specs.push_back({ "Step" + std::to_string(i), 0.0f, 1.0f, 0.5f });
        for (int i = 0; i < 16; ++i)
            specs.push_back({ "Curve" + std::to_string(i), 0.0f, 4.0f, 0.0f });
        return specs;
    }

    // A 320 x 224 sequencer (a 200-pixel grid below the title; the footer line at 176),
    // attached and with the first reports of its steps delivered.
    struct SequencerTest : ::testing::Test
    {
        SequencerTest()
        {
            auto list = processor.allRecords();
            sequencer = std::make_unique<CurveSequencerContainer>(list[0], std::vector<Parameter*>(list.begin() + 1, list.end()),
                                                                  "Steps");
            sequencer->setBounds(0, 0, 320, 224);
            sequencer->attach(processor.parameters);
            tick();
        }
        void tick()
        {
            for (int i = 0; i < 16; ++i)
                sequencer->getStep(i).timerCallback();
        }
        std::string step(int i) { return "Step" + std::to_string(i); }
        std::string curve(int i) { return "Curve" + std::to_string(i); }
        CurveSequencerGrid& grid() { return sequencer->getGrid(); }
        // Grid coordinates: columns of 20 pixels, levels 0..1 over 176 pixels.
        void press(float x, float y, juce::ModifierKeys mods = juce::ModifierKeys::leftButtonModifier)
        {
            grid().mouseDown(mouseEvent(grid(), { x, y }, mods));
        }
        void drag(float x, float y, juce::ModifierKeys mods = juce::ModifierKeys::leftButtonModifier)
        {
            grid().mouseDrag(mouseEvent(grid(), { x, y }, mods));
        }
        void release(float x, float y, juce::ModifierKeys mods = juce::ModifierKeys::leftButtonModifier)
        {
            grid().mouseUp(mouseEvent(grid(), { x, y }, mods));
        }
        static float yForLevel(float level) { return 176.0f * (1.0f - level); }

        TestProcessor processor { sequencerSpecs() };
        std::unique_ptr<CurveSequencerContainer> sequencer;
    };

    // The y of a path at x, read from its flattened points (the segments run left to right).
    float pathY(const juce::Path& path, float x)
    {
        juce::PathFlatteningIterator it(path);
        while (it.next())
            if (x >= std::min(it.x1, it.x2) && x <= std::max(it.x1, it.x2) && it.x1 != it.x2)
                return it.y1 + (it.y2 - it.y1) * (x - it.x1) / (it.x2 - it.x1);
        return std::nanf("");
    }
}

TEST(CurveSequencerMaths, SegmentsRunFromStartToEndLevelWithTheHalfCosineEase)
{
    const float w = 40.0f;
    const float h = 100.0f;
    struct Case { int mode; double start; double end; };
    for (const auto c : { Case { 0, 0.3, 0.3 }, Case { 1, 0.3, 0.8 }, Case { 2, 0.3, 1.0 }, Case { 3, 1.0, 0.3 },
                          Case { 4, 0.3, 0.8 } })
    {
        const auto path = CurveSequencerStep::segment(c.mode, 0.3f, 0.8f, w, h);
        for (const double x : { 0.5, 10.0, 20.0, 30.0, 39.5 })
        {
            const double t = x / w;
            const double e = c.mode == 4 ? (1.0 - std::cos(M_PI * t)) / 2.0 : t;
            const double level = c.start + (c.end - c.start) * e;
            EXPECT_NEAR(pathY(path, static_cast<float>(x)), h * (1.0 - level), 0.5) << "mode " << c.mode << " x " << x;
        }
    }
}

TEST(CurveSequencerMaths, ColourGroupsStayWithinTheSequenceForAnyResolution)
{
    for (const float hostile : { 0.0f, -1.0f, 0.01f, std::nanf(""), INFINITY, 1.0e30f })
    {
        const int n = CurveSequencerContainer::groupSize(hostile);
        EXPECT_GE(n, 1);
        EXPECT_LE(n, 16);
    }
}

TEST(CurveSequencerParameters, FewerThanThirtyTwoOrMissingParametersAreRefused)
{
    TestProcessor processor(sequencerSpecs());
    auto list = processor.allRecords();
    EXPECT_THROW(CurveSequencerContainer(list[0], std::vector<Parameter*>(list.begin() + 1, list.end() - 1), ""),
                 std::out_of_range);
    auto withHole = std::vector<Parameter*>(list.begin() + 1, list.end());
    withHole[20] = nullptr;
    EXPECT_THROW(CurveSequencerContainer(list[0], withHole, ""), std::invalid_argument);
}

TEST_F(SequencerTest, HostValuesAndModesReachTheStepsAndTheirNeighbours)
{
    processor.set(step(2), 0.25f);
    processor.set(curve(2), 3.0f);
    processor.set(step(3), 0.75f);
    tick();
    EXPECT_FLOAT_EQ(sequencer->getStep(2).getValue(), 0.25f);
    EXPECT_EQ(sequencer->getStep(2).getCurveMode(), 3);
    EXPECT_EQ(sequencer->getStep(2).getFooter().getCurveMode(), 3);
    // A step in mode 3 starts at 1, so the segment before it ends at 1.
    EXPECT_FLOAT_EQ(sequencer->getStep(1).getNextValue(), 1.0f);
    EXPECT_FLOAT_EQ(sequencer->getStep(2).getNextValue(), 0.75f);

    // In a sequence of four the last step leads back to the first; steps beyond it lie
    // past the right edge.
    processor.set(step(0), 0.1f);
    sequencer->setSequencerLength(4);
    tick();
    EXPECT_FLOAT_EQ(sequencer->getStep(3).getNextValue(), 0.1f);
    EXPECT_GE(sequencer->getStep(4).getX(), 320);
    sequencer->setSequencerLength(0);
    EXPECT_EQ(sequencer->getSequencerLength(), 1);
    sequencer->setSequencerLength(99);
    EXPECT_EQ(sequencer->getSequencerLength(), 16);
}

TEST_F(SequencerTest, DraggingDrawsValuesAndSnapPullsThemOntoGuides)
{
    press(50.0f, 100.0f);
    drag(50.0f, yForLevel(0.3f));
    EXPECT_NEAR(processor.plain(step(2)), 0.3f, 0.01f);
    drag(75.0f, yForLevel(0.6f));
    EXPECT_NEAR(processor.plain(step(3)), 0.6f, 0.01f);
    drag(75.0f, -40.0f);
    EXPECT_FLOAT_EQ(processor.plain(step(3)), 1.0f);
    release(75.0f, -40.0f);

    sequencer->setSnap(true);
    press(10.0f, 100.0f);
    drag(10.0f, yForLevel(0.7f));
    EXPECT_NEAR(processor.plain(step(0)), 2.0f / 3.0f, 1e-5);

    // Zoomed in by two round 1: "1/2" lies at level 0 and "0" below the footer line.
    sequencer->setAmount(0.5f);
    drag(10.0f, yForLevel(0.1f));
    EXPECT_NEAR(processor.plain(step(0)), 0.0f, 1e-5);

    // With no guide line nearer than 1 the value becomes 1.
    sequencer->setLines({});
    drag(10.0f, yForLevel(0.4f));
    EXPECT_FLOAT_EQ(processor.plain(step(0)), 1.0f);
}

TEST_F(SequencerTest, FooterClicksCycleModesAndFooterDragsCopyTheTouchedMode)
{
    const float footer = 190.0f;
    processor.set(curve(1), 4.0f);
    tick();
    press(30.0f, footer);
    release(31.0f, footer);
    EXPECT_FLOAT_EQ(processor.plain(curve(1)), 0.0f);
    press(30.0f, footer);
    release(30.0f, footer);
    EXPECT_FLOAT_EQ(processor.plain(curve(1)), 1.0f);

    press(30.0f, footer);
    drag(50.0f, footer);
    drag(70.0f, footer);
    drag(90.0f, footer);
    release(90.0f, footer);
    for (int i = 1; i <= 4; ++i)
        EXPECT_FLOAT_EQ(processor.plain(curve(i)), 1.0f) << i;
    EXPECT_FLOAT_EQ(processor.plain(curve(5)), 0.0f);
    // Releasing over another step than the pressed one does not cycle.
    EXPECT_EQ(sequencer->getStep(1).getCurveMode(), 1);
}

TEST_F(SequencerTest, RightClicksChangeNothing)
{
    const auto right = juce::ModifierKeys::rightButtonModifier;
    press(50.0f, 100.0f, right);
    drag(50.0f, yForLevel(0.9f), right);
    release(50.0f, yForLevel(0.9f), right);
    press(50.0f, 190.0f, right);
    release(50.0f, 190.0f, right);
    EXPECT_FLOAT_EQ(processor.plain(step(2)), 0.5f);
    EXPECT_FLOAT_EQ(processor.plain(curve(2)), 0.0f);
}

TEST_F(SequencerTest, StepsDrawTheirSegmentAndFillInTheStepColour)
{
    sequencer->setMainColor(Zorvik::orange);
    sequencer->setResolution(16.0f);
    processor.set(step(0), 0.5f);
    tick();
    const auto image = render(*sequencer, "sequencer");
    // Step 0 spans x 0..19; its line at level 0.5 lies at y 24 + 88.
    EXPECT_TRUE(near(image.getPixelAt(5, 24 + 88), Zorvik::orange, 40));
    // Below the line, the fill in the step colour; above it, the background.
    EXPECT_FALSE(near(image.getPixelAt(5, 24 + 140), Zorvik::background, 6));
    EXPECT_TRUE(near(image.getPixelAt(5, 24 + 40), Zorvik::background, 3));
    // The footer strip is filled with the step colour.
    EXPECT_TRUE(near(image.getPixelAt(3, 24 + 182), Zorvik::orange, 3));
}

TEST_F(SequencerTest, HostileSettingsDrawWithoutFailure)
{
    const float nan = std::nanf("");
    sequencer->setAmount(nan);
    sequencer->setReferecenceValues(nan, INFINITY);
    sequencer->setRandomness(1.0e30f);
    sequencer->setResolution(nan);
    sequencer->setLines({ { nan, "x" }, { 1.0e30f, "y" }, { -1.0e30f, "z", true, 2.0f } });
    sequencer->getStep(0).setValue(nan);
    EXPECT_FLOAT_EQ(sequencer->getStep(0).getValue(), 0.0f);
    EXPECT_EQ(CurveSequencerStepFooter::modeForValue(std::nanf("")), 0);
    EXPECT_EQ(CurveSequencerStepFooter::modeForValue(9.0f), 9);
    render(*sequencer, "sequencer-hostile");
    sequencer->setBounds(0, 0, 0, 0);
    paintDirect(grid());
    paintDirect(sequencer->getStep(0));
    press(0.0f, 0.0f);
    drag(10.0f, 10.0f);
    release(10.0f, 10.0f);
}
