// Parameter callbacks may come from the audio thread at any moment: they reach
// the window only once it is completely built.
#include "EditorTestSupport.h"
#include "ReverbDesign.h"
#include "UI/PluginHeader.h"

using namespace UiTest;

namespace
{
// Builds the usual controls and, between them, moves a parameter as a host's
// automation would, noting whether the window under construction heard it.
struct AutomatingBuilder : ContainerBuilder
{
    AutomatingBuilder(ReverbProcessor& owner, PluginDesign& shown, bool& heardFlag)
        : processor(owner), design(shown), heard(heardFlag)
    {
    }

    UIContainer* build(Parameter* parameter, std::string title, int kind, std::vector<Parameter*> linked,
                       std::vector<std::string> options, std::vector<juce::Colour> colours) override
    {
        setPlainValue(processor, "RoomSize", static_cast<float>(++calls));
        heard = heard || design.header->modified.load();
        return ContainerBuilder::build(parameter, std::move(title), kind, std::move(linked), std::move(options),
                                       std::move(colours));
    }

    ReverbProcessor& processor;
    PluginDesign& design;
    bool& heard;
    int calls = 0;
};
} // namespace

TEST_F(EditorTest, ParameterCallbacksStartOnlyOnceTheWindowIsBuilt)
{
    open();
    editor.reset();
    bool heard = false;
    auto* design = new ReverbDesign();
    design->createLayout();
    ReverbEditor window(*processor, design, new AutomatingBuilder(*processor, *design, heard));
    EXPECT_FALSE(heard);

    design->header->modified = false;
    set("RoomSize", 70.0f);
    EXPECT_TRUE(design->header->modified.load());
}
