#include "PluginModule.h"

#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cmath>
#include <cstring>
#include <random>
#include <regex>
#include <stdexcept>

using namespace Steinberg;

namespace conformance
{
const TUID componentClassId = INLINE_UID(0xABCDEF01, 0x9182FAEB, 0x5A72766B, 0x52767262);
const TUID controllerClassId = INLINE_UID(0xABCDEF01, 0x1234ABCD, 0x5A72766B, 0x52767262);

namespace
{
template <typename Interface>
Interface* query(FUnknown* object)
{
    void* result = nullptr;
    if (object == nullptr || object->queryInterface(Interface::iid, &result) != kResultOk)
        return nullptr;
    return static_cast<Interface*>(result);
}

void require(bool condition, const char* failure)
{
    if (!condition)
        throw std::runtime_error(failure);
}
} // namespace

PluginModule& PluginModule::get()
{
    static PluginModule module;
    return module;
}

PluginModule::PluginModule()
{
    handle = dlopen(ZORVIK_VST3_BINARY, RTLD_NOW | RTLD_LOCAL);
    require(handle != nullptr, "dlopen failed");
    using Entry = bool (*)(void*);
    using GetFactory = IPluginFactory* (PLUGIN_API*)();
    auto entry = reinterpret_cast<Entry>(dlsym(handle, "ModuleEntry"));
    auto getFactory = reinterpret_cast<GetFactory>(dlsym(handle, "GetPluginFactory"));
    require(entry != nullptr && getFactory != nullptr && dlsym(handle, "ModuleExit") != nullptr,
            "the module lacks a VST3 entry point");
    require(entry(handle), "ModuleEntry failed");
    pluginFactory = getFactory();
    require(pluginFactory != nullptr, "GetPluginFactory returned nothing");
}

PluginModule::~PluginModule()
{
    pluginFactory->release();
    using Exit = bool (*)();
    if (auto exit = reinterpret_cast<Exit>(dlsym(handle, "ModuleExit")))
        exit();
    // The library stays mapped: its static objects outlive this one.
}

AudioBlock::AudioBlock(int channels, int frames)
    : input(static_cast<size_t>(channels), std::vector<float>(static_cast<size_t>(frames))), output(input)
{
    for (size_t c = 0; c < input.size(); ++c)
    {
        inputPointers.push_back(input[c].data());
        outputPointers.push_back(output[c].data());
    }
    inputBus.numChannels = outputBus.numChannels = channels;
    inputBus.channelBuffers32 = inputPointers.data();
    outputBus.channelBuffers32 = outputPointers.data();
}

void AudioBlock::fillNoise(unsigned seed, float level)
{
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> uniform(-level, level);
    for (auto& channel : input)
        for (auto& sample : channel)
            sample = uniform(generator);
}

float AudioBlock::outputPeak() const
{
    float peak = 0.0f;
    for (const auto& channel : output)
        for (float sample : channel)
            peak = std::isfinite(sample) ? std::max(peak, std::fabs(sample)) : INFINITY;
    return peak;
}

PluginInstance::PluginInstance()
{
    auto* factory = PluginModule::get().factory();
    void* object = nullptr;
    require(factory->createInstance(componentClassId, Vst::IComponent::iid, &object) == kResultOk, "no component");
    component = static_cast<Vst::IComponent*>(object);
    require(component->initialize(&host) == kResultOk, "the component did not initialise");
    processor = query<Vst::IAudioProcessor>(component);
    require(processor != nullptr, "the component is no audio processor");
    // Hosts switch on the buses they connect.
    component->activateBus(Vst::kAudio, Vst::kInput, 0, true);
    component->activateBus(Vst::kAudio, Vst::kOutput, 0, true);

    TUID controllerId;
    require(component->getControllerClassId(controllerId) == kResultOk, "the component names no controller");
    object = nullptr;
    require(factory->createInstance(controllerId, Vst::IEditController::iid, &object) == kResultOk, "no controller");
    controller = static_cast<Vst::IEditController*>(object);
    require(controller->initialize(&host) == kResultOk, "the controller did not initialise");

    componentPoint = query<Vst::IConnectionPoint>(component);
    controllerPoint = query<Vst::IConnectionPoint>(controller);
    require(componentPoint != nullptr && controllerPoint != nullptr, "no connection points");
    componentPoint->connect(controllerPoint);
    controllerPoint->connect(componentPoint);

    // A host hands the controller the component's state after creating both.
    auto state = getState();
    MemoryStream stream(state.data(), static_cast<TSize>(state.size()));
    controller->setComponentState(&stream);
}

PluginInstance::~PluginInstance()
{
    if (active)
        stop();
    componentPoint->disconnect(controllerPoint);
    controllerPoint->disconnect(componentPoint);
    controller->terminate();
    component->terminate();
    for (FUnknown* object : std::initializer_list<FUnknown*> { componentPoint, controllerPoint, processor, controller,
                                                               component })
        object->release();
}

void PluginInstance::start(double sampleRate, int maximumBlockSize)
{
    Vst::ProcessSetup setup { Vst::kRealtime, Vst::kSample32, maximumBlockSize, sampleRate };
    rate = sampleRate;
    ASSERT_EQ(processor->setupProcessing(setup), kResultOk);
    ASSERT_EQ(component->setActive(true), kResultOk);
    processor->setProcessing(true);
    active = true;
}

void PluginInstance::stop()
{
    processor->setProcessing(false);
    component->setActive(false);
    active = false;
}

tresult PluginInstance::process(AudioBlock& block, Vst::IParameterChanges* changes)
{
    Vst::ProcessContext context {};
    context.sampleRate = rate;
    context.tempo = 120.0;
    context.state = Vst::ProcessContext::kTempoValid;
    Vst::ProcessData data {};
    data.symbolicSampleSize = Vst::kSample32;
    data.numSamples = block.frames();
    data.numInputs = data.numOutputs = 1;
    data.inputs = &block.inputBus;
    data.outputs = &block.outputBus;
    data.inputParameterChanges = changes;
    data.processContext = &context;
    return processor->process(data);
}

tresult PluginInstance::flush(Vst::IParameterChanges& changes)
{
    Vst::ProcessData data {};
    data.symbolicSampleSize = Vst::kSample32;
    data.inputParameterChanges = &changes;
    return processor->process(data);
}

std::vector<char> PluginInstance::getState()
{
    MemoryStream stream;
    EXPECT_EQ(component->getState(&stream), kResultOk);
    return std::vector<char>(stream.getData(), stream.getData() + stream.getSize());
}

tresult PluginInstance::setState(std::vector<char> bytes)
{
    MemoryStream stream(bytes.data(), static_cast<TSize>(bytes.size()));
    const auto result = component->setState(&stream);
    stream.seek(0, IBStream::kIBSeekSet, nullptr);
    controller->setComponentState(&stream);
    return result;
}

Vst::ParamID PluginInstance::parameterId(const std::string& title)
{
    for (int32 i = 0; i < controller->getParameterCount(); ++i)
    {
        Vst::ParameterInfo info {};
        if (controller->getParameterInfo(i, info) == kResultOk && toAscii(info.title) == title)
            return info.id;
    }
    throw std::runtime_error("no parameter titled " + title);
}

std::string toAscii(const Vst::TChar* text)
{
    std::string result;
    for (; *text != 0; ++text)
        result += *text < 128 ? static_cast<char>(*text) : '?';
    return result;
}

std::vector<Vst::TChar> toUtf16(const std::string& text)
{
    std::vector<Vst::TChar> result(text.begin(), text.end());
    result.push_back(0);
    return result;
}

namespace
{
constexpr unsigned char binaryXmlMagic[] = { 0x56, 0x43, 0x32, 0x21 }; // "VC2!"
}

std::string stateXml(const std::vector<char>& state)
{
    if (state.size() < 8 || std::memcmp(state.data(), binaryXmlMagic, 4) != 0)
        return {};
    std::uint32_t length = 0;
    for (int i = 3; i >= 0; --i)
        length = (length << 8) | static_cast<unsigned char>(state[static_cast<size_t>(4 + i)]);
    const auto available = std::min<size_t>(length, state.size() - 8);
    return std::string(state.data() + 8, strnlen(state.data() + 8, available));
}

std::vector<char> binaryXml(const std::string& xml)
{
    std::vector<char> result(std::begin(binaryXmlMagic), std::end(binaryXmlMagic));
    const auto length = static_cast<std::uint32_t>(xml.size() + 1);
    for (int i = 0; i < 4; ++i)
        result.push_back(static_cast<char>((length >> (8 * i)) & 0xff));
    result.insert(result.end(), xml.begin(), xml.end());
    result.push_back('\0');
    return result;
}

std::optional<double> stateValue(const std::vector<char>& state, const std::string& id)
{
    const std::regex pattern("<PARAM id=\"" + id + "\" value=\"([^\"]*)\"");
    std::smatch match;
    const auto xml = stateXml(state);
    if (!std::regex_search(xml, match, pattern))
        return std::nullopt;
    const auto text = match[1].str();
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' ? std::optional<double>(value) : std::nullopt;
}
} // namespace conformance
