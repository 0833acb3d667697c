#include "Basics/ContainerBuilder.h"
#include "Basics/ParameterUISettings.h"
#include "UI/Controls/Knob/KnobContainer.h"
#include "UI/Controls/Slider/SliderContainer.h"
#include "UI/Page.h"
#include "UI/PageSelector.h"
#include "UI/Section.h"
#include "UiTestSupport.h"

#include <cmath>
#include <memory>

// The grid of sections and pages, the page tabs and the widget factory.
using namespace UiTest;

namespace
{
    using LayoutTest = ProcessorTest;

    // Expected slot bounds, computed from the grid rules in double precision:
    // rows are as high as (area height - title) / rows, columns unit = area width / total weight.
    juce::Rectangle<int> expectedSlot(juce::Rectangle<int> area, int title, double unit, int rowHeight, double columnStart,
                                      double rowStart, double widthUnits, double rows, int inset)
    {
        const int shrink = 2 * inset;
        return { static_cast<int>(area.getX() + columnStart * unit) + inset,
                 static_cast<int>(title + rowStart * rowHeight + area.getY()) + inset,
                 std::max(static_cast<int>(widthUnits * unit) - shrink, 0),
                 std::max(static_cast<int>(rows * rowHeight) - shrink, 0) };
    }

    struct RecordingPageDelegate : PageSelectorDelegate
    {
        void onPageSelected(int page) override { pages.push_back(page); }
        std::vector<int> pages;
    };
}

TEST_F(LayoutTest, SectionGridPlacesWideAndOffsetSlots)
{
    // The input section's grid: a slot three columns wide above three single slots.
    Section section({ UIColumn { { { 3, 1, 0, 3 }, { 0, 1, 0, 1 } }, 1 }, UIColumn { { { 4, 1, 1, 1 } }, 1 },
                      UIColumn { { { 1, 1, 1, 1 } }, 1 } },
                    "input", Zorvik::green, {}, false);
    SliderContainer wide(parameter("InputFilterFrequency"), "a", false, {});
    SliderContainer first(parameter("InputGain"), "b", false, {});
    SliderContainer second(parameter("PreDelay"), "c", false, {});
    SliderContainer third(parameter("InputFilterType"), "d", false, {});
    section.addControl(3, &wide);
    section.addControl(0, &first);
    section.addControl(4, &second);
    section.addControl(1, &third);
    section.setBounds(0, 0, 173, 300);

    const juce::Rectangle<int> area(4, 2, 165, 296);
    EXPECT_EQ(section.getArea(), area);
    EXPECT_EQ(section.getTitleHeight(), 29);
    EXPECT_EQ(section.getTitle(), "INPUT");
    EXPECT_EQ(section.getTitleLabel().getText(), "INPUT");
    const double unit = std::floor(165.0 / 3.0);
    const int rowHeight = (296 - 29) / 2;
    EXPECT_EQ(wide.getBounds(), expectedSlot(area, 29, unit, rowHeight, 0, 0, 3, 1, 1));
    EXPECT_EQ(first.getBounds(), expectedSlot(area, 29, unit, rowHeight, 0, 1, 1, 1, 1));
    EXPECT_EQ(second.getBounds(), expectedSlot(area, 29, unit, rowHeight, 1, 1, 1, 1, 1));
    EXPECT_EQ(third.getBounds(), expectedSlot(area, 29, unit, rowHeight, 2, 1, 1, 1, 1));
    EXPECT_EQ(wide.getMainColour(), Zorvik::green);
    EXPECT_EQ(third.getMainColour(), Zorvik::green);
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

    section.setBounds(0, 0, 108, 154);  // area (4, 2, 100, 150), three rows of 50, unit 100 / 3 = 33
    EXPECT_EQ(section.getTitleHeight(), 0);
    EXPECT_FALSE(section.getTitleLabel().isVisible());
    // Marked: the whole cell, no inset; the key without a control is skipped.
    EXPECT_EQ(marked.getBounds(), juce::Rectangle<int>(4, 2, 66, 100));
    EXPECT_EQ(sibling.getBounds(), marked.getBounds());
    EXPECT_FALSE(sibling.isVisible());
    EXPECT_EQ(zeroWidth.getBounds().getWidth(), 0);
    // Its column starts after the weights 2 and 1 (the empty column counts).
    EXPECT_EQ(zeroWidth.getX(), 4 + 3 * 33 + 1);
}

TEST_F(LayoutTest, EmptySectionAndWeightlessPageLayOutNothing)
{
    Section empty({ UIColumn {} }, "empty", Zorvik::red, {}, false);
    empty.setBounds(0, 0, 50, 50);
    Page page({ { &empty, 0 } }, "none");
    page.setBounds(0, 0, 100, 100);
    EXPECT_EQ(empty.getBounds(), juce::Rectangle<int>(0, 0, 50, 50));
}

TEST_F(LayoutTest, PageSplitsItsWidthByWeightAndTruncates)
{
    std::vector<std::unique_ptr<Section>> sections;
    std::vector<UISection> entries;
    const int weights[] = { 6, 13, 3, 2 };
    for (const int weight : weights)
    {
        sections.push_back(std::make_unique<Section>(std::vector<UIColumn> {}, "s", Zorvik::blue,
                                                     std::map<int, std::vector<int>> {}, false));
        entries.push_back({ sections.back().get(), weight });
    }
    Page page(entries, "page");
    page.setBounds(0, 0, 692, 300);
    int x = 0;
    for (size_t i = 0; i < sections.size(); ++i)
    {
        const int w = 692 * weights[i] / 24;
        EXPECT_EQ(sections[i]->getBounds(), juce::Rectangle<int>(x, 0, w, 300));
        EXPECT_EQ(sections[i]->getParentComponent(), &page);
        x += w;
    }
    EXPECT_EQ(sections[3]->getX(), 633);
}

TEST(PageSelectorTest, TabsShareTheStripAndReportTheirPage)
{
    RecordingPageDelegate delegate;
    PageSelector selector(&delegate);
    selector.setBounds(0, 30, 692, 30);
    selector.init({ "ONE", "TWO" }, 1);
    selector.init({ "ONE", "TWO" }, 1);  // every layout pass: the tabs are made anew
    ASSERT_EQ(selector.getNumTabs(), 2u);
    EXPECT_EQ(selector.getTab(0).getBounds(), juce::Rectangle<int>(1, 1, 345, 28));
    EXPECT_EQ(selector.getTab(1).getBounds(), juce::Rectangle<int>(1 + 345, 1, 345, 28));
    EXPECT_FALSE(selector.getTab(0).getToggleState());
    EXPECT_TRUE(selector.getTab(1).getToggleState());
    EXPECT_TRUE(delegate.pages.empty());

    selector.getTab(0).onClick();
    EXPECT_EQ(delegate.pages, (std::vector<int> { 0 }));
    selector.setDelegate(nullptr);
    selector.updateState(1);
    EXPECT_EQ(delegate.pages.size(), 1u);
}

TEST(ParameterUISettingsTest, RowsAlwaysHoldTwoEdgeMarks)
{
    EXPECT_EQ(ParameterUISettings().linkMarks, (std::vector<bool> { false, false }));
    EXPECT_EQ(ParameterUISettings("t", 2, {}, {}, { true }, {}).linkMarks, (std::vector<bool> { true, false }));
    EXPECT_EQ(ParameterUISettings("t", 2, {}, {}, { false, true, true }, {}).linkMarks,
              (std::vector<bool> { false, true }));
}

TEST_F(LayoutTest, FactoryBuildsByKindAndRefusesMissingLinks)
{
    ContainerBuilder builder;
    auto* x = parameter("FreqShifterFrequency");
    auto* y = parameter("FreqShifterDryWet");
    for (const int kind : { -1, 17, 255 })
        EXPECT_EQ(builder.build(x, "t", kind, { y }, {}, {}), nullptr) << kind;
    for (const int kind : { 5, 7 })
        EXPECT_THROW(builder.build(x, "t", kind, {}, {}, {}), std::out_of_range) << kind;

    std::unique_ptr<UIContainer> slider(builder.build(x, "t", 0, {}, {}, {}));
    std::unique_ptr<UIContainer> knob(builder.build(x, "t", 2, {}, {}, {}));
    EXPECT_NE(dynamic_cast<SliderContainer*>(slider.get()), nullptr);
    EXPECT_EQ(dynamic_cast<KnobContainer*>(slider.get()), nullptr);
    EXPECT_NE(dynamic_cast<KnobContainer*>(knob.get()), nullptr);
    std::unique_ptr<UIContainer> pad(builder.build(x, "t", 5, { y, x }, {}, {}));
    EXPECT_NE(pad, nullptr);
}

TEST_F(LayoutTest, FactoryBuildsTheFurtherControlsWhenTheirLinksAreThere)
{
    ContainerBuilder builder;
    auto* p = parameter("RoomSize");
    const std::vector<Parameter*> five(5, parameter("HFDamp"));
    auto builds = [&](int kind, std::vector<Parameter*> linked, std::vector<std::string> options = {}) {
        std::unique_ptr<UIContainer> control(builder.build(p, "t", kind, linked, options, {}));
        return control != nullptr;
    };
    EXPECT_TRUE(builds(1, { five[0] }));
    EXPECT_THROW(builds(1, {}), std::out_of_range);
    EXPECT_TRUE(builds(3, {}, { "sine" }));
    EXPECT_TRUE(builds(3, {}));  // no waveform name: a knob without a glyph
    EXPECT_TRUE(builds(6, { five[0], five[1] }));
    EXPECT_THROW(builds(6, { five[0] }), std::out_of_range);
    EXPECT_TRUE(builds(8, five));
    EXPECT_THROW(builds(8, { five[0], five[1], five[2], five[3] }), std::out_of_range);
    EXPECT_TRUE(builds(11, {}, { "ONE", "TWO" }));
    // The views take what they need and ignore the rest.
    EXPECT_TRUE(builds(12, five, { "x" }));
    EXPECT_TRUE(builds(13, five, { "x" }));
    EXPECT_TRUE(builds(14, std::vector<Parameter*>(31, five[0])));
    EXPECT_THROW(builds(14, std::vector<Parameter*>(30, five[0])), std::out_of_range);
    EXPECT_TRUE(builds(15, { five[0], five[1] }));
    EXPECT_THROW(builds(15, { five[0] }), std::out_of_range);
    EXPECT_TRUE(builds(16, { five[0] }));
    EXPECT_THROW(builds(16, {}), std::out_of_range);
}
