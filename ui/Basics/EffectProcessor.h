#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <string>
#include <vector>

#include "Preset/Preset.h"
#include "Preset/PresetParser.h"
#include "Preset/PresetReader.h"

class FilterDSPKernel;
struct BufferList;
struct Parameter;

// The generic host-facing processor: host parameters from the kernel's parameter
// list, audio routing through the kernel, state, factory and user presets and the
// settings file. A product derives from it and supplies the kernel, buses and editor.
//
// Threads: processBlock runs on the audio thread and takes no lock. The preset
// fields (presetLists, currentPreset, restoredPresetName) are shared by the
// message thread and the host's state threads: hold presetLock while using them.
class EffectProcessor : public juce::AudioProcessor, private juce::AudioProcessorValueTreeState::Listener
{
public:
    // Longest run of frames handed to the kernel in one call; longer host blocks are split.
    static constexpr int maximumKernelFrames = 4096;

    EffectProcessor(FilterDSPKernel* kernel, std::string presetExtension, std::string productCode,
                    std::string initialPresetName, PresetParser* parser,
                    const juce::AudioProcessor::BusesProperties& buses);
    ~EffectProcessor() override;

    virtual void parameterChanged(const juce::String& parameterID, float newValue) override;
    virtual bool setPreset(int index);
    bool setPreset(juce::String name, bool apply);

    void retrieveFactoryPresets();
    void retrieveUserPresets();
    void setupAppProperties();
    juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout();

    // Places on disk: user presets in the documents folder, the settings file in
    // the XDG configuration folder ($XDG_CONFIG_HOME, default ~/.config).
    static juce::File getUserPresetFolder();
    static juce::File getSettingsFile();

    // The current preset's name; with none current, the name a restored state gave
    // the sound (see getUnlistedPresetName), else "Default".
    juce::String getCurrentPresetName() const;
    // The preset name of a restored state that neither list holds, while no preset
    // has been made current since; else empty.
    juce::String getUnlistedPresetName() const;

    // juce::AudioProcessor
    const juce::String getName() const override;
    void prepareToPlay(double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override;
    using juce::AudioProcessor::processBlock;
    void processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;
    bool isMidiEffect() const override;
    juce::AudioProcessorEditor* createEditor() override = 0;
    bool hasEditor() const override;
    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram(int index) override;
    const juce::String getProgramName(int index) override;
    void changeProgramName(int index, const juce::String& newName) override;
    void getStateInformation(juce::MemoryBlock& destData) override;
    void setStateInformation(const void* data, int sizeInBytes) override;
    bool isBusesLayoutSupported(const BusesLayout& layouts) const override;

    FilterDSPKernel* kernel;
    PresetParser* presetParser;
    std::string presetExtension;
    std::vector<BufferList*> inputBufferLists;
    std::vector<BufferList*> outputBufferLists;
    juce::AudioProcessorValueTreeState parameters;
    juce::ValueTree defaultState;
    std::atomic<int> currentPresetIndex { 0 };
    std::atomic<int> currentPresetType { 1 };
    std::atomic<bool> initialPresetApplied { false };
    std::vector<std::vector<Preset*>> presetLists;
    Preset* currentPreset = nullptr;
    std::string productCode;
    std::atomic<bool> stateRestored { false };
    std::atomic<bool> restoredPresetFound { false };
    juce::String restoredPresetName;
    std::atomic<int> currentPage { 0 };
    std::string initialPresetName;
    juce::PropertiesFile* settings = nullptr;
    juce::CriticalSection presetLock;

private:
    void makeCurrent(Preset* preset, int row);
    PresetReader presetReader() const;
    juce::String savedPresetName() const;
    juce::ValueTree sanitisedState(const juce::ValueTree& restored) const;
    bool setsAHostParameter(const juce::ValueTree& restored) const;
    void copyHostPosition();
    bool routeBuffers(juce::AudioBuffer<float>& buffer, int offset);

    juce::String unlistedPresetName;
    std::atomic<bool> prepared { false };
    int kernelChannels = 0;

    // Debug builds: the leak report runs only when an instance leaks.
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(EffectProcessor) // GCOVR_EXCL_LINE
};
