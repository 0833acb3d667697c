#include "UI/Overlays/ControlEditorParameter.h"

#include "Binaries/Zorvik.h"
#include "Common/Parameters/Parameter.h"
#include "UI/Controls/ParameterGestures.h"

#include <charconv>
#include <cmath>
#include <system_error>

ControlEditorParameter::ControlEditorParameter()
    : nameLabel(std::make_unique<juce::Label>()),
      valueEditor(std::make_unique<juce::TextEditor>()),
      unitLabel(std::make_unique<juce::Label>()),
      okButton(std::make_unique<juce::TextButton>()),
      defaultButton(std::make_unique<juce::TextButton>())
{
    addAndMakeVisible(*nameLabel);
    addAndMakeVisible(*valueEditor);
    addAndMakeVisible(*okButton);
    addAndMakeVisible(*defaultButton);
    addAndMakeVisible(*unitLabel);

    nameLabel->setFont(Zorvik::getFontLight().withHeight(25.0f));
    nameLabel->setColour(juce::Label::textColourId, juce::Colours::white);
    nameLabel->setJustificationType(juce::Justification::centred);
    unitLabel->setFont(Zorvik::getFontLight().withHeight(20.0f));
    unitLabel->setColour(juce::Label::textColourId, juce::Colours::white);
    unitLabel->setJustificationType(juce::Justification::left);

    const auto field = Zorvik::background.brighter(0.04f);
    valueEditor->setLookAndFeel(&lookAndFeel);
    valueEditor->setColour(juce::TextEditor::backgroundColourId, field);
    valueEditor->setColour(juce::TextEditor::outlineColourId, juce::Colours::white);
    valueEditor->setColour(juce::TextEditor::focusedOutlineColourId, Zorvik::blue);
    valueEditor->setFont(Zorvik::getFontLight().withHeight(20.0f));
    valueEditor->setSelectAllWhenFocused(true);

    okButton->setLookAndFeel(&lookAndFeel);
    okButton->setButtonText("OK");
    okButton->setColour(juce::TextButton::buttonColourId, field);
    okButton->setColour(juce::TextButton::textColourOnId, Zorvik::blue);
    okButton->setColour(juce::TextButton::buttonOnColourId, Zorvik::background);

    defaultButton->setLookAndFeel(&lookAndFeel);
    defaultButton->setButtonText("Set to default value");
    defaultButton->setColour(juce::TextButton::buttonColourId, field);
    defaultButton->setColour(juce::TextButton::textColourOnId, juce::Colours::grey);
    defaultButton->setColour(juce::TextButton::buttonOnColourId, Zorvik::background);

    okButton->onClick = [this] { onConfirm(); };
    valueEditor->onReturnKey = [this] { onConfirm(); };
    defaultButton->onClick = [this] { onSetToDefault(); };
}

ControlEditorParameter::~ControlEditorParameter()
{
    valueEditor->setLookAndFeel(nullptr);
    okButton->setLookAndFeel(nullptr);
    defaultButton->setLookAndFeel(nullptr);
}

void ControlEditorParameter::resized()
{
    const int w = getWidth();
    const int h = getHeight();
    nameLabel->setBounds(0, 0, w, h / 3);
    valueEditor->setBounds(4, h / 3 + 4, w / 2 - 4, h / 3 - 8);
    unitLabel->setBounds(w / 2 + 4, h / 3 + 4, w / 6 - 4, h / 3 - 8);
    okButton->setBounds((4 * w) / 6 + 4, h / 3 + 4, w / 3 - 8, h / 3 - 8);
    defaultButton->setBounds(4, (2 * h) / 3 + 4, w - 8, h / 3 - 8);
}

void ControlEditorParameter::setControl(EditableParameter p)
{
    hostParameter = p.hostParameter;
    defaultValue = p.parameter != nullptr ? p.parameter->defaultValue : 0.0f;
    const auto unit = p.parameter != nullptr ? p.parameter->unit : ParameterUnit::number;

    const float current = hostParameter != nullptr ? hostParameter->convertFrom0to1(hostParameter->getValue()) : 0.0f;
    valueEditor->setText(formatValue(current), true);
    nameLabel->setText(p.name, juce::dontSendNotification);
    unitLabel->setText(juce::String::fromUTF8(getUnitString(unit).c_str()), juce::dontSendNotification);
    valueEditor->toFront(true);
}

void ControlEditorParameter::onConfirm()
{
    // Text that is no number leaves the parameter as it is.
    if (const auto value = parseValue(valueEditor->getText(), unitLabel->getText()))
        write(*value);
    if (delegate != nullptr)
        delegate->onConfirm();
}

void ControlEditorParameter::onSetToDefault()
{
    write(defaultValue);
    if (delegate != nullptr)
        delegate->onConfirm();
}

void ControlEditorParameter::write(float plainValue)
{
    ParameterGestures::writeOnce(hostParameter, plainValue);
}

std::string ControlEditorParameter::getUnitString(ParameterUnit unit)
{
    switch (unit)
    {
        case ParameterUnit::percent: return "%";
        case ParameterUnit::seconds: return "s";
        case ParameterUnit::milliseconds: return "ms";
        case ParameterUnit::degrees: return "\xc2\xb0";
        case ParameterUnit::hertz: return "Hz";
        case ParameterUnit::semitones: return "st";
        case ParameterUnit::decibels: return "dB";
        case ParameterUnit::phase: return "\xc2\xb0";
        case ParameterUnit::number:
        case ParameterUnit::stepped:
        case ParameterUnit::boolean:
        case ParameterUnit::rate:
        case ParameterUnit::generic:
        case ParameterUnit::amount:
        default: return {};
    }
}

std::optional<float> ControlEditorParameter::parseValue(const juce::String& text, const juce::String& unit)
{
    const std::string trimmed = text.trim().toStdString();
    const char* begin = trimmed.data();
    const char* end = begin + trimmed.size();
    if (begin != end && *begin == '+')
        ++begin;

    double value = 0.0;
    const auto [rest, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || !std::isfinite(value) || std::abs(value) > 3.0e38)
        return std::nullopt;

    // Only the unit may follow the number ("12.5 ms"); "12,5" is refused, not read as 12.
    const auto suffix = juce::String::fromUTF8(rest, static_cast<int>(end - rest)).trim();
    if (suffix.isNotEmpty() && !suffix.equalsIgnoreCase(unit.trim()))
        return std::nullopt;
    return static_cast<float>(value);
}

juce::String ControlEditorParameter::formatValue(float value)
{
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof(buffer), value);
    if (error != std::errc())
        return juce::String(value);
    return juce::String(buffer, static_cast<size_t>(end - buffer));
}
