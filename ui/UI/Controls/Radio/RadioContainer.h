#pragma once

#include "LookAndFeel/ButtonLookAndFeel.h"
#include "UI/Controls/OnOff/CustomToggleButton.h"
#include "UI/Controls/UIContainer.h"

#include <atomic>
#include <memory>

// A parameter with a few discrete values as a row or column of toggle boxes of which
// one is on. Host changes are stored by the listener and shown by a 12 Hz timer.
class RadioContainer : public UIContainer,
                       public juce::AudioProcessorValueTreeState::Listener,
                       public juce::Timer
{
public:
    RadioContainer(Parameter* parameter, std::string title, std::vector<std::string> options);
    ~RadioContainer() override;

    void attach(juce::AudioProcessorValueTreeState& state) override;
    void setMainColor(juce::Colour colour) override;
    void setIsGrey(bool grey) override;
    void timerCallback() override;
    void parameterChanged(const juce::String& parameterID, float newValue) override;
    void resized() override;

    void setIsWaveform(bool waveform) { lookAndFeel.isWaveform = waveform; }
    void setForceAdapt(bool force);
    void setIsHorizontal(bool horizontal);
    // One colour per button; a shorter list leaves the remaining buttons as they are.
    void setColors(const std::vector<juce::Colour>& colours);

    size_t getNumButtons() const { return buttons.size(); }
    juce::ToggleButton& getButton(size_t index) { return *buttons[index]; }
    ButtonLookAndFeel& getLookAndFeel() { return lookAndFeel; }

private:
    void select(int index);
    void detachLookAndFeels();

    std::vector<std::unique_ptr<CustomToggleButton>> buttons;
    std::vector<std::unique_ptr<ButtonLookAndFeel>> buttonLookAndFeels;
    ButtonLookAndFeel lookAndFeel;
    juce::AudioProcessorValueTreeState* state = nullptr;
    juce::RangedAudioParameter* hostParameter = nullptr;
    bool forceAdapt = false;
    bool isHorizontal = false;
    // Written by the parameter listener on any thread, read by the timer.
    std::atomic<int> pendingIndex { 0 };
    std::atomic<bool> dirty { false };
};
