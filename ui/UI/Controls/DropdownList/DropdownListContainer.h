#pragma once

#include "LookAndFeel/ComboBoxLookAndFeel.h"
#include "UI/Controls/DropdownList/CustomArrowButton.h"
#include "UI/Controls/DropdownList/CustomComboBox.h"
#include "UI/Controls/UIContainer.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

// A list choice for a parameter whose value is an option index: the current option's
// text centred in the main colour, arrows that step to the previous and next option
// (wrapping round), and a pop-up list of all options when the text is clicked.
// Host changes are stored by the listener and shown by update(), which a 12 Hz timer
// calls once the container is attached.
class DropdownListContainer : public UIContainer,
                              private juce::AudioProcessorValueTreeState::Listener,
                              private juce::Timer
{
public:
    DropdownListContainer(Parameter* parameter, std::string title, std::vector<std::string> options);
    ~DropdownListContainer() override;

    void resized() override;
    void attach(juce::AudioProcessorValueTreeState& state) override;
    void setMainColor(juce::Colour colour) override;
    // Shows the last value received from the host (message thread).
    void update() override;
    // The 12 Hz tick: update().
    void timerCallback() override;

    // Whether to reserve room for, and show, the two arrows. Turning them off hides
    // them and lays out at once; turning them on takes effect at the next layout.
    void useArrows(bool use);

    void onPreviousClick();
    void onNextClick();
    void onDropdownItemSelected();

    int getCurrentIndex() const { return currentIndex.load(); }
    bool getPendingUpdate() const { return pendingUpdate.load(); }
    juce::Label& getLabel() { return *label; }
    juce::ComboBox& getComboBox() { return *comboBox; }
    CustomArrowButton& getPreviousButton() { return *previousButton; }
    CustomArrowButton& getNextButton() { return *nextButton; }
    ComboBoxLookAndFeel& getLookAndFeel() { return lookAndFeel; }

private:
    void parameterChanged(const juce::String& parameterID, float newValue) override;
    void select(int index);

    bool showArrows = true;
    ComboBoxLookAndFeel lookAndFeel;
    juce::AudioProcessorValueTreeState* valueTreeState = nullptr;
    juce::RangedAudioParameter* hostParameter = nullptr;
    juce::StringArray options;
    // Written by the parameter listener on any thread, read on the message thread.
    std::atomic<int> currentIndex { 0 };
    std::atomic<bool> pendingUpdate { false };
    std::unique_ptr<juce::Label> label;
    std::unique_ptr<CustomComboBox> comboBox;
    std::unique_ptr<CustomArrowButton> previousButton;
    std::unique_ptr<CustomArrowButton> nextButton;
};
