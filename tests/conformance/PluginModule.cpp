#include "PluginModule.h"

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

void release(FUnknown*& object)
{
    if (object != nullptr)
        object->release();
    object = nullptr;
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
    if (handle == nullptr)
        throw std::runtime_error(std::string("dlopen failed: ") + dlerror());
    using Entry = bool (*)(void*);
    using GetFactory = IPluginFactory* (PLUGIN_API*)();
    auto entry = reinterpret_cast<Entry>(dlsym(handle, "ModuleEntry"));
    auto getFactory = reinterpret_cast<GetFactory>(dlsym(handle, "GetPluginFactory"));
    if (entry == nullptr || getFactory == nullptr || dlsym(handle, "ModuleExit") == nullptr)
        throw std::runtime_error("the module lacks a VST3 entry point");
    if (!entry(handle))
        throw std::runtime_error("ModuleEntry failed");
    pluginFactory = getFactory();
    if (pluginFactory == nullptr)
        throw std::runtime_error("GetPluginFactory returned nothing");
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
    : input(static_cast<size_t>(channels), std::vector<float>(static_cast<size_t>(std::max(frames, 1)))),
      output(static_cast<size_t>(channels), std::vector<float>(static_cast<size_t>(std::max(frames, 1))))
{
    for (auto& channel : input)
        inputPointers.push_back(channel.data());
    for (auto& channel : output)
        outputPointers.push_back(channel.data());
    for (auto& channel : input)
        channel.resize(static_cast<size_t>(frames));
    for (auto& channel : output)
        channel.resize(static_cast<size_t>(frames));
    inputBus.numChannels = channels;
    inputBus.channelBuffers32 = inputPointers.data();
    outputBus.numChannels = channels;
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

void AudioBlock::clearInput()
{
    for (auto& channel : input)
        std::fill(channel.begin(), channel.end(), 0.0f);
}

bool AudioBlock::outputIsFinite() const
{
    for (const auto& channel : output)
        for (float sample : channel)
            if (!std::isfinite(sample))
                return false;
    return true;
}

float AudioBlock::outputPeak() const
{
    float peak = 0.0f;
    for (const auto& channel : output)
        for (float sample : channel)
            peak = std::max(peak, std::fabs(sample));
    return peak;
}

double AudioBlock::outputEnergy() const
{
    double sum = 0.0;
    for (const auto& channel : output)
        for (float sample : channel)
            sum += static_cast<double>(sample) * sample;
    return sum;
}

PluginInstance::PluginInstance()
{
    auto* factory = PluginModule::get().factory();
    void* object = nullptr;
    if (factory->createInstance(componentClassId, Vst::IComponent::iid, &object) != kResultOk || object == nullptr)
        throw std::runtime_error("the factory made no component");
    component = static_cast<Vst::IComponent*>(object);
    if (component->initialize(&host) != kResultOk)
        throw std::runtime_error("the component did not initialise");
    processor = query<Vst::IAudioProcessor>(component);
    if (processor == nullptr)
        throw std::runtime_error("the component is no audio processor");
    // Hosts switch on the buses they connect.
    component->activateBus(Vst::kAudio, Vst::kInput, 0, true);
    component->activateBus(Vst::kAudio, Vst::kOutput, 0, true);

    TUID controllerId;
    if (component->getControllerClassId(controllerId) != kResultOk)
        throw std::runtime_error("the component names no controller");
    object = nullptr;
    if (factory->createInstance(controllerId, Vst::IEditController::iid, &object) != kResultOk || object == nullptr)
        throw std::runtime_error("the factory made no controller");
    controller = static_cast<Vst::IEditController*>(object);
    if (controller->initialize(&host) != kResultOk)
        throw std::runtime_error("the controller did not initialise");

    componentPoint = query<Vst::IConnectionPoint>(component);
    controllerPoint = query<Vst::IConnectionPoint>(controller);
    if (componentPoint == nullptr || controllerPoint == nullptr)
        throw std::runtime_error("no connection points");
    componentPoint->connect(controllerPoint);
    controllerPoint->connect(componentPoint);

    // A host hands the controller the component's state after creating both.
    MemoryStream state;
    component->getState(&state);
    state.seek(0, IBStream::kIBSeekSet, nullptr);
    controller->setComponentState(&state);
}

PluginInstance::~PluginInstance()
{
    if (active)
        stop();
    componentPoint->disconnect(controllerPoint);
    controllerPoint->disconnect(componentPoint);
    FUnknown* points[] = { componentPoint, controllerPoint };
    for (auto*& point : points)
        release(point);
    controller->terminate();
    component->terminate();
    FUnknown* objects[] = { processor, controller, component };
    for (auto*& object : objects)
        release(object);
}

tresult PluginInstance::setup(double sampleRate, int maximumBlockSize)
{
    Vst::ProcessSetup setup { Vst::kRealtime, Vst::kSample32, maximumBlockSize, sampleRate };
    rate = sampleRate;
    return processor->setupProcessing(setup);
}

void PluginInstance::start(double sampleRate, int maximumBlockSize)
{
    ASSERT_EQ(setup(sampleRate, maximumBlockSize), kResultOk);
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
    data.processMode = Vst::kRealtime;
    data.symbolicSampleSize = Vst::kSample32;
    data.numSamples = block.frames();
    data.numInputs = 1;
    data.numOutputs = 1;
    data.inputs = &block.inputBus;
    data.outputs = &block.outputBus;
    data.inputParameterChanges = changes;
    data.processContext = &context;
    return processor->process(data);
}

tresult PluginInstance::flush(Vst::IParameterChanges& changes)
{
    Vst::ProcessData data {};
    data.processMode = Vst::kRealtime;
    data.symbolicSampleSize = Vst::kSample32;
    data.inputParameterChanges = &changes;
    return processor->process(data);
}

std::vector<char> PluginInstance::getState()
{
    MemoryStream stream;
    EXPECT_EQ(component->getState(&stream), kResultOk);
    return stream.bytes();
}

tresult PluginInstance::setState(const std::vector<char>& bytes, bool sizeable)
{
    MemoryStream stream(bytes, sizeable);
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
    try
    {
        return std::stod(match[1].str());
    }
    catch (const std::exception&)
    {
        return std::nullopt;
    }
}
} // namespace conformance
