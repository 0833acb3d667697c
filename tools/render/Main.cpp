// zorvik_render: renders a WAV file through the ZORVIK Reverb VST3 bundle, as a
// DAW would: the bundle is loaded through JUCE's VST3 hosting and the preset is
// applied by setting the plug-in's parameters through the host interface.
#include "PresetLibrary.h"

#include "Basics/UserFolders.h"
#include "Preset/SafeText.h"

#include <juce_audio_formats/juce_audio_formats.h>
#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_events/juce_events.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <cmath>
#include <iostream>

namespace
{
constexpr int blockSize = 512;
constexpr double maximumTailSeconds = 10.0;

const char* usage =
    "Usage:\n"
    "  zorvik_render [--plugin BUNDLE] [--preset NAME] [--tail SECONDS] INPUT.wav OUTPUT.wav\n"
    "  zorvik_render [--plugin BUNDLE] --list-presets\n"
    "  zorvik_render --make-test-sound OUTPUT.wav\n"
    "BUNDLE defaults to ~/.vst3/ZORVIK Reverb.vst3; NAME to DEFAULT. Preset names are\n"
    "those of the plug-in (any letter case); user presets come first. The tail defaults\n"
    "to the plug-in's reported tail, at most 10 s.\n";

// Text for the terminal: control characters (C0, DEL and C1) are shown as \xHH
// escapes, so that a file or preset name cannot move the cursor or retitle the window.
juce::String printable(const juce::String& text)
{
    juce::String result;
    for (auto c : text)
    {
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
            result << "\\x" << juce::String::toHexString(static_cast<int>(c)).paddedLeft('0', 2);
        else
            result << juce::String::charToString(c);
    }
    return result;
}

struct Options
{
    juce::File plugin = UserFolders::home().getChildFile(".vst3/ZORVIK Reverb.vst3");
    juce::String preset = "DEFAULT";
    double tailSeconds = -1.0;
    bool listPresets = false;
    juce::File testSound;
    juce::File input, output;
};

std::optional<Options> parseArguments(const juce::StringArray& args)
{
    Options options;
    juce::StringArray files;
    for (int i = 0; i < args.size(); ++i)
    {
        const auto& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--plugin" && hasValue)
            options.plugin = juce::File::getCurrentWorkingDirectory().getChildFile(args[++i]);
        else if (arg == "--preset" && hasValue)
            options.preset = args[++i];
        else if (arg == "--tail" && hasValue)
        {
            // A tail that is not a number is refused, not read as some length.
            const double seconds = args[++i].getDoubleValue();
            if (std::isnan(seconds))
                return std::nullopt;
            options.tailSeconds = juce::jlimit(0.0, 600.0, seconds);
        }
        else if (arg == "--make-test-sound" && hasValue)
            options.testSound = juce::File::getCurrentWorkingDirectory().getChildFile(args[++i]);
        else if (arg == "--list-presets")
            options.listPresets = true;
        else if (arg.startsWith("--"))
            return std::nullopt;
        else
            files.add(arg);
    }
    if (options.listPresets || options.testSound != juce::File())
        return files.isEmpty() ? std::optional<Options>(options) : std::nullopt;
    if (files.size() != 2)
        return std::nullopt;
    options.input = juce::File::getCurrentWorkingDirectory().getChildFile(files[0]);
    options.output = juce::File::getCurrentWorkingDirectory().getChildFile(files[1]);
    return options;
}

bool writeWavTo(const juce::File& file, const juce::AudioBuffer<float>& audio, double sampleRate)
{
    auto stream = std::make_unique<juce::FileOutputStream>(file);
    if (!stream->openedOk())
        return false;
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatWriter> writer(wav.createWriterFor(
        stream.get(), sampleRate, static_cast<unsigned int>(audio.getNumChannels()), 24, {}, 0));
    if (writer == nullptr)
        return false;
    stream.release(); // the writer owns it now
    return writer->writeFromAudioSampleBuffer(audio, 0, audio.getNumSamples());
}

// An existing output file is replaced only once the new one is completely written.
bool writeWav(const juce::File& file, const juce::AudioBuffer<float>& audio, double sampleRate)
{
    juce::TemporaryFile temporary(file);
    return writeWavTo(temporary.getFile(), audio, sampleRate) && temporary.overwriteTargetFileWithTemporary();
}

// Three seconds of plucked notes and a click, then silence for the tail.
int makeTestSound(const juce::File& file)
{
    constexpr double rate = 48000.0;
    juce::AudioBuffer<float> audio(2, static_cast<int>(rate * 3.0));
    audio.clear();
    const double notes[][2] = { { 0.0, 220.0 }, { 0.5, 277.18 }, { 1.0, 329.63 }, { 1.5, 440.0 } };
    for (const auto& note : notes)
    {
        const int start = static_cast<int>(note[0] * rate);
        for (int i = 0; start + i < audio.getNumSamples() && i < static_cast<int>(rate * 0.4); ++i)
        {
            const double t = i / rate;
            const double v = 0.4 * std::exp(-t * 9.0) * std::sin(2.0 * juce::MathConstants<double>::pi * note[1] * t);
            audio.addSample(0, start + i, static_cast<float>(v));
            audio.addSample(1, start + i, static_cast<float>(v * 0.8));
        }
    }
    audio.setSample(0, static_cast<int>(rate * 2.0), 0.8f);
    audio.setSample(1, static_cast<int>(rate * 2.0), 0.8f);
    if (!writeWav(file, audio, rate))
    {
        std::cerr << "Cannot write " << printable(file.getFullPathName()) << "\n";
        return 1;
    }
    std::cout << "Wrote test sound " << printable(file.getFullPathName()) << "\n";
    return 0;
}

std::unique_ptr<juce::AudioPluginInstance> loadPlugin(const juce::File& bundle, double sampleRate)
{
    juce::VST3PluginFormat format;
    juce::OwnedArray<juce::PluginDescription> types;
    format.findAllTypesForFile(types, bundle.getFullPathName());
    if (types.isEmpty())
    {
        std::cerr << "Cannot load the plug-in: no VST3 plug-in found in " << printable(bundle.getFullPathName()) << "\n";
        return nullptr;
    }
    juce::String error;
    auto instance = format.createInstanceFromDescription(*types[0], sampleRate, blockSize, error);
    if (instance == nullptr)
        std::cerr << "Cannot load the plug-in: " << printable(error) << "\n";
    return instance;
}

// The presets the plug-in offers; a plug-in that does not load has none.
int listPresets(const juce::File& bundle)
{
    if (loadPlugin(bundle, 48000.0) == nullptr)
        return 1;
    for (const auto& name : PresetLibrary().names())
        std::cout << printable(name) << "\n";
    return 0;
}

// Every parameter the preset names takes its value, every other one its default.
void applyPreset(juce::AudioPluginInstance& plugin, const PresetLibrary::Values& values)
{
    for (auto* parameter : plugin.getParameters())
    {
        const auto name = parameter->getName(256);
        if (name == "Bypass")
            continue;
        const auto found = values.find(name);
        const float normalised = found != values.end() ? parameter->getValueForText(juce::String(found->second, 9))
                                                       : parameter->getDefaultValue();
        parameter->setValueNotifyingHost(normalised);
    }
}

void processInBlocks(juce::AudioPluginInstance& plugin, juce::AudioBuffer<float>& audio, bool showProgress)
{
    juce::MidiBuffer midi;
    int lastPercent = -1;
    for (int start = 0; start < audio.getNumSamples(); start += blockSize)
    {
        const int n = std::min(blockSize, audio.getNumSamples() - start);
        juce::AudioBuffer<float> block(audio.getArrayOfWritePointers(), audio.getNumChannels(), start, n);
        plugin.processBlock(block, midi);
        const int percent = static_cast<int>(100.0 * (start + n) / audio.getNumSamples());
        if (showProgress && percent != lastPercent)
        {
            std::cerr << "\rRendering: " << percent << "%" << std::flush;
            lastPercent = percent;
        }
    }
    if (showProgress)
        std::cerr << "\n";
}

int render(const Options& options)
{
    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    std::unique_ptr<juce::AudioFormatReader> reader(formats.createReaderFor(options.input));
    if (reader == nullptr || reader->sampleRate <= 0.0 || reader->numChannels == 0)
    {
        std::cerr << "Cannot read " << printable(options.input.getFullPathName()) << "\n";
        return 1;
    }
    const double sampleRate = reader->sampleRate;

    const PresetLibrary presets;
    const auto values = presets.find(options.preset);
    if (!values)
    {
        std::cerr << "No preset named \"" << printable(options.preset) << "\". Use --list-presets.\n";
        return 1;
    }

    auto plugin = loadPlugin(options.plugin, sampleRate);
    if (plugin == nullptr)
        return 1;
    plugin->enableAllBuses();
    plugin->setPlayConfigDetails(2, 2, sampleRate, blockSize);
    plugin->prepareToPlay(sampleRate, blockSize);
    applyPreset(*plugin, *values);

    // Silence first, so that the parameter ramps have ended when the sound starts.
    juce::AudioBuffer<float> preroll(2, static_cast<int>(sampleRate * 0.25));
    preroll.clear();
    processInBlocks(*plugin, preroll, false);

    double tail = options.tailSeconds;
    if (tail < 0.0)
    {
        const double reported = plugin->getTailLengthSeconds();
        tail = std::isfinite(reported) ? juce::jlimit(0.0, maximumTailSeconds, reported) : maximumTailSeconds;
    }
    const auto inputFrames = static_cast<int>(std::min<juce::int64>(reader->lengthInSamples, 1 << 30));
    juce::AudioBuffer<float> audio(2, inputFrames + static_cast<int>(tail * sampleRate));
    audio.clear();
    reader->read(&audio, 0, inputFrames, 0, true, true); // a mono file fills both channels

    std::cerr << "Preset " << printable(options.preset.toUpperCase()) << ", " << plugin->getName() << " "
              << plugin->getPluginDescription().version << "\n";
    processInBlocks(*plugin, audio, true);
    plugin->releaseResources();

    if (!writeWav(options.output, audio, sampleRate))
    {
        std::cerr << "Cannot write " << printable(options.output.getFullPathName()) << "\n";
        return 1;
    }
    std::cout << "Wrote " << printable(options.output.getFullPathName()) << "\n";
    return 0;
}

// The arguments as strings; nothing when one of them is not valid UTF-8.
std::optional<juce::StringArray> argumentsOf(int argc, char** argv)
{
    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
    {
        const auto arg = SafeText::fromUtf8(argv[i]);
        if (!arg)
            return std::nullopt;
        args.add(*arg);
    }
    return args;
}
} // namespace

int main(int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;
    const auto args = argumentsOf(argc, argv);
    const auto options = args ? parseArguments(*args) : std::nullopt;
    if (!options)
    {
        std::cerr << usage;
        return 2;
    }
    if (options->testSound != juce::File())
        return makeTestSound(options->testSound);
    if (options->listPresets)
        return listPresets(options->plugin);
    return render(*options);
}
