#pragma once

// The generic processor over the small test kernel, for what the reverb's own
// parameters never use: a stepped parameter and preset files that store text.
#include "Basics/EffectProcessor.h"
#include "Preset/PresetParser.h"
#include "support/TestKernel.h"

#include <vector>

namespace zorvik_test
{
// The names of the steps -4 to 4 of the test kernel's stepped parameter.
inline const char* stepName(int value)
{
    static const char* const names[] = { "minus four", "minus three", "minus two", "minus one", "zero",
                                         "one",        "two",         "three",     "four" };
    return value >= -4 && value <= 4 ? names[value + 4] : nullptr;
}

inline const std::vector<ParameterChoice> shapes { { "Sine" }, { "Triangle" }, { "Square" }, { "Noise" } };

// The generic processor over the small test kernel, whose preset files name values
// by text: "Steps" (-4 to 4) by its steps' names, "Choice" (0 to 3) by its choices.
class TextValueProcessor : public EffectProcessor
{
public:
    TextValueProcessor()
        : EffectProcessor(kernelWithTexts(), "tvp", "test", "", new PresetParser(),
                          BusesProperties()
                              .withInput("Input", juce::AudioChannelSet::stereo(), true)
                              .withOutput("Output", juce::AudioChannelSet::stereo(), true))
    {
    }

    juce::AudioProcessorEditor* createEditor() override { return nullptr; }

    float plain(const juce::String& id)
    {
        auto* parameter = parameters.getParameter(id);
        return parameter->convertFrom0to1(parameter->getValue());
    }

private:
    static FilterDSPKernel* kernelWithTexts()
    {
        auto* kernel = new TestKernel();
        auto& list = *kernel->parameterList;
        list[TestParameterList::stepped]->intToText = stepName;
        list[TestParameterList::stepped]->flags |= ParameterFlag::presetText;
        list[TestParameterList::choice]->choiceList = &shapes;
        list[TestParameterList::choice]->flags |= ParameterFlag::presetText;
        return kernel;
    }
};
} // namespace zorvik_test
