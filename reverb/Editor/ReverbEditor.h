#pragma once

#include "Basics/Editor.h"

#include <atomic>

class FilterContainer;

// The reverb's window: the generic editor over the reverb's design, whose input
// filter pad follows the filter type in force.
class ReverbEditor : public Editor
{
public:
    ReverbEditor(EffectProcessor& processor, PluginDesign* design, ContainerBuilder* builder);
    ~ReverbEditor() override;

    // Sizes the window and finishes the controls that need more than their design row.
    void configure();

    // May run on any thread: raises the modified mark and sets the filter pad's type.
    void parameterChanged(const juce::String& parameterID, float newValue) override;

    static constexpr int width = 692;
    static constexpr int height = 330;

private:
    void showFilterType(float value);

    std::atomic<FilterContainer*> filterPad { nullptr };
};
