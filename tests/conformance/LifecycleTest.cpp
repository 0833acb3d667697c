// The component's life as a validator drives it: repeated initialisation, bus
// counts and arrangements, processing setups over the usual rates and block
// sizes, activation cycles, latency and tail.
#include "PluginModule.h"

#include <gtest/gtest.h>

using namespace Steinberg;
using namespace conformance;

namespace
{
Vst::SpeakerArrangement arrangement(PluginInstance& plugin, Vst::BusDirection direction)
{
    Vst::SpeakerArrangement result = 0;
    EXPECT_EQ(plugin.processor->getBusArrangement(direction, 0, result), kResultTrue);
    return result;
}

// Runs a few blocks of noise and reports whether all output stayed finite and bounded.
bool processesCleanly(PluginInstance& plugin, int channels, int frames)
{
    AudioBlock block(channels, frames);
    for (unsigned i = 0; i < 4; ++i)
    {
        block.fillNoise(i + 1);
        if (plugin.process(block) != kResultOk || !block.outputIsFinite() || block.outputPeak() > 16.0f)
            return false;
    }
    return true;
}
} // namespace

TEST(Lifecycle, InitialisesAndTerminatesRepeatedly)
{
    for (int instance = 0; instance < 3; ++instance)
    {
        PluginInstance plugin;
        HostApplication host;
        for (int i = 0; i < 5; ++i)
        {
            EXPECT_EQ(plugin.component->terminate(), kResultOk);
            EXPECT_EQ(plugin.component->initialize(&host), kResultOk);
        }
        plugin.start(44100.0, 512);
        EXPECT_TRUE(processesCleanly(plugin, 2, 512));
    }
}

TEST(Lifecycle, HasOneStereoMainBusEachWayAndNoEventBus)
{
    PluginInstance plugin;
    EXPECT_EQ(plugin.component->getBusCount(Vst::kAudio, Vst::kInput), 1);
    EXPECT_EQ(plugin.component->getBusCount(Vst::kAudio, Vst::kOutput), 1);
    EXPECT_EQ(plugin.component->getBusCount(Vst::kEvent, Vst::kInput), 0);
    EXPECT_EQ(plugin.component->getBusCount(Vst::kEvent, Vst::kOutput), 0);

    for (auto direction : { Vst::kInput, Vst::kOutput })
    {
        Vst::BusInfo info {};
        ASSERT_EQ(plugin.component->getBusInfo(Vst::kAudio, direction, 0, info), kResultTrue);
        EXPECT_EQ(toAscii(info.name), direction == Vst::kInput ? "Input" : "Output");
        EXPECT_EQ(info.channelCount, 2);
        EXPECT_EQ(info.busType, Vst::kMain);
        EXPECT_TRUE(info.flags & Vst::BusInfo::kDefaultActive);
        EXPECT_EQ(arrangement(plugin, direction), Vst::SpeakerArr::kStereo);

        Vst::BusInfo missing {};
        EXPECT_NE(plugin.component->getBusInfo(Vst::kAudio, direction, 1, missing), kResultTrue);
        EXPECT_NE(plugin.component->getBusInfo(Vst::kAudio, direction, -1, missing), kResultTrue);
        EXPECT_NE(plugin.component->getBusInfo(Vst::kEvent, direction, 0, missing), kResultTrue);
        EXPECT_EQ(plugin.component->activateBus(Vst::kAudio, direction, 0, true), kResultTrue);
        EXPECT_NE(plugin.component->activateBus(Vst::kAudio, direction, 1, true), kResultTrue);
        EXPECT_NE(plugin.component->activateBus(Vst::kEvent, direction, 0, true), kResultTrue);
    }
}

TEST(Lifecycle, AcceptsMonoAndStereoAndProcessesBoth)
{
    PluginInstance plugin;
    Vst::SpeakerArrangement mono = Vst::SpeakerArr::kMono, stereo = Vst::SpeakerArr::kStereo;
    ASSERT_EQ(plugin.processor->setBusArrangements(&mono, 1, &mono, 1), kResultTrue);
    EXPECT_EQ(arrangement(plugin, Vst::kInput), Vst::SpeakerArr::kMono);
    EXPECT_EQ(arrangement(plugin, Vst::kOutput), Vst::SpeakerArr::kMono);
    Vst::BusInfo info {};
    plugin.component->getBusInfo(Vst::kAudio, Vst::kOutput, 0, info);
    EXPECT_EQ(info.channelCount, 1);

    plugin.start(48000.0, 1024);
    EXPECT_TRUE(processesCleanly(plugin, 1, 1024));
    plugin.stop();

    ASSERT_EQ(plugin.processor->setBusArrangements(&stereo, 1, &stereo, 1), kResultTrue);
    EXPECT_EQ(arrangement(plugin, Vst::kOutput), Vst::SpeakerArr::kStereo);
    plugin.start(48000.0, 1024);
    EXPECT_TRUE(processesCleanly(plugin, 2, 1024));
}

TEST(Lifecycle, RefusesMixedAndOddArrangementsAndKeepsAWorkingOne)
{
    using namespace Vst::SpeakerArr;
    struct Request
    {
        Vst::SpeakerArrangement input, output;
        int32 inputs, outputs;
    };
    const Request refused[] = { { kStereo, kMono, 1, 1 },  { kMono, kStereo, 1, 1 },   { k51, k51, 1, 1 },
                                { kStereo, k51, 1, 1 },    { kEmpty, kStereo, 1, 1 },  { kStereo, kEmpty, 1, 1 },
                                { k71Cine, kMono, 1, 1 },  { kMono, kEmpty, 1, 1 } };
    for (const auto& request : refused)
    {
        PluginInstance plugin;
        Vst::SpeakerArrangement inputs[2] = { request.input, request.input };
        Vst::SpeakerArrangement outputs[2] = { request.output, request.output };
        EXPECT_NE(plugin.processor->setBusArrangements(inputs, request.inputs, outputs, request.outputs), kResultTrue)
            << std::hex << request.input << " -> " << request.output;

        // Whatever the plug-in settled on is one it supports, and it works.
        const auto input = arrangement(plugin, Vst::kInput);
        const auto output = arrangement(plugin, Vst::kOutput);
        EXPECT_EQ(input, output);
        ASSERT_TRUE(output == kMono || output == kStereo) << std::hex << output;
        plugin.start(44100.0, 256);
        EXPECT_TRUE(processesCleanly(plugin, output == kMono ? 1 : 2, 256));
    }
}

TEST(Lifecycle, ArrangementsForBusesThatDoNotExistChangeNothing)
{
    // JUCE's wrapper answers such a request with 0 (kResultOk); the layout must stay.
    PluginInstance plugin;
    Vst::SpeakerArrangement mono[2] = { Vst::SpeakerArr::kMono, Vst::SpeakerArr::kMono };
    plugin.processor->setBusArrangements(mono, 2, mono, 1);
    plugin.processor->setBusArrangements(mono, 1, mono, 2);
    EXPECT_EQ(arrangement(plugin, Vst::kInput), Vst::SpeakerArr::kStereo);
    EXPECT_EQ(arrangement(plugin, Vst::kOutput), Vst::SpeakerArr::kStereo);
    plugin.start(48000.0, 512);
    EXPECT_TRUE(processesCleanly(plugin, 2, 512));
}

TEST(Lifecycle, RefusesArrangementsWhileActive)
{
    PluginInstance plugin;
    plugin.start(48000.0, 512);
    Vst::SpeakerArrangement mono = Vst::SpeakerArr::kMono;
    EXPECT_NE(plugin.processor->setBusArrangements(&mono, 1, &mono, 1), kResultTrue);
    EXPECT_EQ(arrangement(plugin, Vst::kOutput), Vst::SpeakerArr::kStereo);
    EXPECT_TRUE(processesCleanly(plugin, 2, 512));
}

TEST(Lifecycle, ProcessesAtEveryUsualRateAndMaximumBlockSize)
{
    PluginInstance plugin;
    EXPECT_EQ(plugin.processor->canProcessSampleSize(Vst::kSample32), kResultTrue);
    for (double rate : { 22050.0, 44100.0, 48000.0, 88200.0, 96000.0, 176400.0, 192000.0 })
    {
        for (int maximum : { 1, 7, 64, 512, 4096, 8192 })
        {
            plugin.start(rate, maximum);
            EXPECT_TRUE(processesCleanly(plugin, 2, maximum)) << rate << " Hz, " << maximum << " frames";
            plugin.stop();
        }
    }
}

TEST(Lifecycle, RefusesDoublePrecisionIfItCannotDoIt)
{
    PluginInstance plugin;
    if (plugin.processor->canProcessSampleSize(Vst::kSample64) == kResultTrue)
        GTEST_SKIP() << "double precision supported";
    Vst::ProcessSetup setup { Vst::kRealtime, Vst::kSample64, 512, 48000.0 };
    EXPECT_NE(plugin.processor->setupProcessing(setup), kResultOk);
    plugin.start(48000.0, 512);
    EXPECT_TRUE(processesCleanly(plugin, 2, 512));
}

TEST(Lifecycle, SurvivesActivationAndProcessingCycles)
{
    PluginInstance plugin;
    ASSERT_EQ(plugin.setup(48000.0, 512), kResultOk);
    for (int cycle = 0; cycle < 20; ++cycle)
    {
        ASSERT_EQ(plugin.component->setActive(true), kResultOk);
        plugin.processor->setProcessing(true);
        ASSERT_TRUE(processesCleanly(plugin, 2, 512)) << "cycle " << cycle;
        plugin.processor->setProcessing(false);
        if (cycle % 3 == 0)
            plugin.processor->setProcessing(false);
        ASSERT_EQ(plugin.component->setActive(false), kResultOk);
        if (cycle % 4 == 0)
        {
            ASSERT_EQ(plugin.setup(cycle % 8 == 0 ? 96000.0 : 44100.0, 512), kResultOk);
        }
    }
    // Inactive calls that a host may make anyway do no harm.
    plugin.component->setActive(false);
    plugin.processor->setProcessing(false);
    plugin.start(48000.0, 512);
    EXPECT_TRUE(processesCleanly(plugin, 2, 512));
}

TEST(Lifecycle, ReportsNoLatency)
{
    PluginInstance plugin;
    EXPECT_EQ(plugin.processor->getLatencySamples(), 0u);
    plugin.start(96000.0, 512);
    EXPECT_EQ(plugin.processor->getLatencySamples(), 0u);
}
