#include "UI/Controls/Knob/KnobContainer.h"

KnobContainer::KnobContainer(Parameter* p, std::string t, bool reverse, std::vector<std::string> valueNames)
    : SliderContainer(p, std::move(t), reverse, std::move(valueNames))
{
    slider->setSliderStyle(juce::Slider::RotaryHorizontalVerticalDrag);
}
