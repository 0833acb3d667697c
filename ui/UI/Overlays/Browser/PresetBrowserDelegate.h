#pragma once

#include <juce_core/juce_core.h>

// Receives the requests of the preset browser (implemented by the plug-in header).
class PresetBrowserDelegate
{
public:
    virtual ~PresetBrowserDelegate() = default;
    virtual void onPresetTypeSelected(int row) = 0;
    virtual void onPresetDirectorySelected(int row) = 0;
    virtual void onPresetSelected(int row) = 0;
    virtual void onSavePreset() = 0;
    virtual void onSavePresetAs(juce::String name) = 0;
    virtual void onDeletePreset() = 0;
};
