#pragma once

#include "LookAndFeel/SliderLookAndFeel.h"
#include "UI/Controls/Slider/CustomSlider.h"
#include "UI/Controls/UIContainer.h"

#include <memory>

// One parameter as a vertical bar, with its value text drawn inside the bar, bound
// to the host parameter through a slider attachment.
class SliderContainer : public UIContainer
{
public:
    SliderContainer(Parameter* parameter, std::string title, bool reverse, std::vector<std::string> valueNames);
    ~SliderContainer() override;

    void attach(juce::AudioProcessorValueTreeState& state) override;
    void setMainColor(juce::Colour colour) override;
    void setIsGrey(bool grey) override;
    void resized() override;

    void setForceAdapt(bool force);

    CustomSlider& getSlider() { return *slider; }
    SliderLookAndFeel& getLookAndFeel() { return lookAndFeel; }

protected:
    std::unique_ptr<CustomSlider> slider;
    SliderLookAndFeel lookAndFeel;
    bool forceAdapt = false;

private:
    bool isDragging() const { return slider->getThumbBeingDragged() >= 0; }
    void endDragGesture();

    // The attachment begins and ends the host's gesture of each drag.
    std::unique_ptr<juce::AudioProcessorValueTreeState::SliderAttachment> attachment;
    juce::RangedAudioParameter* attachedHost = nullptr;
};
