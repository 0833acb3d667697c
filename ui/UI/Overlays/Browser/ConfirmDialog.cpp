#include "UI/Overlays/Browser/ConfirmDialog.h"
#include "UI/Overlays/Browser/DialogPanel.h"

#include "Binaries/Zorvik.h"

ConfirmDialog::ConfirmDialog(ConfirmDialogDelegate* d) : delegate(d)
{
    addAndMakeVisible(messageLabel);
    messageLabel.setLookAndFeel(&look);
    messageLabel.setText("Are you sure you want to delete this preset?", juce::dontSendNotification);
    messageLabel.setJustificationType(juce::Justification::centred);

    cancelButton.setButtonText("CANCEL");
    deleteButton.setButtonText("DELETE");
    for (auto* button : { &cancelButton, &deleteButton })
    {
        addAndMakeVisible(*button);
        button->setLookAndFeel(&look);
        button->setColour(juce::TextButton::buttonColourId, Zorvik::background.brighter(0.04f));
        button->setColour(juce::TextButton::textColourOnId, Zorvik::blue);
        button->setColour(juce::TextButton::buttonOnColourId, Zorvik::background);
    }
    deleteButton.setColour(juce::TextButton::textColourOnId, Zorvik::red);
    cancelButton.setColour(juce::TextButton::textColourOnId, juce::Colours::grey);

    cancelButton.onClick = [this] { setVisible(false); };
    deleteButton.onClick = [this] {
        if (delegate == nullptr)
            return;
        // Hidden first: the delegate may rebuild what lies beneath.
        setVisible(false);
        delegate->onDelete();
    };
}

ConfirmDialog::~ConfirmDialog()
{
    messageLabel.setLookAndFeel(nullptr);
    deleteButton.setLookAndFeel(nullptr);
    cancelButton.setLookAndFeel(nullptr);
}

void ConfirmDialog::resized()
{
    const int w = getWidth();
    const int h = getHeight();
    const int mx = w / 4;
    const int my = static_cast<int>(static_cast<float>(h) * 0.35f);
    const int iw = std::max(w - 2 * mx, 0);
    const int ih = std::max(h - 2 * my, 0);
    const int rowHeight = static_cast<int>(static_cast<float>(ih) * 0.7f);

    messageLabel.setBounds(mx, my, iw, static_cast<int>(static_cast<float>(rowHeight) * 0.7f));
    deleteButton.setBounds(mx, my + rowHeight, iw / 2 - 2, ih - rowHeight);
    cancelButton.setBounds(mx + iw / 2 + 2, my + rowHeight, iw / 2 - 2, ih - rowHeight);
}

void ConfirmDialog::paint(juce::Graphics& g)
{
    paintDialogPanel(g, getWidth(), getHeight());
}

void ConfirmDialog::visibilityChanged()
{
    if (!isVisible())
        return;
    toFront(true);
    deleteButton.toFront(true);
}
