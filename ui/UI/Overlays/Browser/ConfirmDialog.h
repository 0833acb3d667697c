#pragma once

#include "LookAndFeel/PresetButtonLookAndFeel.h"
#include "UI/Overlays/Browser/ConfirmDialogDelegate.h"

#include <juce_gui_basics/juce_gui_basics.h>

// Asks before a preset is deleted.
class ConfirmDialog : public juce::Component
{
public:
    explicit ConfirmDialog(ConfirmDialogDelegate* delegate);
    ~ConfirmDialog() override;

    void resized() override;
    void paint(juce::Graphics& g) override;
    void visibilityChanged() override;

    ConfirmDialogDelegate* delegate;
    juce::Label messageLabel;
    juce::TextButton deleteButton;
    juce::TextButton cancelButton;
    PresetButtonLookAndFeel look;
};
