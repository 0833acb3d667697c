#pragma once

#include "UI/Controls/Slider/SliderContainer.h"

// One parameter as a knob; dragging either way turns it.
class KnobContainer : public SliderContainer
{
public:
    KnobContainer(Parameter* parameter, std::string title, bool reverse, std::vector<std::string> valueNames);
};
