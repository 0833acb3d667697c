#include "TestProcessor.h"
#include "UI/Controls/DropdownList/DropdownListContainer.h"
#include "UiTestSupport.h"

#include <cmath>
#include <limits>

using namespace UiTest;

namespace
{
    // Options "A", "B", "C" for an index parameter of 0..2, in a 200 x 64 container.
    struct Choice : ::testing::Test
    {
        Choice()
            : processor({ { "Mode", 0.0f, 2.0f, 0.0f } }),
              list(processor.record("Mode"), "Mode", { "A", "B", "C" })
        {
            list.setBounds(0, 0, 200, 64);
            list.attach(processor.parameters);
        }

        TestProcessor processor;
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
    list.onNextClick();
    list.onNextClick();
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 2.0f);
    list.onPreviousClick();
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 1.0f);

    // Choosing in the pop-up writes the index.
    list.getComboBox().setSelectedId(3, juce::sendNotificationSync);
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 2.0f);
}

TEST_F(Choice, HostValuesAreRoundedAndShownAtTheNextUpdateWithoutBeingWrittenBack)
{
    processor.set("Mode", 1.6f);
    EXPECT_EQ(list.getCurrentIndex(), 2);
    EXPECT_TRUE(list.getPendingUpdate());
    EXPECT_EQ(list.getLabel().getText(), "A");
    list.update();
    EXPECT_FALSE(list.getPendingUpdate());
    EXPECT_EQ(list.getLabel().getText(), "C");
    EXPECT_EQ(list.getComboBox().getSelectedId(), 3);
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 1.6f);
}

TEST_F(Choice, RightClicksOnArrowsAndListOnlyOpenTheValueEditor)
{
    RecordingDelegate delegate;
    list.setDelegate(&delegate);
    auto& next = list.getNextButton();
    const auto onArrow = rightClick(next, { 10.0f, 10.0f });
    next.mouseDown(onArrow);
    next.mouseUp(onArrow);
    auto& box = list.getComboBox();
    const auto onList = rightClick(box, { 100.0f, 20.0f });
    box.mouseDown(onList);
    box.mouseUp(onList);
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 0.0f);
    EXPECT_FALSE(box.isPopupActive());
    ASSERT_EQ(delegate.calls.size(), 2u);
    EXPECT_EQ(delegate.calls[0][0].name, "MODE");
    EXPECT_EQ(delegate.calls[0][0].parameter, processor.record("Mode"));
}

TEST_F(Choice, ValuesBeyondTheListShowNothingAndTheArrowsStepBackIn)
{
    auto* host = processor.parameters.getParameter("Mode");
    host->setValueNotifyingHost(std::numeric_limits<float>::quiet_NaN());
    list.update();
    EXPECT_GE(list.getCurrentIndex(), -1);
    EXPECT_LE(list.getCurrentIndex(), 3);

    // A host value past the end shows nothing.
    DropdownListContainer two(processor.record("Mode"), "", { "A", "B" });
    two.attach(processor.parameters);
    processor.set("Mode", 2.0f);
    two.update();
    EXPECT_EQ(two.getCurrentIndex(), 2);
    EXPECT_EQ(two.getLabel().getText(), "");
    two.onNextClick();
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 0.0f);
    processor.set("Mode", 2.0f);
    two.onPreviousClick();
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 1.0f);

    // An empty list writes 0, and -1 clamped.
    DropdownListContainer empty(processor.record("Mode"), "", {});
    empty.attach(processor.parameters);
    empty.onNextClick();
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 0.0f);
    processor.set("Mode", 1.0f);
    empty.onPreviousClick();
    EXPECT_FLOAT_EQ(processor.plain("Mode"), 0.0f);
}

TEST_F(DropdownReverbTest, ShowsTheReverbsFilterTypeInTheMainColour)
{
    DropdownListContainer list(parameter("InputFilterType"), "Filter", { "LOW SHELF", "HIGH PASS" });
    list.setBounds(0, 0, 200, 64);
    list.attach(processor.parameters);
    list.setMainColor(Zorvik::orange);
    EXPECT_EQ(list.getLabel().getText(), "LOW SHELF");

    setPlain(processor, "InputFilterType", 1.0f);
    list.update();
    EXPECT_EQ(list.getLabel().getText(), "HIGH PASS");
    list.onNextClick();
    EXPECT_EQ(plainValue(processor, "InputFilterType"), 0.0f);
    list.update();

    const auto image = render(list, "dropdown");
    // Inside each arrow (left- and right-pointing triangles of 35 x 35) the main colour.
    EXPECT_TRUE(near(image.getPixelAt(2 + 22, 27 + 17), Zorvik::orange));
    EXPECT_TRUE(near(image.getPixelAt(162 + 12, 27 + 17), Zorvik::orange));
}
