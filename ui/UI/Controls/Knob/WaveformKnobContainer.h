#pragma once

#include "UI/Controls/Knob/KnobContainer.h"

#include <string>

// A knob whose face shows a small drawing of the curve it shapes ("shape" or
// "warmth") instead of the value text; any other name draws the ring only.
class WaveformKnobContainer : public KnobContainer
{
public:
    WaveformKnobContainer(Parameter* parameter, std::string title, bool reverse, std::string waveform);
};
