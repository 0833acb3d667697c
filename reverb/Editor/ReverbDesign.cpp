#include "ReverbDesign.h"

#include "Binaries/Zorvik.h"

#include <BinaryData.h>
#include <FontData.h>

namespace
{
// Three knobs share five rows.
constexpr float knobHeight = 1.6666666f;

UIColumn column(float weight, std::vector<UIParameter> slots)
{
    return UIColumn { std::move(slots), weight };
}

ParameterUISettings row(std::string title, int kind, std::vector<int> linked = {},
                        std::vector<std::string> options = {})
{
    return ParameterUISettings(std::move(title), kind, std::move(linked), std::move(options), { false, false }, {});
}
} // namespace

ReverbDesign::ReverbDesign() = default;

ReverbDesign::~ReverbDesign()
{
    page.reset();
    mixSection.reset();
    duckerSection.reset();
    reverbSection.reset();
    inputSection.reset();
}

void ReverbDesign::createLayout()
{
    zorvikLogo = juce::ImageCache::getFromMemory(FontData::ZORVIK_png, FontData::ZORVIK_pngSize);
    smallLogo = juce::ImageCache::getFromMemory(BinaryData::LogoSmall_png, BinaryData::LogoSmall_pngSize);
    transparentLogo =
        juce::ImageCache::getFromMemory(BinaryData::LogoTransparent_png, BinaryData::LogoTransparent_pngSize);

    inputSection = std::make_unique<Section>(
        std::vector<UIColumn> { column(1, { { 3, 1, 0, 3 }, { 0, 1, 0, 1 } }), column(1, { { 4, 1, 1, 1 } }),
                                column(1, { { 1, 1, 1, 1 } }) },
        "INPUT", Zorvik::green, std::map<int, std::vector<int>> {}, false);
    reverbSection = std::make_unique<Section>(
        std::vector<UIColumn> {
            column(3, { { 5, knobHeight, 0, 1 }, { 6, knobHeight, 0, 1 }, { 7, knobHeight, 0, 1 } }),
            column(2, { { 8, 5, 0, 1 } }), column(2, { { 9, 4, 0, 1 }, { 10, 1, 0, 1 } }),
            column(6, { { 11, 5, 0, 1 } }) },
        "REVERB", Zorvik::blue, std::map<int, std::vector<int>> {}, false);
    duckerSection = std::make_unique<Section>(
        std::vector<UIColumn> { column(3, { { 13, 1, 0, 1 }, { 14, 1, 0, 1 }, { 15, 1, 0, 1 } }),
                                column(1, { { 16, 3, 0, 1 } }) },
        "DUCKER", Zorvik::orange, std::map<int, std::vector<int>> {}, false);
    mixSection = std::make_unique<Section>(std::vector<UIColumn> { column(1, { { 17, 1, 0, 1 } }) }, "MIX",
                                           juce::Colours::grey, std::map<int, std::vector<int>> {}, false);

    page = std::make_unique<Page>(std::vector<UISection> { { inputSection.get(), 6 },
                                                           { reverbSection.get(), 13 },
                                                           { duckerSection.get(), 3 },
                                                           { mixSection.get(), 2 } },
                                  "");
}

std::vector<Page*> ReverbDesign::getUiStack()
{
    return { page.get() };
}

// Keys 2 and 12 have no row: they are the second axes of the pads of keys 3 and 11.
std::map<int, ParameterUISettings> ReverbDesign::getUiSettings()
{
    return {
        { 0, row("Gain", 0) },
        { 1, row("Filter Type", 9, {}, { "lowshelf", "hipass" }) },
        { 3, row("Filter", 7, { 2 }) },
        { 4, row("Predelay", 0) },
        { 5, row("Room Size", 2) },
        { 6, row("Mod. Rate", 2) },
        { 7, row("Mod. Amount", 2) },
        { 8, row("Length", 0) },
        { 9, row("HF Damp", 0) },
        { 10, row("Freeze", 4, {}, { "FREEZE", "FREEZE" }) },
        { 11, row("Transform", 5, { 12 }) },
        { 13, row("Threshold", 2) },
        { 14, row("Attack", 2) },
        { 15, row("Release", 2) },
        { 16, row("", 10) },
        { 17, row("Dry/Wet", 0) },
    };
}

juce::Image ReverbDesign::getSmallLogo()
{
    return smallLogo;
}

juce::Image ReverbDesign::getTransparentLogo()
{
    return transparentLogo;
}

juce::Image ReverbDesign::getZorvikLogo()
{
    return zorvikLogo;
}
