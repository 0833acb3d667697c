#pragma once

#include "Basics/EditableParameter.h"
#include "Common/Parameters/ParameterUnit.h"
#include "LookAndFeel/PresetButtonLookAndFeel.h"
#include "UI/Overlays/ControlEditorParameterDelegate.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <optional>
#include <string>

// One row of the control value editor: the parameter's name, a field for an exact
// value with its unit, "OK" and "Set to default value".
class ControlEditorParameter : public juce::Component
{
public:
    ControlEditorParameter();
    ~ControlEditorParameter() override;

    void resized() override;

    void setControl(EditableParameter p);
    void onConfirm();
    void onSetToDefault();

    static std::string getUnitString(ParameterUnit unit);

    // The number typed at the start of the text, read the same in every locale ('.'
    // as the decimal point), optionally followed by the unit. Nothing for other
    // text, for non-finite numbers and for numbers out of the float range.
    static std::optional<float> parseValue(const juce::String& text, const juce::String& unit);

    // The shortest text that reads back as the same float.
    static juce::String formatValue(float value);

    ControlEditorParameterDelegate* delegate = nullptr;
    juce::RangedAudioParameter* hostParameter = nullptr;
    float defaultValue = 0.0f;
    std::unique_ptr<juce::Label> nameLabel;
    std::unique_ptr<juce::TextEditor> valueEditor;
    std::unique_ptr<juce::Label> unitLabel;
    std::unique_ptr<juce::TextButton> okButton;
    std::unique_ptr<juce::TextButton> defaultButton;
    PresetButtonLookAndFeel lookAndFeel;

private:
    // Writes a plain value, limited to the range, as one host change gesture.
    void write(float plainValue);
};
