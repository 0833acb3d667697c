#include "Basics/ContainerBuilder.h"

#include "UI/Controls/Filter/FilterContainer.h"
#include "UI/Controls/Knob/KnobContainer.h"
#include "UI/Controls/Meters/PeakMeterContainer.h"
#include "UI/Controls/OnOff/OnOffContainer.h"
#include "UI/Controls/Radio/RadioContainer.h"
#include "UI/Controls/Slider/SliderContainer.h"
#include "UI/Controls/XY/XYControlContainer.h"

UIContainer* ContainerBuilder::build(Parameter* parameter, std::string title, int kind,
                                     std::vector<Parameter*> linked, std::vector<std::string> options,
                                     std::vector<juce::Colour>)
{
    switch (kind)
    {
        case 0:
            return new SliderContainer(parameter, title, false, options);
        case 2:
            return new KnobContainer(parameter, title, false, options);
        case 4:
            return new OnOffContainer(parameter, title, options);
        case 5:
            return new XYControlContainer(parameter, linked.at(0), title);
        case 7:
            return new FilterContainer(parameter, linked.at(0), title);
        case 9:
            return new RadioContainer(parameter, title, options);
        case 10:
            return new PeakMeterContainer(parameter, title);
        default:
            return nullptr;
    }
}
