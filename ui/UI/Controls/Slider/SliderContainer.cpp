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
    attachment.reset();
    slider.reset();
}

void SliderContainer::attach(juce::AudioProcessorValueTreeState& state)
{
    if (parameter == nullptr || state.getParameter(parameter->name) == nullptr)
        return;
    attachment = std::make_unique<juce::AudioProcessorValueTreeState::SliderAttachment>(state, parameter->name,
                                                                                          *slider);
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
