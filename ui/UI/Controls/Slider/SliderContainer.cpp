#include "UI/Controls/Slider/SliderContainer.h"

#include "UI/Controls/Slider/ReverseSlider.h"

SliderContainer::SliderContainer(Parameter* p, std::string t, bool reverse, std::vector<std::string> valueNames)
    : UIContainer(p, std::move(t)),
      slider(reverse ? std::unique_ptr<CustomSlider>(new ReverseSlider()) : std::make_unique<CustomSlider>())
{
    slider->setSliderStyle(juce::Slider::LinearVertical);
    slider->setTextBoxStyle(juce::Slider::NoTextBox, true, 78, 30);
    lookAndFeel.mainColour = mainColour;
    slider->setLookAndFeel(&lookAndFeel);
    addAndMakeVisible(*slider);

    lookAndFeel.valueNames = std::move(valueNames);
    if (parameter != nullptr)
    {
        lookAndFeel.unitCode = static_cast<int>(parameter->unit);
        lookAndFeel.flags = parameter->flags;
    }
}

SliderContainer::~SliderContainer()
{
    slider->setLookAndFeel(nullptr);
    endDragGesture();
    attachment.reset();
    slider.reset();
}

// A drag in progress when its attachment goes away would leave the host's gesture
// open: the attachment that would end it at mouse up is gone by then.
void SliderContainer::endDragGesture()
{
    if (attachedHost != nullptr && isDragging())
        attachedHost->endChangeGesture();
}

void SliderContainer::attach(juce::AudioProcessorValueTreeState& state)
{
    auto* host = parameter != nullptr ? state.getParameter(parameter->name) : nullptr;
    if (host == nullptr)
        return;
    endDragGesture();
    attachment.reset(); // before the new one moves the slider
    attachment = std::make_unique<juce::AudioProcessorValueTreeState::SliderAttachment>(state, parameter->name,
                                                                                          *slider);
    attachedHost = host;
    // The new attachment ends the drag under way at mouse up.
    if (isDragging())
        host->beginChangeGesture();
}

void SliderContainer::setMainColor(juce::Colour colour)
{
    UIContainer::setMainColor(colour);
    lookAndFeel.mainColour = colour;
}

void SliderContainer::setIsGrey(bool grey)
{
    UIContainer::setIsGrey(grey);
    lookAndFeel.isGrey = grey;
    repaint();
}

void SliderContainer::setForceAdapt(bool force)
{
    forceAdapt = force;
    resized();
}

void SliderContainer::resized()
{
    UIContainer::resized();
    const int width = getWidth();
    const int sliderWidth = forceAdapt ? width - titleStripHeight + 6 : width;
    slider->setBounds((width - sliderWidth) / 2, titleStripHeight, sliderWidth, getHeight() - titleStripHeight);
}
