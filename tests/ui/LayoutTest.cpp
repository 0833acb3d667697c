#include "Basics/ContainerBuilder.h"
#include "Basics/ParameterUISettings.h"
#include "UI/Controls/Knob/KnobContainer.h"
#include "UI/Controls/Slider/SliderContainer.h"
#include "UI/Page.h"
#include "UI/PageSelector.h"
#include "UI/Section.h"
#include "UiTestSupport.h"

#include <memory>

// The grid of sections and pages, the page tabs and the widget factory.
using namespace UiTest;

namespace
{
    using LayoutTest = ProcessorTest;

    struct RecordingPageDelegate : PageSelectorDelegate
    {
        void onPageSelected(int page) override { pages.push_back(page); }
        std::vector<int> pages;
    };
}

TEST_F(LayoutTest, SectionWithoutTitleMarkedSlotsSiblingsAndMissingControls)
{
    Section section({ UIColumn { { { 5, 2, 0, 1 }, { 99, 1, 0, 1 } }, 2 }, UIColumn {}, UIColumn { { { 7, 1, 0, 1 } }, 0 } },
                    "hidden", Zorvik::blue, { { 5, { 6 } } }, true);
    KnobContainer marked(parameter("RoomSize"), "size", false, {});
    KnobContainer sibling(parameter("SizeModulationRate"), "rate", false, {});
    KnobContainer zeroWidth(parameter("SizeModulationAmount"), "amount", false, {});
    marked.linkMarks = { false, true };
    section.addControl(5, &marked);
    section.addControl(6, &sibling);
    section.addControl(7, &zeroWidth);
    EXPECT_TRUE(section.containsParam(6));
    EXPECT_TRUE(section.containsParam(99));
    EXPECT_FALSE(section.containsParam(8));
    EXPECT_EQ(section.getParams(), (std::vector<int> { 5, 99, 7 }));
    EXPECT_EQ(section.getSiblings(), (std::vector<int> { 6 }));
    EXPECT_EQ(section.getColumnCount(), 3);

    section.setBounds(0, 0, 108, 154);
    EXPECT_FALSE(section.getTitleLabel().isVisible());
    // The sibling shares its control's place, hidden; the key without a control is skipped.
    EXPECT_EQ(sibling.getBounds(), marked.getBounds());
    EXPECT_FALSE(sibling.isVisible());
    EXPECT_EQ(zeroWidth.getBounds().getWidth(), 0);
}

TEST(PageSelectorTest, TabsShareTheStripAndReportTheirPage)
{
    RecordingPageDelegate delegate;
    PageSelector selector(&delegate);
    selector.setBounds(0, 30, 692, 30);
    selector.init({ "ONE", "TWO" }, 1);
    selector.init({ "ONE", "TWO" }, 1);  // every layout pass: the tabs are made anew
    ASSERT_EQ(selector.getNumTabs(), 2u);
    EXPECT_FALSE(selector.getTab(0).getToggleState());
    EXPECT_TRUE(selector.getTab(1).getToggleState());
    EXPECT_TRUE(delegate.pages.empty());

    selector.getTab(0).onClick();
    EXPECT_EQ(delegate.pages, (std::vector<int> { 0 }));
    selector.setDelegate(nullptr);
    selector.updateState(1);
    EXPECT_EQ(delegate.pages.size(), 1u);
}


TEST_F(LayoutTest, FactoryBuildsEachKindAndRefusesMissingLinks)
{
    ContainerBuilder builder;
    auto* p = parameter("FreqShifterFrequency");
    const std::vector<Parameter*> five(5, parameter("FreqShifterDryWet"));
    const auto linked = [&](size_t n) { return std::vector<Parameter*>(five.begin(), five.begin() + static_cast<long>(n)); };
    const struct { int kind; std::vector<Parameter*> enough, tooFew; std::vector<std::string> options; bool refusesFewer = true; } kinds[] = {
        { 0, {}, {}, {} },          { 1, linked(1), {}, {} },          { 2, {}, {}, {} },
        { 3, {}, {}, { "sine" } },  { 3, {}, {}, {} },                { 5, linked(1), {}, {} },
        { 6, linked(2), linked(1), {} }, { 7, linked(1), {}, {} },     { 8, five, linked(4), {} },
        { 11, {}, {}, { "ONE", "TWO" } }, { 12, five, {}, { "x" }, false }, { 13, five, {}, { "x" }, false },
        { 14, std::vector<Parameter*>(31, p), std::vector<Parameter*>(30, p), {} },
        { 15, linked(2), linked(1), {} }, { 16, linked(1), {}, {} },
    };
    for (const auto& k : kinds)
    {
        std::unique_ptr<UIContainer> control(builder.build(p, "t", k.kind, k.enough, k.options, {}));
        EXPECT_NE(control, nullptr) << k.kind;
        if (!k.enough.empty() && k.refusesFewer)
        {
            EXPECT_THROW(builder.build(p, "t", k.kind, k.tooFew, k.options, {}), std::out_of_range) << k.kind;
        }
    }
    std::unique_ptr<UIContainer> slider(builder.build(p, "t", 0, {}, {}, {}));
    EXPECT_EQ(dynamic_cast<KnobContainer*>(slider.get()), nullptr);
    for (const int kind : { -1, 17, 255 })
        EXPECT_EQ(builder.build(p, "t", kind, five, {}, {}), nullptr) << kind;
}
