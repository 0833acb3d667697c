#include "ReverbProcessor.h"

#include "ReverbDesign.h"
#include "ReverbEditor.h"
#include "ZorvikReverbDSPKernel.h"

#include <limits>

namespace
{
// Beyond the reverb time (a 60 dB decay) the tail is followed down another 30 dB;
// the early reflections and the ducker's release add up to about a second.
constexpr double decaysPerReverbTime = 1.5;
constexpr double reflectionsSeconds = 1.0;
} // namespace

juce::AudioProcessor::BusesProperties ReverbProcessor::reverbBuses()
{
    return BusesProperties()
        .withInput("Input", juce::AudioChannelSet::stereo(), true)
        .withOutput("Output", juce::AudioChannelSet::stereo(), true);
}

ReverbProcessor::ReverbProcessor()
    : EffectProcessor(new ZorvikReverbDSPKernel(), "rbprs", "zrvkreverb", "Default", new PresetParser(),
                      reverbBuses())
{
}

ReverbProcessor::~ReverbProcessor() = default;

juce::AudioProcessorEditor* ReverbProcessor::createEditor()
{
    auto* design = new ReverbDesign();
    design->createLayout();
    auto* editor = new ReverbEditor(*this, design, new ContainerBuilder());
    editor->configure();
    return editor;
}

double ReverbProcessor::getTailLengthSeconds() const
{
    auto value = [this](const char* id) {
        const auto* raw = parameters.getRawParameterValue(id);
        return raw != nullptr ? static_cast<double>(raw->load()) : 0.0;
    };
    if (value("Freeze") >= 0.5)
        return std::numeric_limits<double>::infinity();
    const double preDelay = juce::jlimit(0.0, 1.0, value("PreDelay") / 1000.0);
    const double reverbTime = juce::jlimit(0.0, 60.0, value("ReverbTime"));
    return preDelay + reflectionsSeconds + decaysPerReverbTime * reverbTime;
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new ReverbProcessor();
}
