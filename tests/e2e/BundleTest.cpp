// The built VST3 bundle, loaded the way a DAW loads it: through JUCE's VST3 hosting.
#include <juce_audio_formats/juce_audio_formats.h>
#include <juce_audio_processors/juce_audio_processors.h>

#include <gtest/gtest.h>

#include <cmath>

namespace
{
const juce::StringArray hostParameterIds { "InputGain",          "InputFilterType",      "InputFilterGain",
                                           "InputFilterFrequency", "PreDelay",           "RoomSize",
                                           "SizeModulationRate", "SizeModulationAmount", "ReverbTime",
                                           "HFDamp",             "Freeze",               "FreqShifterFrequency",
                                           "FreqShifterDryWet",  "DuckingThreshold",     "DuckingAttack",
                                           "DuckingRelease",     "EffectDryWet" };

juce::File bundle()
{
    return juce::File(ZORVIK_BUNDLE_PATH);
}

juce::PluginDescription describe()
{
    juce::VST3PluginFormat format;
    juce::OwnedArray<juce::PluginDescription> types;
    format.findAllTypesForFile(types, bundle().getFullPathName());
    if (types.size() != 1)
        throw std::runtime_error("expected one plug-in in the bundle");
    return *types[0];
}

std::unique_ptr<juce::AudioPluginInstance> load(double sampleRate = 48000.0, int blockSize = 512)
{
    juce::VST3PluginFormat format;
    juce::String error;
    auto instance = format.createInstanceFromDescription(describe(), sampleRate, blockSize, error);
    if (instance == nullptr)
        throw std::runtime_error(error.toStdString());
    return instance;
}

juce::AudioProcessorParameter* parameter(juce::AudioPluginInstance& plugin, const juce::String& name)
{
    for (auto* p : plugin.getParameters())
        if (p->getName(100) == name)
            return p;
    return nullptr;
}

void run(juce::AudioPluginInstance& plugin, juce::AudioBuffer<float>& audio, int blockSize = 512)
{
    juce::MidiBuffer midi;
    for (int start = 0; start < audio.getNumSamples(); start += blockSize)
    {
        const int n = std::min(blockSize, audio.getNumSamples() - start);
        juce::AudioBuffer<float> block(audio.getArrayOfWritePointers(), audio.getNumChannels(), start, n);
        plugin.processBlock(block, midi);
    }
}

void noise(juce::AudioBuffer<float>& audio, int from, int to, int seed)
{
    juce::Random random(seed);
    for (int c = 0; c < audio.getNumChannels(); ++c)
        for (int i = from; i < to; ++i)
            audio.setSample(c, i, 0.5f * (random.nextFloat() * 2.0f - 1.0f));
}

double energy(const juce::AudioBuffer<float>& audio, int from, int to)
{
    double sum = 0.0;
    for (int c = 0; c < audio.getNumChannels(); ++c)
        for (int i = from; i < to; ++i)
            sum += static_cast<double>(audio.getSample(c, i)) * audio.getSample(c, i);
    return sum;
}

bool finite(const juce::AudioBuffer<float>& audio)
{
    for (int c = 0; c < audio.getNumChannels(); ++c)
        for (int i = 0; i < audio.getNumSamples(); ++i)
            if (!std::isfinite(audio.getSample(c, i)))
                return false;
    return true;
}
} // namespace

TEST(Bundle, PresentsItsIdentity)
{
    ASSERT_TRUE(bundle().isDirectory()) << bundle().getFullPathName();
    const auto description = describe();
    EXPECT_EQ(description.name, "ZORVIK Reverb");
    EXPECT_EQ(description.manufacturerName, "ZORVIK");
    EXPECT_EQ(description.version, "1.2.0");
    EXPECT_TRUE(description.category.contains("Fx")) << description.category;
    EXPECT_FALSE(description.isInstrument);
    EXPECT_EQ(description.numInputChannels, 2);
    EXPECT_EQ(description.numOutputChannels, 2);

    // The component's class ID: ABCDEF01-9182FAEB, then the maker and product codes.
    juce::uint32 hash = 0;
    for (juce::uint32 word : { 0xABCDEF01u, 0x9182FAEBu, 0x5A72766Bu /* Zrvk */, 0x52767262u /* Rvrb */ })
        hash = hash * 31 + word;
    EXPECT_EQ(description.uniqueId, static_cast<int>(hash));

    auto plugin = load();
    EXPECT_EQ(plugin->getName(), "ZORVIK Reverb");
    EXPECT_FALSE(plugin->acceptsMidi());
    EXPECT_TRUE(plugin->hasEditor());
    EXPECT_GT(plugin->getTailLengthSeconds(), 0.0);
}

TEST(Bundle, ShowsSeventeenParametersAndTheBypass)
{
    auto plugin = load();
    const auto& parameters = plugin->getParameters();
    ASSERT_EQ(parameters.size(), 18);
    for (int i = 0; i < 17; ++i)
        EXPECT_EQ(parameters[i]->getName(100), hostParameterIds[i]);
    EXPECT_EQ(parameters[17]->getName(100), "Bypass");

    auto* reverbTime = parameter(*plugin, "ReverbTime");
    EXPECT_EQ(reverbTime->getText(reverbTime->getValue(), 20), "3.20");
    EXPECT_NEAR(reverbTime->getValue(), std::cbrt((3.2 - 0.2) / 29.8), 1e-5);
    auto* freeze = parameter(*plugin, "Freeze");
    EXPECT_EQ(freeze->getText(freeze->getValue(), 20), "Off");
    EXPECT_EQ(freeze->getNumSteps(), 2) << "a switch";
}

TEST(Bundle, StateRoundTripsThroughTheHost)
{
    juce::MemoryBlock state;
    std::vector<float> values;
    {
        auto source = load();
        source->prepareToPlay(48000.0, 512);
        parameter(*source, "RoomSize")->setValueNotifyingHost(0.83f);
        parameter(*source, "Freeze")->setValueNotifyingHost(1.0f);
        parameter(*source, "HFDamp")->setValueNotifyingHost(0.4f);
        juce::AudioBuffer<float> audio(2, 512);
        audio.clear();
        run(*source, audio);
        source->getStateInformation(state);
        for (auto* p : source->getParameters())
            values.push_back(p->getValue());
        source->releaseResources();
    }
    ASSERT_GT(state.getSize(), 0u);

    auto restored = load();
    restored->setStateInformation(state.getData(), static_cast<int>(state.getSize()));
    restored->prepareToPlay(48000.0, 512);
    const auto& parameters = restored->getParameters();
    ASSERT_EQ(static_cast<size_t>(parameters.size()), values.size());
    for (int i = 0; i < parameters.size(); ++i)
        EXPECT_NEAR(parameters[i]->getValue(), values[static_cast<size_t>(i)], 1e-5) << parameters[i]->getName(100);
    EXPECT_NEAR(parameter(*restored, "RoomSize")->getValue(), 0.83f, 1e-5);
    EXPECT_EQ(restored->getTailLengthSeconds(), std::numeric_limits<double>::infinity()) << "frozen";

    // Hostile blocks through the host change nothing.
    juce::MemoryBlock garbage(state);
    garbage.setSize(state.getSize() / 3);
    restored->setStateInformation(garbage.getData(), static_cast<int>(garbage.getSize()));
    EXPECT_NEAR(parameter(*restored, "RoomSize")->getValue(), 0.83f, 1e-5);
}

TEST(Bundle, ProcessesAudioWithAReverbTail)
{
    auto plugin = load();
    plugin->prepareToPlay(48000.0, 512);
    parameter(*plugin, "EffectDryWet")->setValueNotifyingHost(1.0f);

    juce::AudioBuffer<float> audio(2, 48000);
    audio.clear();
    noise(audio, 0, 4800, 1);
    run(*plugin, audio);
    EXPECT_TRUE(finite(audio));
    EXPECT_GT(energy(audio, 9600, 48000), 1e-3) << "the reverb rings on after the input stops";

    // At 0 % wet the signal passes unchanged.
    parameter(*plugin, "EffectDryWet")->setValueNotifyingHost(0.0f);
    juce::AudioBuffer<float> settle(2, 48000);
    settle.clear();
    run(*plugin, settle);
    juce::AudioBuffer<float> dry(2, 2048);
    noise(dry, 0, 2048, 2);
    juce::AudioBuffer<float> input(dry);
    run(*plugin, dry);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 2048; ++i)
            ASSERT_NEAR(dry.getSample(c, i), input.getSample(c, i), 1e-6f) << c << " " << i;
}

TEST(Bundle, RunsMonoAndOddBlockSizes)
{
    auto plugin = load();
    juce::AudioProcessor::BusesLayout mono;
    mono.inputBuses.add(juce::AudioChannelSet::mono());
    mono.outputBuses.add(juce::AudioChannelSet::mono());
    ASSERT_TRUE(plugin->setBusesLayout(mono));
    plugin->prepareToPlay(44100.0, 8192);
    juce::AudioBuffer<float> audio(1, 44100);
    audio.clear();
    noise(audio, 0, 4410, 3);
    run(*plugin, audio, 8192);
    EXPECT_TRUE(finite(audio));
    EXPECT_GT(energy(audio, 8820, 44100), 1e-4);
    plugin->releaseResources();

    juce::AudioProcessor::BusesLayout surround;
    surround.inputBuses.add(juce::AudioChannelSet::create5point1());
    surround.outputBuses.add(juce::AudioChannelSet::create5point1());
    EXPECT_FALSE(plugin->checkBusesLayoutSupported(surround));
}

// --- The render tool ---

namespace
{
struct ToolResult
{
    int exitCode;
    juce::String output;
};

ToolResult runTool(juce::StringArray arguments)
{
    arguments.insert(0, ZORVIK_RENDER_TOOL);
    juce::ChildProcess tool;
    if (!tool.start(arguments, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
        return { -1, "cannot start" };
    auto text = tool.readAllProcessOutput();
    if (!tool.waitForProcessToFinish(60000))
        return { -1, text + " (no exit)" };
    return { static_cast<int>(tool.getExitCode()), text };
}

juce::AudioBuffer<float> readWav(const juce::File& file, double& sampleRate)
{
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatReader> reader(wav.createReaderFor(file.createInputStream().release(), true));
    if (reader == nullptr)
        return {};
    sampleRate = reader->sampleRate;
    juce::AudioBuffer<float> audio(static_cast<int>(reader->numChannels), static_cast<int>(reader->lengthInSamples));
    reader->read(&audio, 0, audio.getNumSamples(), 0, true, true);
    return audio;
}

class RenderTool : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (juce::String(ZORVIK_RENDER_TOOL).isEmpty())
            GTEST_SKIP() << "the render tool is not built";
        folder.createDirectory();
        const auto made = runTool({ "--make-test-sound", input.getFullPathName() });
        ASSERT_EQ(made.exitCode, 0) << made.output;
    }

    void TearDown() override { folder.deleteRecursively(); }

    juce::File folder = juce::File::createTempFile("zorvik-render");
    juce::File input = folder.getChildFile("in.wav");
    juce::File output = folder.getChildFile("out.wav");
};
} // namespace

TEST_F(RenderTool, RendersAFactoryPresetWithItsTail)
{
    const auto result = runTool({ "--plugin", bundle().getFullPathName(), "--preset", "hall",
                                  input.getFullPathName(), output.getFullPathName() });
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_TRUE(result.output.contains("Rendering: 100%")) << result.output;

    double inRate = 0, outRate = 0;
    const auto in = readWav(input, inRate);
    const auto out = readWav(output, outRate);
    ASSERT_EQ(out.getNumChannels(), 2);
    EXPECT_EQ(outRate, inRate);
    // HALL's reverb time is 2.9 s: the file runs on well past the input.
    EXPECT_GT(out.getNumSamples(), in.getNumSamples() + static_cast<int>(2.9 * inRate));
    EXPECT_TRUE(finite(out));
    EXPECT_GT(energy(out, in.getNumSamples(), in.getNumSamples() + static_cast<int>(inRate)), 1e-4);
}

TEST_F(RenderTool, FindsUserPresetsAndSetsEveryParameter)
{
    // A user preset at 0 % wet: the rendered sound is the input itself.
    const auto presets = juce::File::getSpecialLocation(juce::File::userDocumentsDirectory)
                             .getChildFile("ZORVIK/ZORVIK Reverb");
    ASSERT_TRUE(presets.createDirectory());
    ASSERT_TRUE(presets.getChildFile("Dry Run.rbprs")
                    .replaceWithText("<plist version=\"1.0\"><dict><key>EffectDryWet</key><real>0</real>"
                                     "</dict></plist>"));
    const auto result = runTool({ "--plugin", bundle().getFullPathName(), "--preset", "DRY RUN", "--tail", "0",
                                  input.getFullPathName(), output.getFullPathName() });
    presets.getChildFile("Dry Run.rbprs").deleteFile();
    ASSERT_EQ(result.exitCode, 0) << result.output;

    double rate = 0;
    const auto in = readWav(input, rate);
    const auto out = readWav(output, rate);
    ASSERT_EQ(out.getNumSamples(), in.getNumSamples());
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < in.getNumSamples(); ++i)
            ASSERT_NEAR(out.getSample(c, i), in.getSample(c, i), 1e-6f) << c << " " << i;
}

TEST_F(RenderTool, RefusesUnknownPresetsAndBadArguments)
{
    EXPECT_NE(runTool({ "--plugin", bundle().getFullPathName(), "--preset", "NO SUCH PRESET",
                        input.getFullPathName(), output.getFullPathName() })
                  .exitCode,
              0);
    EXPECT_NE(runTool({ "--bogus" }).exitCode, 0);
    EXPECT_NE(runTool({ "--plugin", folder.getChildFile("missing.vst3").getFullPathName(), input.getFullPathName(),
                        output.getFullPathName() })
                  .exitCode,
              0);
    EXPECT_FALSE(output.exists());
}
