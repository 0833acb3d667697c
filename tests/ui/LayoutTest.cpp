#include "Basics/Editor.h"
#include "Basics/PluginDesign.h"
#include "UI/Page.h"
#include "UI/PageSelector.h"
#include "UI/PluginHeader.h"
#include "UI/Section.h"
#include "UiTestSupport.h"

#include <memory>

// The layout tree: a section's grid, a page's split by weight, the page tabs, and a
// window whose design has more than one page.
using namespace UiTest;

namespace
{
    using Rect = juce::Rectangle<int>;

    // A control with no parameter state of its own: only its place and colour matter here.
    struct Slot : UIContainer
    {
        Slot() : UIContainer(&record(), "") {}
        void attach(juce::AudioProcessorValueTreeState&) override {}
        static Parameter& record()
        {
            static Parameter parameter;
            return parameter;
        }
    };

    struct RecordingPageDelegate : PageSelectorDelegate
    {
        void onPageSelected(int page) override { pages.push_back(page); }
        std::vector<int> pages;
    };

    juce::Colour over(juce::Colour below, juce::Colour colour, float alpha)
    {
        return below.interpolatedWith(colour, alpha);
    }

    // One page per section key: "Room Size" (a knob) on the first, "Length" (a slider)
    // on the second; the other parameters get a kind that builds nothing.
    struct PagedDesign : PluginDesign
    {
        explicit PagedDesign(int pageCount)
        {
            for (const int key : { 5, 8 })
                if (static_cast<int>(pages.size()) < pageCount)
                {
                    const std::string name = key == 5 ? "FIRST" : "SECOND";
                    sections.push_back(std::make_unique<Section>(std::vector<UIColumn> { { { { key } } } }, name,
                                                                 Zorvik::blue, std::map<int, std::vector<int>> {}, false));
                    pages.push_back(std::make_unique<Page>(std::vector<UISection> { { sections.back().get(), 1 } }, name));
                }
        }
        ~PagedDesign() override { pages.clear(); }
        std::vector<Page*> getUiStack() override
        {
            std::vector<Page*> stack;
            for (auto& page : pages)
                stack.push_back(page.get());
            return stack;
        }
        std::map<int, ParameterUISettings> getUiSettings() override
        {
            std::map<int, ParameterUISettings> rows;
            for (int key = 0; key < 18; ++key)
                rows[key] = ParameterUISettings("", key == 5 ? 2 : key == 8 ? 0 : 99, {}, {}, { false, false }, {});
            return rows;
        }
        juce::Image getSmallLogo() override { return {}; }
        juce::Image getTransparentLogo() override { return {}; }
        juce::Image getZorvikLogo() override { return {}; }

        std::vector<std::unique_ptr<Section>> sections;
        std::vector<std::unique_ptr<Page>> pages;
    };
}

TEST(SectionGrid, TheInputSectionPlacesAWideSlotAboveThreeOffsetOnes)
{
    // Columns of weight 1: a slot three weights wide over one slot; two columns whose
    // single slot sits one row down.
    Section section({ UIColumn { { { 3, 1, 0, 3 }, { 0, 1, 0, 1 } }, 1 }, UIColumn { { { 4, 1, 1, 1 } }, 1 },
                      UIColumn { { { 1, 1, 1, 1 } }, 1 } },
                    "input", Zorvik::green, {}, false);
    Slot wide, first, second, third;
    section.addControl(3, &wide);
    section.addControl(0, &first);
    section.addControl(4, &second);
    section.addControl(1, &third);
    section.addControl(9, nullptr);
    EXPECT_EQ(section.getControl(4), &second);
    EXPECT_EQ(section.getControl(9), nullptr);
    section.setBounds(0, 0, 173, 300);

    EXPECT_EQ(section.getArea(), Rect(4, 2, 165, 296));
    EXPECT_EQ(section.getTitleHeight(), 29);
    EXPECT_EQ(section.getTitleLabel().getText(), "INPUT");
    EXPECT_EQ(wide.getBounds(), Rect(5, 32, 163, 131));
    EXPECT_EQ(first.getBounds(), Rect(5, 165, 53, 131));
    EXPECT_EQ(second.getBounds(), Rect(60, 165, 53, 131));
    EXPECT_EQ(third.getBounds(), Rect(115, 165, 53, 131));
    for (auto* slot : { &wide, &first, &second, &third })
        EXPECT_EQ(slot->getMainColour(), Zorvik::green);

    // The tint: strongest at the top, faded at the bottom, a one-pixel border left unpainted.
    const auto picture = render(section, "section-input", juce::Colours::black);
    EXPECT_TRUE(near(picture.getPixelAt(2, 1), over(juce::Colours::black, Zorvik::green, 0.21f), 4));
    EXPECT_TRUE(near(picture.getPixelAt(2, 297), juce::Colours::black, 4));
    EXPECT_EQ(picture.getPixelAt(172, 150), juce::Colours::black);
}

TEST(SectionGrid, HiddenTitleMarkedSlotsSiblingsAndMissingControls)
{
    // Column weights 2, 1 (empty) and 0; key 99 has no control; key 6 shares key 5's cell.
    Section section({ UIColumn { { { 5, 2, 0, 1 }, { 99, 1, 0, 1 } }, 2 }, UIColumn {}, UIColumn { { { 7, 1, 0, 1 } }, 0 } },
                    "hidden", Zorvik::blue, { { 5, { 6 } } }, true);
    Slot marked, sibling, zeroWidth;
    marked.linkMarks = { false, true };
    section.addControl(5, &marked);
    section.addControl(6, &sibling);
    section.addControl(7, &zeroWidth);
    EXPECT_TRUE(section.containsParam(6) && section.containsParam(99) && !section.containsParam(8));
    EXPECT_EQ(section.getParams(), (std::vector<int> { 5, 99, 7 }));
    EXPECT_EQ(section.getSiblings(), (std::vector<int> { 6 }));
    EXPECT_EQ(section.getColumnCount(), 3);

    section.setBounds(0, 0, 108, 154);  // area (4, 2, 100, 150): three rows of 50, 33 pixels a weight
    EXPECT_EQ(section.getTitleHeight(), 0);
    EXPECT_FALSE(section.getTitleLabel().isVisible());
    // A marked slot takes its whole cell from the top of the area.
    EXPECT_EQ(marked.getBounds(), Rect(4, 2, 66, 100));
    EXPECT_EQ(sibling.getBounds(), marked.getBounds());
    EXPECT_FALSE(sibling.isVisible());
    // The weightless column starts after weights 2 and 1 and has no width.
    EXPECT_EQ(zeroWidth.getBounds(), Rect(4 + 3 * 33 + 1, 3, 0, 48));

    // A new colour reaches every control but those kept, siblings with their key.
    section.setColor(Zorvik::red, { 7 });
    EXPECT_EQ(section.getColour(), Zorvik::red);
    EXPECT_EQ(section.getTitleLabel().findColour(juce::Label::textColourId), Zorvik::red);
    EXPECT_TRUE(marked.getMainColour() == Zorvik::red && sibling.getMainColour() == Zorvik::red);
    EXPECT_EQ(zeroWidth.getMainColour(), Zorvik::blue);
}

TEST(SectionGrid, PagesSplitTheirWidthByWeightAndTruncate)
{
    std::vector<std::unique_ptr<Section>> sections;
    std::vector<UISection> entries;
    for (const int weight : { 6, 13, 3, 2 })
    {
        sections.push_back(std::make_unique<Section>(std::vector<UIColumn> {}, "s", Zorvik::blue,
                                                     std::map<int, std::vector<int>> {}, false));
        entries.push_back({ sections.back().get(), weight });
    }
    Page page(entries, "page");
    page.setBounds(0, 0, 692, 300);
    const Rect expected[] = { { 0, 0, 173, 300 }, { 173, 0, 374, 300 }, { 547, 0, 86, 300 }, { 633, 0, 57, 300 } };
    for (size_t i = 0; i < sections.size(); ++i)
        EXPECT_EQ(sections[i]->getBounds(), expected[i]) << i;

    // No weight, no rows: nothing is placed.
    Section empty({ UIColumn {} }, "empty", Zorvik::red, {}, false);
    empty.setBounds(0, 0, 50, 50);
    Page weightless({ { &empty, 0 } }, "none");
    weightless.setBounds(0, 0, 100, 100);
    EXPECT_EQ(empty.getBounds(), Rect(0, 0, 50, 50));
    EXPECT_EQ(empty.getParentComponent(), nullptr);
}

TEST(PageTabs, TabsShareTheStripAndReportTheirPage)
{
    RecordingPageDelegate delegate;
    PageSelector selector(&delegate);
    selector.setBounds(0, 30, 692, 30);
    selector.init({ "ONE", "TWO" }, 1);
    selector.init({ "ONE", "TWO" }, 1);  // every layout pass: the tabs are made anew
    ASSERT_EQ(selector.getNumTabs(), 2u);
    EXPECT_EQ(selector.getTab(0).getBounds(), Rect(1, 1, 345, 28));
    EXPECT_EQ(selector.getTab(1).getBounds(), Rect(346, 1, 345, 28));
    EXPECT_FALSE(selector.getTab(0).getToggleState());
    EXPECT_TRUE(selector.getTab(1).getToggleState());
    EXPECT_TRUE(delegate.pages.empty());

    // The tab that is on is drawn lighter than the one that is off.
    const auto picture = render(selector, "page-tabs");
    EXPECT_GT(picture.getPixelAt(346 + 3, 4).getBrightness(), picture.getPixelAt(1 + 3, 4).getBrightness());

    selector.getTab(0).onClick();
    selector.getTab(1).onClick();
    EXPECT_EQ(delegate.pages, (std::vector<int> { 0, 1 }));
    selector.setDelegate(nullptr);
    selector.updateState(1);
    EXPECT_EQ(delegate.pages.size(), 2u);

}

TEST_F(ProcessorTest, TwoPagesShowTabsBelowTheHeaderAndTheChosenPageStays)
{
    {
        Editor single(processor, new PagedDesign(1), new ContainerBuilder());
        single.setSize(692, 330);
        EXPECT_EQ(single.design->uiStack[0]->getBounds(), Rect(0, 30, 692, 300));
        EXPECT_EQ(single.pageSelector->getParentComponent(), nullptr);
    }
    auto* design = new PagedDesign(2);
    Editor editor(processor, design, new ContainerBuilder());
    editor.setSize(692, 330);
    EXPECT_EQ(design->pages[0]->getBounds(), Rect(0, 60, 692, 270));
    EXPECT_EQ(editor.pageSelector->getBounds(), Rect(0, 30, 692, 30));
    ASSERT_EQ(editor.pageSelector->getNumTabs(), 2u);
    EXPECT_EQ(editor.pageSelector->getTab(1).getButtonText(), "SECOND");
    EXPECT_EQ(editor.containers.at(8)->getParentComponent(), design->sections[1].get());
    EXPECT_EQ(editor.containers.count(0), 0u);
    EXPECT_TRUE(design->pages[0]->isVisible());
    EXPECT_FALSE(design->pages[1]->isVisible());

    editor.pageSelector->getTab(1).onClick();
    EXPECT_FALSE(design->pages[0]->isVisible());
    EXPECT_TRUE(design->pages[1]->isVisible());
    EXPECT_EQ(processor.currentPage, 1);
    editor.resized();
    EXPECT_EQ(editor.pageSelector->getNumTabs(), 2u);
    EXPECT_TRUE(editor.pageSelector->getTab(1).getToggleState());

    // A window opened later shows the page chosen last; a page that no longer exists
    // gives the first.
    Editor again(processor, new PagedDesign(2), new ContainerBuilder());
    again.setSize(692, 330);
    EXPECT_TRUE(again.design->uiStack[1]->isVisible());
    processor.currentPage = 7;
    again.resized();
    EXPECT_TRUE(again.design->uiStack[0]->isVisible());
    EXPECT_EQ(processor.currentPage, 0);
}
