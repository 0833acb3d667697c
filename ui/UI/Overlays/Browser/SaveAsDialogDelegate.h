#pragma once

#include <juce_core/juce_core.h>

// Receives the name chosen in the save-as dialog.
class SaveAsDialogDelegate
{
public:
    virtual ~SaveAsDialogDelegate() = default;
    virtual void onSavePresetAs(juce::String name) = 0;
};
