#pragma once

#include <juce_core/juce_core.h>

class Preset;

// Receives the preset requests of the plug-in header and its preset browser
// (implemented by the editor).
class PluginHeaderDelegate
{
public:
    virtual ~PluginHeaderDelegate() = default;
    virtual void onPresetTypeSelected(int type) = 0;
    virtual void onPresetDirectorySelected(int directory) = 0;
    virtual void onPresetSelected(int index) = 0;
    virtual void previousPreset() = 0;
    virtual void nextPreset() = 0;
    virtual void savePreset(Preset* preset) = 0;
    virtual void savePresetAs(juce::String name) = 0;
    virtual void deletePreset(Preset* preset) = 0;
};
