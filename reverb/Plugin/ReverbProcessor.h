#pragma once

#include "Basics/EffectProcessor.h"

// The product's processor: the reverb kernel, its parameter table, the preset
// format and the buses, on the generic effect processor.
class ReverbProcessor : public EffectProcessor
{
public:
    ReverbProcessor();
    ~ReverbProcessor() override;

    juce::AudioProcessorEditor* createEditor() override;

    // Long enough for the current settings to decay below hearing; infinite while frozen.
    double getTailLengthSeconds() const override;

private:
    static BusesProperties reverbBuses();
};
