// The built VST3 bundle, loaded the way a DAW loads it: through JUCE's VST3 hosting.
#include <juce_audio_formats/juce_audio_formats.h>
#include <juce_audio_processors/juce_audio_processors.h>

#include <gtest/gtest.h>

#include <cmath>

#include <sys/stat.h>

namespace
{
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

std::unique_ptr<juce::AudioPluginInstance> load()
{
    juce::VST3PluginFormat format;
    juce::String error;
    auto instance = format.createInstanceFromDescription(describe(), 48000.0, 512, error);
    if (instance == nullptr)
        throw std::runtime_error(error.toStdString());
    return instance;
}
} // namespace

// What a DAW using JUCE's hosting sees; the raw VST3 details are in tests/conformance.
TEST(Bundle, LoadsThroughJuceHosting)
{
    ASSERT_TRUE(bundle().isDirectory()) << bundle().getFullPathName();
    const auto description = describe();
    EXPECT_EQ(description.name, "ZORVIK Reverb"); // the factory's details are checked through the raw interfaces
    EXPECT_EQ(description.numInputChannels, 2);
    EXPECT_EQ(description.numOutputChannels, 2);

    auto plugin = load();
    EXPECT_FALSE(plugin->acceptsMidi());
    ASSERT_EQ(plugin->getParameters().size(), 18);
    EXPECT_EQ(plugin->getParameters()[0]->getName(100), "InputGain");
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
    for (int c = 0; c < 2; ++c)
        EXPECT_TRUE(std::isfinite(out.getRMSLevel(c, 0, out.getNumSamples()))) << "channel " << c;
    EXPECT_GT(out.getRMSLevel(0, in.getNumSamples(), static_cast<int>(inRate)), 1e-4f);
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

TEST_F(RenderTool, RefusesBadArgumentsReportsAPlugInThatDoesNotLoadAndSkipsSpecialPresetFiles)
{
    const auto in = input.getFullPathName(), out = output.getFullPathName();
    const juce::StringArray refused[] = { { "--plugin", bundle().getFullPathName(), "--preset", "NO SUCH PRESET", in, out },
                                          { "--bogus" } };
    for (const auto& arguments : refused)
        EXPECT_NE(runTool(arguments).exitCode, 0) << arguments.joinIntoString(" ");
    EXPECT_EQ(runTool({ "--tail", "nan", in, out }).exitCode, 2);
    EXPECT_FALSE(output.exists());
    const auto missing = runTool({ "--plugin", folder.getChildFile("missing.vst3").getFullPathName(), "--list-presets" });
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_TRUE(missing.output.contains("Cannot load the plug-in")) << missing.output;
    // An argument that is not valid UTF-8 is refused with the usage text.
    juce::ChildProcess shell;
    ASSERT_TRUE(shell.start(juce::StringArray { "/bin/sh", "-c",
                                                "exec " + juce::String(ZORVIK_RENDER_TOOL).quoted()
                                                    + " --preset \"$(printf 'A\\200')\" a.wav b.wav 2>&1" }));
    EXPECT_TRUE(shell.readAllProcessOutput().contains("Usage:"));
    ASSERT_TRUE(shell.waitForProcessToFinish(60000));
    EXPECT_EQ(shell.getExitCode(), 2u);

    // A FIFO and a link to a device among the user presets are passed over, not waited
    // for; a name with a control character is listed with it escaped.
    const auto presets = juce::File::getSpecialLocation(juce::File::userDocumentsDirectory)
                             .getChildFile("ZORVIK/ZORVIK Reverb");
    ASSERT_TRUE(presets.createDirectory());
    const auto fifo = presets.getChildFile("Fifo.rbprs");
    ASSERT_EQ(mkfifo(fifo.getFullPathName().toRawUTF8(), 0600), 0);
    ASSERT_TRUE(juce::File("/dev/zero").createSymbolicLink(presets.getChildFile("Zero.rbprs"), true));
    ASSERT_TRUE(presets.getChildFile("Tab\tName.rbprs").replaceWithText("<plist><dict/></plist>"));
    const auto listed = runTool({ "--plugin", bundle().getFullPathName(), "--list-presets" });
    fifo.deleteFile();
    presets.getChildFile("Zero.rbprs").deleteFile();
    presets.getChildFile("Tab\tName.rbprs").deleteFile();
    EXPECT_EQ(listed.exitCode, 0) << listed.output;
    EXPECT_TRUE(listed.output.contains("VIBRANT TAILS")) << listed.output;
    EXPECT_TRUE(listed.output.contains("TAB\\x09NAME (user)\n")) << listed.output;
}

// A render whose output cannot be written to the end (here a file size limit
// stops it) leaves an earlier file of that name as it was.
TEST_F(RenderTool, KeepsAnEarlierOutputWhenWritingFails)
{
    ASSERT_TRUE(output.replaceWithText("earlier"));
    // No exec: the shell reports a tool ended by a signal as failing, which
    // ChildProcess alone would report as exit code 0.
    const auto command = "ulimit -f 64; " + juce::String(ZORVIK_RENDER_TOOL).quoted() + " --plugin "
                         + bundle().getFullPathName().quoted() + " --tail 0 " + input.getFullPathName().quoted()
                         + " " + output.getFullPathName().quoted();
    juce::ChildProcess tool;
    ASSERT_TRUE(tool.start(juce::StringArray { "/bin/sh", "-c", command }, 0));
    ASSERT_TRUE(tool.waitForProcessToFinish(60000));
    EXPECT_NE(tool.getExitCode(), 0u);
    EXPECT_EQ(output.loadFileAsString(), "earlier");
}
