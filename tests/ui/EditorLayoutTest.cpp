#include "Basics/ContainerBuilder.h"
#include "EditorTestSupport.h"
#include "UI/Controls/CurveSequencer/CurveSequencerContainer.h"
#include "UI/Controls/DropdownList/DropdownListContainer.h"
#include "UI/Controls/Filter/DoubleFilterContainer.h"
#include "UI/Controls/Filter/FilterContainer.h"
#include "UI/Controls/Granulizer/GranulizerViewContainer.h"
#include "UI/Controls/Knob/KnobContainer.h"
#include "UI/Controls/Knob/WaveformKnobContainer.h"
#include "UI/Controls/Meters/PeakMeterContainer.h"
#include "UI/Controls/OnOff/OnOffContainer.h"
#include "UI/Controls/Oscilloscopes/MultiOscilloscopeContainer.h"
#include "UI/Controls/Phaser/PhaserViewContainer.h"
#include "UI/Controls/Radio/RadioContainer.h"
#include "UI/Controls/Slider/DoubleSliderContainer.h"
#include "UI/Controls/Slider/SliderContainer.h"
#include "UI/Controls/Waveshaper/WaveshaperViewContainer.h"
#include "UI/Controls/XY/TimeStopXYControlContainer.h"
#include "UI/Controls/XY/XYControlContainer.h"
#include "UI/Page.h"
#include "UI/PluginHeader.h"
#include "UI/Section.h"

#include <typeindex>

// Where everything sits in the reverb's 692 x 330 window, and which control class
// each widget kind builds.
using namespace UiTest;

namespace
{
    using Rect = juce::Rectangle<int>;

    Rect inWindow(juce::Component& window, juce::Component& part)
    {
        return window.getLocalArea(&part, part.getLocalBounds());
    }
}

TEST_F(EditorTest, SectionsControlsAndHeaderSitWhereTheDesignPutsThem)
{
    open();
    EXPECT_EQ(editor->getBounds(), Rect(0, 0, 692, 330));
    EXPECT_FALSE(editor->isResizable());

    const std::tuple<const char*, Rect, juce::Colour> sections[] = {
        { "INPUT", { 0, 30, 173, 300 }, Zorvik::green },   { "REVERB", { 173, 30, 374, 300 }, Zorvik::blue },
        { "DUCKER", { 547, 30, 86, 300 }, Zorvik::orange }, { "MIX", { 633, 30, 57, 300 }, juce::Colours::grey } };
    const auto& placed = editor->design->uiStack.at(0)->getSections();
    ASSERT_EQ(placed.size(), std::size(sections));
    for (size_t i = 0; i < placed.size(); ++i)
    {
        const auto& [title, bounds, colour] = sections[i];
        EXPECT_EQ(placed[i].section->getTitle(), title);
        EXPECT_EQ(inWindow(*editor, *placed[i].section), bounds) << title;
        EXPECT_EQ(placed[i].section->getColour(), colour) << title;
    }

    struct Control
    {
        int key;
        const char* section;
        std::type_index kind;
        Rect bounds;
    };
    const Control controls[] = {
        { 3, "INPUT", typeid(FilterContainer), { 5, 62, 163, 131 } },
        { 0, "INPUT", typeid(SliderContainer), { 5, 195, 53, 131 } },
        { 4, "INPUT", typeid(SliderContainer), { 60, 195, 53, 131 } },
        { 1, "INPUT", typeid(RadioContainer), { 115, 195, 53, 131 } },
        { 5, "REVERB", typeid(KnobContainer), { 178, 62, 82, 86 } },
        { 6, "REVERB", typeid(KnobContainer), { 178, 150, 82, 86 } },
        { 7, "REVERB", typeid(KnobContainer), { 178, 238, 82, 86 } },
        { 8, "REVERB", typeid(SliderContainer), { 262, 62, 54, 263 } },
        { 9, "REVERB", typeid(SliderContainer), { 318, 62, 54, 210 } },
        { 10, "REVERB", typeid(OnOffContainer), { 318, 274, 54, 51 } },
        { 11, "REVERB", typeid(XYControlContainer), { 374, 62, 166, 263 } },
        { 13, "DUCKER", typeid(KnobContainer), { 552, 62, 55, 87 } },
        { 14, "DUCKER", typeid(KnobContainer), { 552, 151, 55, 87 } },
        { 15, "DUCKER", typeid(KnobContainer), { 552, 240, 55, 87 } },
        { 16, "DUCKER", typeid(PeakMeterContainer), { 609, 62, 17, 265 } },
        { 17, "MIX", typeid(SliderContainer), { 638, 62, 47, 265 } },
    };
    for (const auto& c : controls)
    {
        SCOPED_TRACE(c.key);
        auto* control = editor->containers.at(c.key);
        auto* section = dynamic_cast<Section*>(control->getParentComponent());
        ASSERT_NE(section, nullptr);
        EXPECT_EQ(section->getTitle(), c.section);
        EXPECT_EQ(std::type_index(typeid(*control)), c.kind);
        EXPECT_EQ(inWindow(*editor, *control), c.bounds);
        EXPECT_EQ(control->getMainColour(), section->getColour());
        EXPECT_EQ(control->delegate, editor.get());
    }
    // The pads' second axes get a control that no section shows.
    EXPECT_EQ(editor->containers.size(), 18u);
    EXPECT_EQ(editor->containers.at(2)->getParentComponent(), nullptr);
    EXPECT_EQ(editor->containers.at(12)->getParentComponent(), nullptr);

    auto& header = *editor->design->header;
    const std::pair<juce::Component*, Rect> headerParts[] = {
        { &header, { 0, 0, 692, 30 } },
        { header.logoButton.get(), { 2, 2, 26, 26 } },
        { header.websiteButton.get(), { 660, 2, 28, 28 } },
        { header.titleButton.get(), { 28, 2, 152, 26 } },
        { header.previousButton.get(), { 260, 9, 15, 15 } },
        { header.presetNameButton.get(), { 277, 2, 136, 26 } },
        { header.nextButton.get(), { 417, 9, 15, 15 } },
        { header.newVersionButton.get(), { 436, 2, 220, 26 } },
    };
    for (const auto& [part, bounds] : headerParts)
        EXPECT_EQ(inWindow(*editor, *part), bounds) << part->getName();
    render(*editor, "editor"); // for people to look at
}

TEST_F(ProcessorTest, FactoryBuildsTheClassOfEachKindAndRefusesMissingLinks)
{
    ContainerBuilder builder;
    auto* p = parameter("FreqShifterFrequency");
    const auto linked = [&](size_t n) { return std::vector<Parameter*>(n, parameter("FreqShifterDryWet")); };
    const struct
    {
        int kind;
        std::type_index type;
        size_t needed;
        std::vector<std::string> options;
    } kinds[] = {
        { 0, typeid(SliderContainer), 0, {} },         { 1, typeid(DoubleSliderContainer), 1, {} },
        { 2, typeid(KnobContainer), 0, {} },           { 3, typeid(WaveformKnobContainer), 0, { "shape" } },
        { 4, typeid(OnOffContainer), 0, {} },          { 5, typeid(XYControlContainer), 1, {} },
        { 6, typeid(TimeStopXYControlContainer), 2, {} }, { 7, typeid(FilterContainer), 1, {} },
        { 8, typeid(DoubleFilterContainer), 5, {} },   { 9, typeid(RadioContainer), 0, { "a", "b" } },
        { 10, typeid(PeakMeterContainer), 0, {} },     { 11, typeid(DropdownListContainer), 0, { "a", "b" } },
        { 12, typeid(MultiOscilloscopeContainer), 0, {} }, { 13, typeid(GranulizerViewContainer), 0, {} },
        { 14, typeid(CurveSequencerContainer), 31, {} }, { 15, typeid(WaveshaperViewContainer), 2, {} },
        { 16, typeid(PhaserViewContainer), 1, {} },
    };
    for (const auto& k : kinds)
    {
        SCOPED_TRACE(k.kind);
        std::unique_ptr<UIContainer> control(builder.build(p, "t", k.kind, linked(k.needed), k.options, {}));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(std::type_index(typeid(*control)), k.type);
        // As the editor does with every control: attached to the state, then drawn.
        control->attach(processor.parameters);
        control->setBounds(0, 0, 160, 120);
        render(*control, "kind-" + std::to_string(k.kind));
        if (auto* slider = dynamic_cast<SliderContainer*>(control.get()))
        {
            EXPECT_EQ(slider->getSlider().valueToProportionOfLength(slider->getSlider().getMaximum()), 1.0) << "reversed";
        }
        if (k.needed > 0)
        {
            EXPECT_THROW(builder.build(p, "t", k.kind, linked(k.needed - 1), k.options, {}), std::out_of_range);
        }
    }
    for (const int kind : { -1, 17, 255 })
        EXPECT_EQ(builder.build(p, "t", kind, linked(31), {}, {}), nullptr) << kind;
}
