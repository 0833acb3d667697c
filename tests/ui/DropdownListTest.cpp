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
}

TEST_F(Choice, ArrowsAndThePopUpWriteTheIndexAndHostValuesShowAtTheNextTick)
{
    EXPECT_EQ(list.getLabel().getText(), "A");
    list.getPreviousButton().onClick(); // wraps round at both ends
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 2.0f);
    list.getNextButton().onClick();
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 0.0f);
    auto& next = list.getNextButton(); // a left click on an arrow is a click
    next.mouseDown(mouseEvent(next, { 10, 10 }));
    next.mouseUp(mouseEvent(next, { 10, 10 }));
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 1.0f);
    list.getComboBox().setSelectedId(3, juce::sendNotificationSync);
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 2.0f);

    // Host values are rounded, shown at the next tick and not written back.
    processor.set("Mode", 0.6f);
    EXPECT_EQ(list.getCurrentIndex(), 1);
    EXPECT_EQ(list.getLabel().getText(), "A");
    list.timerCallback();
    EXPECT_EQ(list.getLabel().getText(), "B");
    EXPECT_EQ(list.getComboBox().getSelectedId(), 2);
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 0.6f);
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
        EXPECT_TRUE(call.size() == 1 && call[0].name == "MODE" && call[0].parameter == processor.record("Mode"));

    box.mouseDown(mouseEvent(box, { 100, 20 }));
    box.mouseDrag(mouseEvent(box, { 100, 22 }));
    box.mouseUp(mouseEvent(box, { 100, 22 }));
    EXPECT_TRUE(box.isPopupActive());
    EXPECT_EQ(delegate.calls.size(), 2u);
}

// Without arrows the label spans from x = 2 to W - 2; arrows turned on again make
// room at the next layout and stay hidden.
TEST_F(Choice, WithoutArrowsTheLabelSpansTheWidth)
{
    EXPECT_EQ(list.getLabel().getX(), list.getPreviousButton().getRight());
    list.useArrows(false);
    EXPECT_FALSE(list.getPreviousButton().isVisible() || list.getNextButton().isVisible());
    EXPECT_EQ(list.getLabel().getX(), 2);
    EXPECT_EQ(list.getLabel().getRight(), 198);
    list.useArrows(true);
    EXPECT_EQ(list.getLabel().getX(), 2);
    list.resized();
    EXPECT_EQ(list.getLabel().getX(), list.getPreviousButton().getRight());
    EXPECT_FALSE(list.getNextButton().isVisible());
}

TEST_F(Choice, ValuesBeyondTheListShowNothingAndEmptyOrUnboundListsStaySafe)
{
    DropdownListContainer two(processor.record("Mode"), "", { "A", "B" });
    two.attach(processor.parameters);
    processor.set("Mode", 2.0f);
    two.update();
    EXPECT_EQ(two.getLabel().getText(), "");
    two.onNextClick();
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 0.0f);

    // An empty list writes 0 and -1 (clamped by the range); one bound to nothing writes nothing.
    processor.set("Mode", 1.0f);
    DropdownListContainer empty(processor.record("Mode"), "", {});
    DropdownListContainer unbound(nullptr, "", { "A" });
    for (auto* other : { &empty, &unbound })
        other->attach(processor.parameters);
    unbound.onNextClick();
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 1.0f);
    empty.onNextClick();
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 0.0f);
    processor.set("Mode", 1.0f);
    empty.onPreviousClick();
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 0.0f);
    EXPECT_EQ(empty.getLabel().getText(), "");
}

TEST_F(Choice, ShowsTheOptionAndItsArrowsInTheMainColour)
{
    list.setMainColor(Zorvik::orange);
    processor.set("Mode", 1.0f);
    list.timerCallback();
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
    EXPECT_GT(textPixels, 10);
}
