#include "UI/Overlays/Browser/SaveAsDialog.h"
#include "UI/Overlays/Browser/DialogPanel.h"

#include "Binaries/Zorvik.h"
#include "Preset/PresetFileName.h"

namespace
{
    const char* const titleText = "Save preset as...";
}

SaveAsDialog::SaveAsDialog(SaveAsDialogDelegate* d) : delegate(d)
{
    addAndMakeVisible(titleLabel);
    addAndMakeVisible(nameEditor);
    titleLabel.setLookAndFeel(&look);
    titleLabel.setText(titleText, juce::dontSendNotification);
    cancelButton.setButtonText("CANCEL");
    saveButton.setButtonText("SAVE");
    titleLabel.setJustificationType(juce::Justification::centred);

    for (auto* button : { &cancelButton, &saveButton })
    {
        addAndMakeVisible(*button);
        button->setLookAndFeel(&look);
        button->setColour(juce::TextButton::buttonColourId, Zorvik::background.brighter(0.04f));
        button->setColour(juce::TextButton::textColourOnId, Zorvik::blue);
        button->setColour(juce::TextButton::buttonOnColourId, Zorvik::background);
    }
    saveButton.setColour(juce::TextButton::textColourOnId, Zorvik::blue);
    cancelButton.setColour(juce::TextButton::textColourOnId, juce::Colours::grey);

    nameEditor.setColour(juce::TextEditor::backgroundColourId, Zorvik::background.brighter(0.04f));
    nameEditor.setColour(juce::TextEditor::outlineColourId, juce::Colours::white);
    nameEditor.setColour(juce::TextEditor::focusedOutlineColourId, Zorvik::blue);
    nameEditor.setFont(Zorvik::getFontLight().withHeight(16.0f));
    nameEditor.setTextToShowWhenEmpty("ENTER PRESET NAME...", juce::Colours::grey);
    nameEditor.setSelectAllWhenFocused(true);

    cancelButton.onClick = [this] { setVisible(false); };
    saveButton.onClick = [this] { saveAs(); };
    nameEditor.onTextChange = [this] { inputTextChanged(); };
    nameEditor.onReturnKey = [this] { saveAs(); };

    inputTextChanged();
}

SaveAsDialog::~SaveAsDialog()
{
    titleLabel.setLookAndFeel(nullptr);
    saveButton.setLookAndFeel(nullptr);
    cancelButton.setLookAndFeel(nullptr);
}

void SaveAsDialog::saveAs()
{
    const auto name = nameEditor.getText();
    if (delegate == nullptr || !PresetFileName::isValid(name))
        return;
    if (!replaceConfirmed && isNameTaken && isNameTaken(name))
    {
        replaceConfirmed = true;
        titleLabel.setText("Replace existing preset?", juce::dontSendNotification);
        saveButton.setButtonText("REPLACE");
        return;
    }
    // A save that fails is told on the message line and keeps the dialog open.
    failed = false;
    delegate->onSavePresetAs(name);
    if (!failed)
        setVisible(false);
}

void SaveAsDialog::showFailure(const juce::String& message)
{
    failed = true;
    titleLabel.setText(message, juce::dontSendNotification);
}

void SaveAsDialog::inputTextChanged()
{
    const auto name = nameEditor.getText();
    const bool valid = PresetFileName::isValid(name);
    replaceConfirmed = false;
    saveButton.setButtonText("SAVE");
    saveButton.setEnabled(valid);
    titleLabel.setText(name.isEmpty() || valid ? titleText : "Invalid preset name", juce::dontSendNotification);
}

void SaveAsDialog::resized()
{
    const int w = getWidth();
    const int h = getHeight();
    const int mx = w / 4;
    const int my = static_cast<int>(static_cast<float>(h) * 0.35f);
    const int iw = std::max(w - 2 * mx, 0);
    const int ih = std::max(h - 2 * my, 0);
    const float rowHeight = static_cast<float>(static_cast<int>(static_cast<float>(ih) * 0.7f));

    titleLabel.setBounds(mx, my, iw, static_cast<int>(rowHeight * 0.3f));
    nameEditor.setBounds(mx, my + static_cast<int>(rowHeight * 0.45f), iw, static_cast<int>(rowHeight * 0.45f));
    const int row = static_cast<int>(rowHeight);
    saveButton.setBounds(mx, my + row, iw / 2 - 2, ih - row);
    cancelButton.setBounds(mx + iw / 2 + 2, my + row, iw / 2 - 2, ih - row);
}

void SaveAsDialog::paint(juce::Graphics& g)
{
    paintDialogPanel(g, getWidth(), getHeight());
}

void SaveAsDialog::visibilityChanged()
{
    if (!isVisible())
        return;
    inputTextChanged();
    toFront(true);
    nameEditor.toFront(true);
    nameEditor.selectAll();
}
