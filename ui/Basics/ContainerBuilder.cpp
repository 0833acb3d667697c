#include "Basics/ContainerBuilder.h"

#include "UI/Controls/DropdownList/DropdownListContainer.h"
#include "UI/Controls/Filter/DoubleFilterContainer.h"
#include "UI/Controls/CurveSequencer/CurveSequencerContainer.h"
#include "UI/Controls/Filter/FilterContainer.h"
#include "UI/Controls/Granulizer/GranulizerViewContainer.h"
#include "UI/Controls/Knob/KnobContainer.h"
#include "UI/Controls/Knob/WaveformKnobContainer.h"
#include "UI/Controls/Meters/PeakMeterContainer.h"
#include "UI/Controls/Oscilloscopes/MultiOscilloscopeContainer.h"
#include "UI/Controls/Phaser/PhaserViewContainer.h"
#include "UI/Controls/OnOff/OnOffContainer.h"
#include "UI/Controls/Radio/RadioContainer.h"
#include "UI/Controls/Slider/DoubleSliderContainer.h"
#include "UI/Controls/Slider/SliderContainer.h"
#include "UI/Controls/Waveshaper/WaveshaperViewContainer.h"
#include "UI/Controls/XY/TimeStopXYControlContainer.h"
#include "UI/Controls/XY/XYControlContainer.h"

UIContainer* ContainerBuilder::build(Parameter* parameter, std::string title, int kind,
                                     std::vector<Parameter*> linked, std::vector<std::string> options,
                                     std::vector<juce::Colour> colours)
{
    switch (kind)
    {
        case 0:
            return new SliderContainer(parameter, title, false, options);
        case 1:
            return new DoubleSliderContainer(parameter, linked.at(0), title, colours);
        case 2:
            return new KnobContainer(parameter, title, false, options);
        case 3:
            // A row without a waveform name draws the knob without a glyph.
            return new WaveformKnobContainer(parameter, title, false, options.empty() ? std::string() : options[0]);
        case 4:
            return new OnOffContainer(parameter, title, options);
        case 5:
            return new XYControlContainer(parameter, linked.at(0), title);
        case 6:
            return new TimeStopXYControlContainer(parameter, linked.at(0), linked.at(1), title);
        case 7:
            return new FilterContainer(parameter, linked.at(0), title);
        case 8:
            return new DoubleFilterContainer(parameter, linked.at(0), linked.at(1), linked.at(2), linked.at(3),
                                             linked.at(4), title);
        case 9:
            return new RadioContainer(parameter, title, options);
        case 10:
            return new PeakMeterContainer(parameter, title);
        case 11:
            return new DropdownListContainer(parameter, title, options);
        case 12:
            return new MultiOscilloscopeContainer(parameter, title);
        case 13:
            return new GranulizerViewContainer(parameter, title);
        case 14:
            // Sixteen step values and sixteen curve modes: the parameter and 31 more.
            if (linked.size() < 31)
                throw std::out_of_range("a curve sequencer needs 31 linked parameters");
            return new CurveSequencerContainer(parameter, linked, title);
        case 15:
            return new WaveshaperViewContainer(parameter, linked.at(0), linked.at(1), title);
        case 16:
            return new PhaserViewContainer(parameter, linked.at(0), title);
        default:
            return nullptr;
    }
}
