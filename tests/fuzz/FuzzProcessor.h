#pragma once

// The reverb's processor without its editor, for the fuzz harnesses.
#include "Basics/EffectProcessor.h"
#include "ZorvikReverbDSPKernel.h"

#include <cmath>
#include <cstdlib>

class FuzzProcessor : public EffectProcessor
{
public:
    FuzzProcessor()
        : EffectProcessor(new ZorvikReverbDSPKernel(), "rbprs", "zrvkreverb", "Default", new PresetParser(),
                          BusesProperties()
                              .withInput("Input", juce::AudioChannelSet::stereo(), true)
                              .withOutput("Output", juce::AudioChannelSet::stereo(), true))
    {
        prepareToPlay(44100.0, 256);
    }

    juce::AudioProcessorEditor* createEditor() override { return nullptr; }

    // One block of noise through the processor; stops the run when the output is not finite.
    void processNoise()
    {
        juce::AudioBuffer<float> buffer(2, 256);
        juce::Random random(1);
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                buffer.setSample(c, i, random.nextFloat() * 2.0f - 1.0f);
        juce::MidiBuffer midi;
        processBlock(buffer, midi);
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                if (!std::isfinite(buffer.getSample(c, i)))
                    std::abort();
    }
};

// The processor the harness drives, made once with the message manager that its
// parameter state needs. Both live until the process ends: JUCE's own shutdown
// must not run after the static objects it uses are gone.
inline FuzzProcessor& fuzzProcessor()
{
    static auto* juce = new juce::ScopedJuceInitialiser_GUI();
    static auto* processor = new FuzzProcessor();
    juce::ignoreUnused(juce);
    return *processor;
}
