#include "TestProcessor.h"
#include "UI/Controls/DropdownList/DropdownListContainer.h"
#include "UiTestSupport.h"

using namespace UiTest;

namespace
{
    // Options "A", "B", "C" for an index parameter of 0..2, in a 200 x 64 container.
    struct Choice : ::testing::Test
    {
        Choice() : list(processor.record("Mode"), "Mode", { "A", "B", "C" })
        {
            list.setBounds(0, 0, 200, 64);
            list.attach(processor.parameters);
        }

        TestProcessor processor { { { "Mode", 0.0f, 2.0f, 0.0f } } };
        DropdownListContainer list;
    };

    using DropdownReverbTest = ProcessorTest;
}

TEST_F(Choice, ArrowsStepAndWrapRoundAtBothEnds)
{
    EXPECT_EQ(list.getLabel().getText(), "A");
    list.getPreviousButton().onClick();
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 2.0f);
    list.getNextButton().onClick();
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 0.0f);
    // A left click on an arrow is a click.
    auto& next = list.getNextButton();
    next.mouseDown(mouseEvent(next, { 10, 10 }));
    next.mouseUp(mouseEvent(next, { 10, 10 }));
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 1.0f);
    list.onPreviousClick();
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 0.0f);
}

TEST_F(Choice, HostValuesAreRoundedAndShownAtTheNextTickWithoutBeingWrittenBack)
{
    processor.set("Mode", 1.6f);
    EXPECT_EQ(list.getCurrentIndex(), 2);
    EXPECT_EQ(list.getLabel().getText(), "A");
    list.timerCallback();
    EXPECT_FALSE(list.getPendingUpdate());
    EXPECT_EQ(list.getLabel().getText(), "C");
    EXPECT_EQ(list.getComboBox().getSelectedId(), 3);
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 1.6f);

    // Choosing in the pop-up writes the index.
    list.getComboBox().setSelectedId(2, juce::sendNotificationSync);
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 1.0f);
    list.timerCallback();
    EXPECT_EQ(list.getLabel().getText(), "B");
}

TEST_F(Choice, RightClicksOnArrowsAndListOnlyOpenTheValueEditorAndLeftPressesOpenThePopUp)
{
    RecordingDelegate delegate;
    list.setDelegate(&delegate);
    auto& box = list.getComboBox();
    for (juce::Component* target : { static_cast<juce::Component*>(&list.getNextButton()),
                                     static_cast<juce::Component*>(&box) })
    {
        target->mouseDown(rightClick(*target, { 10, 10 }));
        target->mouseDrag(rightClick(*target, { 12, 30 }));
        target->mouseUp(rightClick(*target, { 12, 30 }));
    }
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 0.0f);
    EXPECT_FALSE(box.isPopupActive());
    ASSERT_EQ(delegate.calls.size(), 2u);
    for (const auto& call : delegate.calls)
    {
        ASSERT_EQ(call.size(), 1u);
        EXPECT_EQ(call[0].name, "MODE");
        EXPECT_EQ(call[0].parameter, processor.record("Mode"));
    }

    box.mouseDown(mouseEvent(box, { 100, 20 }));
    box.mouseDrag(mouseEvent(box, { 100, 22 }));
    box.mouseUp(mouseEvent(box, { 100, 22 }));
    EXPECT_TRUE(box.isPopupActive());
    EXPECT_EQ(delegate.calls.size(), 2u);
}

TEST_F(Choice, WithoutArrowsTheLabelSpansTheWidth)
{
    EXPECT_EQ(list.getLabel().getX(), list.getPreviousButton().getRight());
    list.useArrows(false);
    EXPECT_FALSE(list.getPreviousButton().isVisible());
    EXPECT_FALSE(list.getNextButton().isVisible());
    EXPECT_EQ(list.getLabel().getX(), 2);
    EXPECT_EQ(list.getLabel().getRight(), 198);
    // Turned on again, room is made at the next layout; hidden arrows stay hidden.
    list.useArrows(true);
    EXPECT_EQ(list.getLabel().getX(), 2);
    list.resized();
    EXPECT_EQ(list.getLabel().getX(), list.getPreviousButton().getRight());
    EXPECT_FALSE(list.getNextButton().isVisible());
}

TEST_F(Choice, ValuesBeyondTheListShowNothingAndAnEmptyListWritesItsEnds)
{
    DropdownListContainer two(processor.record("Mode"), "", { "A", "B" });
    two.attach(processor.parameters);
    processor.set("Mode", 2.0f);
    two.update();
    EXPECT_EQ(two.getLabel().getText(), "");
    two.onNextClick();
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 0.0f);

    processor.set("Mode", 1.0f);
    DropdownListContainer empty(processor.record("Mode"), "", {});
    empty.attach(processor.parameters);
    EXPECT_EQ(empty.getLabel().getText(), "");
    empty.onNextClick();
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 0.0f);
    processor.set("Mode", 1.0f);
    empty.onPreviousClick(); // -1, clamped by the range
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 0.0f);
}

TEST_F(DropdownReverbTest, ShowsTheOptionAndItsArrowsInTheMainColour)
{
    DropdownListContainer list(parameter("InputFilterType"), "Filter", { "LOW SHELF", "HIGH PASS" });
    list.setBounds(0, 0, 200, 64);
    list.attach(processor.parameters);
    list.setMainColor(Zorvik::orange);
    setPlainValue(processor, "InputFilterType", 1.0f);
    list.timerCallback();
    EXPECT_EQ(list.getLabel().getText(), "HIGH PASS");
    EXPECT_EQ(list.getLookAndFeel().highlightColour, Zorvik::orange);

    const auto image = render(list, "dropdown");
    // Inside each arrow, next to its flat side, the main colour.
    const auto previous = list.getPreviousButton().getBounds();
    const auto next = list.getNextButton().getBounds();
    EXPECT_TRUE(near(image.getPixelAt(previous.getX() + previous.getWidth() * 3 / 4, previous.getCentreY()),
                     Zorvik::orange));
    EXPECT_TRUE(near(image.getPixelAt(next.getX() + next.getWidth() / 4, next.getCentreY()), Zorvik::orange));
    // The label's text is drawn in the main colour between the arrows.
    int textPixels = 0;
    for (int y = 24; y < 62; ++y)
        for (int x = previous.getRight(); x < next.getX(); ++x)
            textPixels += near(image.getPixelAt(x, y), Zorvik::orange, 40) ? 1 : 0;
    EXPECT_GT(textPixels, 50);
}
