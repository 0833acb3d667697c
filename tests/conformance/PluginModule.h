#pragma once

// The built plug-in, loaded as a VST3 host loads it: dlopen of the bundle's shared
// object, ModuleEntry, GetPluginFactory, then the component and its controller
// created through the factory and connected to each other.
#include "ParameterChanges.h"

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace conformance
{
// The class IDs the bundle must publish: JUCE's fixed prefixes, then the maker
// code "Zrvk" and the product code "Rvrb".
extern const Steinberg::TUID componentClassId;
extern const Steinberg::TUID controllerClassId;

// The shared object, loaded once per test process and entered once.
class PluginModule
{
public:
    static PluginModule& get();
    Steinberg::IPluginFactory* factory() const { return pluginFactory; }

    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

private:
    PluginModule();
    ~PluginModule();

    void* handle = nullptr;
    Steinberg::IPluginFactory* pluginFactory = nullptr;
};

// Host-side audio buffers for one stereo (or mono) bus in and out.
class AudioBlock
{
public:
    AudioBlock(int channels, int frames);

    int frames() const { return static_cast<int>(input[0].size()); }
    std::vector<std::vector<float>> input;
    std::vector<std::vector<float>> output;
    Steinberg::Vst::AudioBusBuffers inputBus {};
    Steinberg::Vst::AudioBusBuffers outputBus {};

    void fillNoise(unsigned seed, float level = 0.5f);
    void clearInput() { fillNoise(0, 0.0f); }
    bool outputIsFinite() const { return std::isfinite(outputPeak()); }
    // Finite and below 16 (24 dB over full scale), whatever the settings.
    bool outputIsClean() const { return outputPeak() < 16.0f; }
    // The largest output magnitude; infinite when any output is not finite.
    float outputPeak() const;

private:
    std::vector<float*> inputPointers;
    std::vector<float*> outputPointers;
};

// One instance: component, audio processor and controller, initialised and
// connected; terminated and released on destruction.
class PluginInstance
{
public:
    PluginInstance();
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    Steinberg::Vst::IComponent* component = nullptr;
    Steinberg::Vst::IAudioProcessor* processor = nullptr;
    Steinberg::Vst::IEditController* controller = nullptr;

    // setupProcessing, setActive(true), setProcessing(true).
    void start(double sampleRate = 48000.0, int maximumBlockSize = 8192);
    // setProcessing(false), setActive(false).
    void stop();

    Steinberg::tresult process(AudioBlock& block, Steinberg::Vst::IParameterChanges* changes = nullptr);
    // A call without audio that only delivers parameter changes.
    Steinberg::tresult flush(Steinberg::Vst::IParameterChanges& changes);

    std::vector<char> getState();
    // The host hands the component and then its controller the block.
    Steinberg::tresult setState(std::vector<char> bytes);

    // Host parameter ID of the parameter with this title.
    Steinberg::Vst::ParamID parameterId(const std::string& title);

private:
    Steinberg::Vst::HostApplication host;
    Steinberg::Vst::IConnectionPoint* componentPoint = nullptr;
    Steinberg::Vst::IConnectionPoint* controllerPoint = nullptr;
    double rate = 48000.0;
    bool active = false;
};

// UTF-16 to ASCII (the plug-in's texts are ASCII).
std::string toAscii(const Steinberg::Vst::TChar* text);
std::vector<Steinberg::Vst::TChar> toUtf16(const std::string& text);

// The plug-in's state block: JUCE binary XML ("VC2!", length, XML text).
std::string stateXml(const std::vector<char>& state);
std::vector<char> binaryXml(const std::string& xml);
// The plain value stored for a parameter in a state block, if any.
std::optional<double> stateValue(const std::vector<char>& state, const std::string& id);
} // namespace conformance
