#include "Basics/EffectProcessor.h"

#include "Basics/BooleanParameter.h"
#include "Basics/SettingsFileGuard.h"
#include "Basics/UserFolders.h"
#include "Preset/PresetReader.h"
#include "Preset/SafeText.h"
#include "Preset/SafeXmlReader.h"

#include "Common/FilterDSPKernel.h"
#include "Common/Parameters/ParameterList.h"

#include <BinaryData.h>

#include <algorithm>
#include <cmath>

namespace
{
const juce::Identifier stateType("Parameters");
const juce::Identifier presetNameProperty("PresetName");
const juce::Identifier idProperty("id");
const juce::Identifier valueProperty("value");

ParameterList* parameterListOf(FilterDSPKernel* kernel)
{
    return kernel->parameterList.get();
}

bool hasCurves(const Parameter& p)
{
    return p.fromZeroToOne != nullptr && p.toZeroToOne != nullptr;
}

// Where a parameter's default lies between 0 and 1.
float defaultPosition(const Parameter& p)
{
    if (hasCurves(p))
        return p.toZeroToOne(p.minimum, p.maximum, p.defaultValue);
    return (p.defaultValue - p.minimum) / (p.maximum - p.minimum);
}

// The host range of a float parameter, with an interval of 0.01. JUCE's ranges pass
// a NaN position from a host's automation straight into the parameter's value; here
// a NaN position stands for the default, so a parameter's value is always a number.
juce::NormalisableRange<float> hostRange(Parameter* p)
{
    const float fallback = defaultPosition(*p);
    auto position = [fallback](float x) { return std::isnan(x) ? fallback : x; };
    juce::NormalisableRange<float> range;
    if (hasCurves(*p))
        range = juce::NormalisableRange<float>(
            p->minimum, p->maximum,
            [p, position](float start, float end, float x) {
                // The ends exactly, whatever the curve's rounding: the top of the
                // range reads back as the number it shows.
                x = position(x);
                return x >= 1.0f ? end : (x <= 0.0f ? start : p->fromZeroToOne(start, end, x));
            },
            [p](float start, float end, float v) { return p->toZeroToOne(start, end, v); });
    else
        range = juce::NormalisableRange<float>(
            p->minimum, p->maximum,
            [position](float start, float end, float x) { return start + (end - start) * position(x); },
            [](float start, float end, float v) { return (v - start) / (end - start); });
    range.interval = 0.01f;
    return range;
}

// Typed values: a text that reads as NaN ("nan") means the default, not NaN.
juce::AudioParameterFloatAttributes floatAttributes(const Parameter* p)
{
    const float fallback = p->defaultValue;
    return juce::AudioParameterFloatAttributes().withValueFromStringFunction([fallback](const juce::String& text) {
        const float value = text.getFloatValue();
        return std::isnan(value) ? fallback : value;
    });
}

std::unique_ptr<juce::RangedAudioParameter> makeHostParameter(Parameter* p)
{
    const juce::String id(p->name);
    if (p->unit == ParameterUnit::stepped)
    {
        juce::AudioParameterIntAttributes attributes;
        if (p->intToText != nullptr)
            attributes = attributes.withStringFromValueFunction(
                [p](int value, int) { return juce::String(p->intToText(value)); });
        return std::make_unique<juce::AudioParameterInt>(juce::ParameterID { id }, id, static_cast<int>(p->minimum),
                                                         static_cast<int>(p->maximum),
                                                         static_cast<int>(p->defaultValue), attributes);
    }
    if (p->unit == ParameterUnit::boolean)
        return std::make_unique<BooleanParameter>(juce::ParameterID { id }, id, p->defaultValue != 0.0f);

    // Curved or linear (JUCE's plain linear mapping), both with the 0.01 interval.
    return std::make_unique<juce::AudioParameterFloat>(juce::ParameterID { id }, id, hostRange(p), p->defaultValue,
                                                       floatAttributes(p));
}
} // namespace

EffectProcessor::EffectProcessor(FilterDSPKernel* dspKernel, std::string extension, std::string code,
                                 std::string initialPreset, PresetParser* parser,
                                 const juce::AudioProcessor::BusesProperties& buses)
    : juce::AudioProcessor(buses),
      kernel(dspKernel),
      presetParser(parser),
      presetExtension(std::move(extension)),
      parameters(*this, nullptr, stateType, createParameterLayout()),
      presetLists(2),
      initialPresetName(std::move(initialPreset))
{
    for (int bus = 0; bus < getBusCount(true); ++bus)
        inputBufferLists.push_back(new BufferList());
    for (int bus = 0; bus < getBusCount(false); ++bus)
        outputBufferLists.push_back(new BufferList());

    for (auto* p : *parameterListOf(kernel))
    {
        if (p->isOutput)
            continue;
        parameters.addParameterListener(juce::String(p->name), this);
        kernel->setParameter(static_cast<unsigned long>(p->identifier), p->defaultValue);
    }
    kernel->setBuffers(inputBufferLists, outputBufferLists);

    defaultState = parameters.copyState().createCopy();

    retrieveFactoryPresets();
    retrieveUserPresets();
    productCode = std::move(code);
    setupAppProperties();
}

EffectProcessor::~EffectProcessor()
{
    for (auto* p : *parameterListOf(kernel))
        if (!p->isOutput)
            parameters.removeParameterListener(juce::String(p->name), this);

    {
        const juce::ScopedLock lock(presetLock);
        currentPreset = nullptr;
        for (auto& list : presetLists)
            for (auto* preset : list)
                delete preset;
        presetLists.clear();
    }
    delete kernel;
    kernel = nullptr;
    delete settings;
    settings = nullptr;
    delete presetParser;
    presetParser = nullptr;
    for (auto* list : inputBufferLists)
        delete list;
    for (auto* list : outputBufferLists)
        delete list;
}

// --- Host parameters ---

juce::AudioProcessorValueTreeState::ParameterLayout EffectProcessor::createParameterLayout()
{
    juce::AudioProcessorValueTreeState::ParameterLayout layout;
    for (auto* p : *parameterListOf(kernel))
        if (!p->isOutput)
            layout.add(makeHostParameter(p));
    return layout;
}

void EffectProcessor::parameterChanged(const juce::String& parameterID, float newValue)
{
    if (!std::isfinite(newValue) || kernel == nullptr)
        return;
    for (auto* p : *parameterListOf(kernel))
    {
        if (p->isOutput || parameterID != p->name.c_str())
            continue;
        kernel->setParameter(static_cast<unsigned long>(p->identifier),
                             PresetParser::clampToRange(*p, static_cast<double>(newValue)));
    }
}

// --- Audio ---

const juce::String EffectProcessor::getName() const
{
    return JucePlugin_Name;
}

void EffectProcessor::prepareToPlay(double sampleRate, int)
{
    if (!std::isfinite(sampleRate) || sampleRate <= 0.0)
        sampleRate = 44100.0;

    // The initial preset goes first: the kernel's first initialisation takes the
    // values set so far (this preset, or a state the host restored before it
    // activated us) at once, without a ramp from the defaults.
    if (!initialPresetApplied.exchange(true) && !initialPresetName.empty())
        setPreset(juce::String(initialPresetName), true);

    kernelChannels = getBusCount(false) > 0 ? getChannelCountOfBus(false, 0) : 0;
    kernel->init(kernelChannels, sampleRate);
    kernel->setup();
    prepared = true;
}

void EffectProcessor::releaseResources() {}

void EffectProcessor::copyHostPosition()
{
    auto* hostPlayHead = getPlayHead();
    if (hostPlayHead == nullptr)
        return;
    const auto position = hostPlayHead->getPosition();
    if (!position.hasValue())
        return;

    auto& context = kernel->musicalContext;
    if (const auto bpm = position->getBpm())
        context.tempo = *bpm;
    if (const auto signature = position->getTimeSignature())
    {
        context.timeSignatureNumerator = static_cast<double>(signature->numerator);
        context.timeSignatureDenominator = static_cast<long long>(signature->denominator);
    }
    if (const auto ppq = position->getPpqPosition())
        context.positionInQuarterNotes = *ppq;

    auto& transport = kernel->transportState;
    transport.playing = position->getIsPlaying();
    if (const auto samples = position->getTimeInSamples())
        transport.positionInSamples = static_cast<double>(*samples);
    if (const auto loop = position->getLoopPoints())
    {
        transport.loopStart = loop->ppqStart;
        transport.loopEnd = loop->ppqEnd;
    }
}

// Points the kernel's channel lists at the host's channels from frame offset on.
// A mono bus leaves the second slot empty. Returns false when the buffer lacks a
// channel the kernel was prepared for.
bool EffectProcessor::routeBuffers(juce::AudioBuffer<float>& buffer, int offset)
{
    const int available = buffer.getNumChannels();
    auto route = [&](std::vector<BufferList*>& lists, bool isInput) {
        for (size_t bus = 0; bus < lists.size(); ++bus)
        {
            const int count = std::min(2, getChannelCountOfBus(isInput, static_cast<int>(bus)));
            for (int c = 0; c < 2; ++c)
            {
                const int index = getChannelIndexInProcessBlockBuffer(isInput, static_cast<int>(bus), c);
                float* pointer = nullptr;
                if (c < count && index >= 0 && index < available)
                    pointer = buffer.getWritePointer(index) + offset;
                lists[bus]->channels[c] = pointer;
            }
        }
    };
    route(inputBufferLists, true);
    route(outputBufferLists, false);

    if (inputBufferLists.empty() || outputBufferLists.empty())
        return false;
    kernel->setBuffers(inputBufferLists, outputBufferLists);
    for (int c = 0; c < std::min(kernelChannels, 2); ++c)
        if (inputBufferLists[0]->channels[c] == nullptr || outputBufferLists[0]->channels[c] == nullptr)
            return false;
    return kernelChannels > 0;
}

void EffectProcessor::processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    juce::ScopedNoDenormals noDenormals;
    const int frames = buffer.getNumSamples();
    const int inputs = std::min(getTotalNumInputChannels(), buffer.getNumChannels());
    const int outputs = std::min(getTotalNumOutputChannels(), buffer.getNumChannels());
    for (int c = inputs; c < outputs; ++c)
        buffer.clear(c, 0, frames);

    if (!prepared || frames <= 0)
        return;
    copyHostPosition();

    for (int offset = 0; offset < frames; offset += maximumKernelFrames)
    {
        if (!routeBuffers(buffer, offset))
            return;
        const int count = std::min(maximumKernelFrames, frames - offset);
        kernel->process(static_cast<unsigned long>(count), 0, 0);
    }
}

double EffectProcessor::getTailLengthSeconds() const
{
    return 0.0;
}

bool EffectProcessor::acceptsMidi() const
{
    return false;
}

bool EffectProcessor::producesMidi() const
{
    return false;
}

bool EffectProcessor::isMidiEffect() const
{
    return false;
}

bool EffectProcessor::hasEditor() const
{
    return true;
}

bool EffectProcessor::isBusesLayoutSupported(const BusesLayout& layouts) const
{
    const auto output = layouts.getMainOutputChannelSet();
    if (output != juce::AudioChannelSet::mono() && output != juce::AudioChannelSet::stereo())
        return false;
    return layouts.getMainInputChannelSet() == output;
}

// --- Programs: presets are the processor's own; the one host program has a name ---

int EffectProcessor::getNumPrograms()
{
    return 1;
}

int EffectProcessor::getCurrentProgram()
{
    return 0;
}

void EffectProcessor::setCurrentProgram(int) {}

const juce::String EffectProcessor::getProgramName(int)
{
    return getCurrentPresetName();
}

void EffectProcessor::changeProgramName(int, const juce::String&) {}

juce::String EffectProcessor::getCurrentPresetName() const
{
    const juce::ScopedLock lock(presetLock);
    if (currentPreset != nullptr)
        return currentPreset->name;
    return unlistedPresetName.isNotEmpty() ? unlistedPresetName : juce::String("Default");
}

juce::String EffectProcessor::getUnlistedPresetName() const
{
    const juce::ScopedLock lock(presetLock);
    return unlistedPresetName;
}

// --- State ---

void EffectProcessor::getStateInformation(juce::MemoryBlock& destData)
{
    auto state = parameters.copyState();
    if (const auto name = savedPresetName(); name.isNotEmpty())
        state.setProperty(presetNameProperty, name, nullptr);
    if (auto xml = state.createXml())
        copyXmlToBinary(*xml, destData);
}

// The current preset's name, or the name a restored state gave a sound that no list
// holds. None when no preset is current: a stand-in name would come back as the
// preset of that name. None either for a name that XML cannot carry, which would
// make the whole state unreadable.
juce::String EffectProcessor::savedPresetName() const
{
    const juce::ScopedLock lock(presetLock);
    const auto name = currentPreset != nullptr ? currentPreset->name : unlistedPresetName;
    return SafeText::isXmlText(name) ? name : juce::String();
}

// The restored values in a tree of this processor's own, in the order of a fresh
// state: one entry per host parameter, each a finite number inside its range, the
// default where the value is missing or unreadable. Nothing else of the restored
// tree is kept, so that every state saved afterwards stays within what a restore reads.
juce::ValueTree EffectProcessor::sanitisedState(const juce::ValueTree& restored) const
{
    juce::ValueTree result(stateType);
    for (const auto& fresh : defaultState)
    {
        const auto id = fresh.getProperty(idProperty).toString();
        const auto* p = PresetParser::findParameter(parameterListOf(kernel), id);
        if (p == nullptr)
            continue;
        const auto number = PresetParser::readNumber(restored.getChildWithProperty(idProperty, id)[valueProperty]);
        const float value = number ? PresetParser::clampToRange(*p, *number) : p->defaultValue;
        result.appendChild(juce::ValueTree("PARAM", { { idProperty, id }, { valueProperty, value } }), nullptr);
    }
    return result;
}

// A block that names none of the host parameters is not a state of this processor.
bool EffectProcessor::setsAHostParameter(const juce::ValueTree& restored) const
{
    for (const auto& child : restored)
        if (auto* p = PresetParser::findParameter(parameterListOf(kernel), child.getProperty(idProperty).toString()))
            if (!p->isOutput)
                return true;
    return false;
}

void EffectProcessor::setStateInformation(const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes <= 0)
        return;
    const auto xml = SafeXmlReader::parseBinaryState(data, static_cast<size_t>(sizeInBytes));
    if (xml == nullptr || !xml->hasTagName(stateType.toString()))
        return;
    const auto restored = juce::ValueTree::fromXml(*xml);
    if (!restored.isValid() || !setsAHostParameter(restored))
        return;

    const juce::ScopedLock lock(presetLock);
    parameters.replaceState(sanitisedState(restored));
    restoredPresetName = xml->getStringAttribute(presetNameProperty.toString());
    // Earlier versions saved "Default" when no preset was current. No preset is
    // written so (preset names are upper case): it names none.
    if (restoredPresetName == "Default")
        restoredPresetName = {};
    restoredPresetFound = setPreset(restoredPresetName, false);
    // A preset that no list holds (deleted, or from another machine) still names the
    // restored sound: no preset chosen before the restore may stand in for it.
    if (!restoredPresetFound)
    {
        currentPreset = nullptr;
        unlistedPresetName = restoredPresetName;
    }
    // A restored project wins over the initial preset, which would otherwise be
    // applied by the first prepareToPlay (hosts restore before they activate).
    initialPresetApplied = true;
    stateRestored = true;
}

// --- Presets ---

PresetReader EffectProcessor::presetReader() const
{
    return PresetReader(juce::String(presetExtension), *presetParser, defaultState, parameterListOf(kernel));
}

void EffectProcessor::retrieveFactoryPresets()
{
    const juce::ScopedLock lock(presetLock);
    auto& factory = presetLists[1];
    factory = presetReader().readArchive(BinaryData::Presets_zip, static_cast<size_t>(BinaryData::Presets_zipSize));
    factory.insert(factory.begin(), new Preset("DEFAULT", defaultState, false));
}

void EffectProcessor::retrieveUserPresets()
{
    const juce::ScopedLock lock(presetLock);
    const auto remembered = currentPreset != nullptr ? currentPreset->name : juce::String();
    currentPreset = nullptr;
    for (auto* preset : presetLists[0])
        delete preset;
    presetLists[0].clear();

    const auto folder = getUserPresetFolder();
    if (!folder.createDirectory())
        return;
    presetLists[0] = presetReader().readFolder(folder);

    if (remembered.isNotEmpty())
        setPreset(remembered, true);
}

bool EffectProcessor::setPreset(juce::String name, bool apply)
{
    const juce::ScopedLock lock(presetLock);
    const auto target = name.toUpperCase();
    for (int type = 0; type < static_cast<int>(presetLists.size()); ++type)
    {
        const auto& list = presetLists[static_cast<size_t>(type)];
        for (size_t row = 0; row < list.size(); ++row)
        {
            if (list[row]->name != target)
                continue;
            currentPresetType = type;
            if (apply)
                setPreset(static_cast<int>(row));
            else
                makeCurrent(list[row], static_cast<int>(row));
            return true;
        }
    }
    return false;
}

bool EffectProcessor::setPreset(int index)
{
    const juce::ScopedLock lock(presetLock);
    const int type = currentPresetType;
    if (index < 0 || type < 0 || type >= static_cast<int>(presetLists.size()))
        return false;
    const auto& list = presetLists[static_cast<size_t>(type)];
    if (static_cast<size_t>(index) >= list.size())
        return false;
    auto* preset = list[static_cast<size_t>(index)];
    if (preset == currentPreset)
        return false;
    currentPresetIndex = index;
    parameters.replaceState(preset->state.createCopy());
    makeCurrent(preset, index);
    return true;
}

void EffectProcessor::makeCurrent(Preset* preset, int row)
{
    currentPreset = preset;
    currentPresetIndex = row;
    unlistedPresetName = {};
}

// --- Places and settings ---

juce::File EffectProcessor::getUserPresetFolder()
{
    const auto documents = UserFolders::documents();
    if (documents == juce::File())
        return {};
    return documents.getChildFile(JucePlugin_Manufacturer).getChildFile(JucePlugin_Name);
}

juce::File EffectProcessor::getSettingsFile()
{
    const auto configuration = UserFolders::configuration();
    if (configuration == juce::File())
        return {};
    return configuration.getChildFile(JucePlugin_Manufacturer)
        .getChildFile(JucePlugin_Name)
        .getChildFile(juce::String(JucePlugin_Name) + ".settings");
}

void EffectProcessor::setupAppProperties()
{
    juce::PropertiesFile::Options options;
    options.applicationName = JucePlugin_Name;
    options.filenameSuffix = ".settings";
    options.folderName = juce::String(JucePlugin_Manufacturer) + "/" + JucePlugin_Name;
    options.osxLibrarySubFolder = "Application Support";
    options.storageFormat = juce::PropertiesFile::storeAsCompressedBinary;

    // JUCE's own default place on Linux is a folder in the home folder itself.
    const auto file = getSettingsFile();
    file.getParentDirectory().createDirectory();
    settings = SettingsFileGuard::open(file, options).release();
    if (settings == nullptr)
        return;
    settings->setValue("appName", JucePlugin_Name);
    settings->saveIfNeeded();
}
