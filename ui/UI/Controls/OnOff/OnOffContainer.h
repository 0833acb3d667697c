#pragma once

#include "LookAndFeel/ButtonLookAndFeel.h"
#include "UI/Controls/OnOff/CustomToggleButton.h"
#include "UI/Controls/UIContainer.h"

#include <memory>

// A two-state parameter as one toggle box, bound through a button attachment.
class OnOffContainer : public UIContainer
{
public:
    OnOffContainer(Parameter* parameter, std::string title, std::vector<std::string> options);
    ~OnOffContainer() override;

    void attach(juce::AudioProcessorValueTreeState& state) override;
    void setMainColor(juce::Colour colour) override;
    void setIsGrey(bool grey) override;
    void resized() override;

    void setForceSquare(bool force) { lookAndFeel.forceSquare = force; }
    void setForceSmall(bool force);

    juce::ToggleButton& getButton() { return *button; }
    ButtonLookAndFeel& getLookAndFeel() { return lookAndFeel; }

private:
    std::unique_ptr<CustomToggleButton> button;
    ButtonLookAndFeel lookAndFeel;
    bool forceSmall = false;
    std::unique_ptr<juce::AudioProcessorValueTreeState::ButtonAttachment> attachment;
};
