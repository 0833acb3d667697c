#include "ReverbEditor.h"

#include "UI/Controls/Filter/FilterContainer.h"
#include "UI/Controls/OnOff/OnOffContainer.h"
#include "UI/Controls/Radio/RadioContainer.h"

#include <cmath>

namespace
{
constexpr int filterTypeKey = 1;
constexpr int filterKey = 3;
constexpr int freezeKey = 10;
const juce::String filterTypeID("InputFilterType");

template <typename Control>
Control* controlAt(const std::map<int, UIContainer*>& containers, int key)
{
    const auto found = containers.find(key);
    return found != containers.end() ? dynamic_cast<Control*>(found->second) : nullptr;
}
} // namespace

ReverbEditor::ReverbEditor(EffectProcessor& owner, PluginDesign* pluginDesign, ContainerBuilder* builder)
    : Editor(owner, pluginDesign, builder)
{
    startListening();
}

ReverbEditor::~ReverbEditor()
{
    stopListening();
    filterPad = nullptr;
}

void ReverbEditor::configure()
{
    setSize(width, height);

    if (auto* radio = controlAt<RadioContainer>(containers, filterTypeKey))
        radio->setIsWaveform(true);
    if (auto* freeze = controlAt<OnOffContainer>(containers, freezeKey))
    {
        freeze->setDisplayTitle(false);
        freeze->setForceSquare(false);
    }
    auto* pad = controlAt<FilterContainer>(containers, filterKey);
    if (pad == nullptr)
        return;
    pad->setType(BiquadFilterType::lowShelf);
    filterPad = pad;

    // The parameter's own value: the state tree catches up with it only on a timer.
    const auto* value = effectProcessor->parameters.getRawParameterValue(filterTypeID);
    showFilterType(value != nullptr ? value->load() : 0.0f);
}

void ReverbEditor::showFilterType(float value)
{
    auto* pad = filterPad.load();
    if (pad != nullptr && std::isfinite(value))
        pad->setType(std::lround(value) == 1 ? BiquadFilterType::highPass : BiquadFilterType::lowShelf);
}

void ReverbEditor::parameterChanged(const juce::String& parameterID, float newValue)
{
    Editor::parameterChanged(parameterID, newValue);
    if (parameterID == filterTypeID)
        showFilterType(newValue);
}
