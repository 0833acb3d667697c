#include "TestProcessor.h"
#include "UI/Controls/CurveSequencer/CurveSequencerContainer.h"
#include "UI/Controls/DropdownList/DropdownListContainer.h"
#include "UiTestSupport.h"

using namespace UiTest;

TEST(ControlValueTest, SequencerStepsReadAndWritePlainValuesAndDrawUnknownModesHeld)
{
    // Steps whose values run from 0 to 2 and whose modes from 0 to 8, so that plain
    // and normalised values differ and some modes are no mode at all.
    TestProcessor processor(sequencerSteps(2, 8));
    auto list = processor.allRecords();
    CurveSequencerContainer sequencer(list[0], std::vector<Parameter*>(list.begin() + 1, list.end()), "");
    sequencer.setBounds(0, 0, 320, 224);
    sequencer.attach(processor.parameters);
    auto& step = sequencer.getStep(0);
    EXPECT_FLOAT_EQ(step.getValue(), 0.5f);
    processor.set("Step0", 1.5f);
    EXPECT_FLOAT_EQ(step.getValue(), 1.5f);

    auto& grid = sequencer.getGrid();
    grid.mouseDown(mouseEvent(grid, { 10, 100 }));
    grid.mouseDrag(mouseEvent(grid, { 10, 176 * 0.7f })); // level 0.3
    grid.mouseUp(mouseEvent(grid, { 10, 176 * 0.7f }));
    EXPECT_NEAR(processor.plain("Step0"), 0.3f, 0.01f);

    processor.set("Curve0", 7.0f);
    EXPECT_EQ(step.getCurveMode(), 7);
    EXPECT_TRUE(CurveSequencerStepFooter::glyph(step.getCurveMode(), 20, 24).isEmpty());
    EXPECT_FLOAT_EQ(CurveSequencerStep::levels(step.getCurveMode(), 0.3f, 0.8f).end, 0.3f);
    grid.mouseDown(mouseEvent(grid, { 10, 190 })); // a click on the footer moves on to the first mode
    grid.mouseUp(mouseEvent(grid, { 10, 190 }));
    EXPECT_FLOAT_EQ(processor.plain("Curve0"), 0.0f);
}

TEST(ControlValueTest, ThePreviousArrowStepsDownByOneFromAValueBeyondTheList)
{
    TestProcessor processor({ { "Mode", 0, 5, 3 } });
    DropdownListContainer list(processor.record("Mode"), "", { "A" });
    list.attach(processor.parameters);
    list.onPreviousClick();
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 2.0f);
}

TEST(ControlValueTest, SnappingTakesTheNearestGuideLineAndOneWhenNoneIsNearer)
{
    CurveSequencerGrid grid;
    grid.setSnap(true);
    grid.setLines({ { 0.25f, "", false, 0.4f }, { 0.75f, "", false, 0.4f } });
    EXPECT_FLOAT_EQ(grid.snapped(0.3f), 0.25f);
    EXPECT_FLOAT_EQ(grid.snapped(0.6f), 0.75f);
    EXPECT_FLOAT_EQ(grid.snapped(-0.8f), 1.0f);
}
