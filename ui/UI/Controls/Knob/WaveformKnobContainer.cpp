#include "UI/Controls/Knob/WaveformKnobContainer.h"

WaveformKnobContainer::WaveformKnobContainer(Parameter* p, std::string t, bool reverse, std::string waveform)
    : KnobContainer(p, std::move(t), reverse, {})
{
    lookAndFeel.isWaveform = true;
    lookAndFeel.waveformName = std::move(waveform);
    slider->setSliderStyle(juce::Slider::RotaryHorizontalVerticalDrag);
}
