#pragma once

#include "LookAndFeel/PresetButtonLookAndFeel.h"
#include "UI/Overlays/Browser/SaveAsDialogDelegate.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

// Asks for the name of a new user preset. Names that cannot be file names are
// refused; a name that an existing user preset has must be confirmed a second time.
class SaveAsDialog : public juce::Component
{
public:
    explicit SaveAsDialog(SaveAsDialogDelegate* delegate);
    ~SaveAsDialog() override;

    void resized() override;
    void paint(juce::Graphics& g) override;
    void visibilityChanged() override;

    void saveAs();
    void inputTextChanged();
    // Shows why the preset was not saved; a save in progress keeps the dialog open.
    void showFailure(const juce::String& message);

    // Whether a user preset of this name exists; set by the owner. Unset: none exists.
    std::function<bool(const juce::String& name)> isNameTaken;

    SaveAsDialogDelegate* delegate;
    juce::Label titleLabel;
    juce::TextEditor nameEditor;
    juce::TextButton saveButton;
    juce::TextButton cancelButton;
    PresetButtonLookAndFeel look;

private:
    bool replaceConfirmed = false;  // the user was told the name is taken
    bool failed = false;            // the save in progress was reported as failed
};
