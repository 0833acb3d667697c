// The component's life as a validator drives it: repeated initialisation, buses
// and arrangements, and latency. Rates, odd blocks and calls before any setup
// are in the hostile host test.
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
        if (plugin.process(block) != kResultOk || !block.outputIsClean())
            return false;
    }
    return true;
}
} // namespace

TEST(Lifecycle, HasOneStereoMainBusEachWayAndNoEventBus)
{
    PluginInstance plugin;
    Vst::HostApplication host;
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(plugin.component->terminate(), kResultOk);
        EXPECT_EQ(plugin.component->initialize(&host), kResultOk);
    }
    for (auto direction : { Vst::kInput, Vst::kOutput })
    {
        EXPECT_EQ(plugin.component->getBusCount(Vst::kAudio, direction), 1);
        EXPECT_EQ(plugin.component->getBusCount(Vst::kEvent, direction), 0);
        Vst::BusInfo info {};
        ASSERT_EQ(plugin.component->getBusInfo(Vst::kAudio, direction, 0, info), kResultTrue);
        EXPECT_EQ(toAscii(info.name), direction == Vst::kInput ? "Input" : "Output");
        EXPECT_EQ(info.channelCount, 2);
        EXPECT_EQ(info.busType, Vst::kMain);
        EXPECT_EQ(arrangement(plugin, direction), Vst::SpeakerArr::kStereo);
        EXPECT_NE(plugin.component->getBusInfo(Vst::kAudio, direction, 1, info), kResultTrue);
    }
    EXPECT_EQ(plugin.processor->canProcessSampleSize(Vst::kSample32), kResultTrue);
    plugin.start(44100.0, 512);
    EXPECT_EQ(plugin.processor->getLatencySamples(), 0u);
    EXPECT_TRUE(processesCleanly(plugin, 2, 512));
}

// Mono and stereo are taken; anything else is refused, and whatever the plug-in
// settles on is a layout it supports and processes with.
TEST(Lifecycle, ArrangementRequests)
{
    using namespace Vst::SpeakerArr;
    struct Request
    {
        Vst::SpeakerArrangement input, output;
        int32 inputs, outputs;
        bool accepted;
    };
    const Request requests[] = { { kMono, kMono, 1, 1, true },     { kStereo, kStereo, 1, 1, true },
                                 { kStereo, kMono, 1, 1, false },  { kMono, kStereo, 1, 1, false },
                                 { k51, k51, 1, 1, false },        { kEmpty, kStereo, 1, 1, false },
                                 { kStereo, kEmpty, 1, 1, false }, { k71Cine, kMono, 1, 1, false },
                                 { kMono, kMono, 2, 1, false },    { kMono, kMono, 1, 2, false } };
    for (const auto& request : requests)
    {
        SCOPED_TRACE(testing::Message() << std::hex << request.input << " -> " << request.output);
        PluginInstance plugin;
        Vst::SpeakerArrangement inputs[2] = { request.input, request.input };
        Vst::SpeakerArrangement outputs[2] = { request.output, request.output };
        const bool taken =
            plugin.processor->setBusArrangements(inputs, request.inputs, outputs, request.outputs) == kResultTrue;
        if (request.inputs == 1 && request.outputs == 1) // JUCE answers other bus counts with kResultOk
        {
            EXPECT_EQ(taken, request.accepted);
        }
        const auto input = arrangement(plugin, Vst::kInput);
        const auto output = arrangement(plugin, Vst::kOutput);
        EXPECT_EQ(input, output);
        ASSERT_TRUE(output == kMono || output == kStereo) << std::hex << output;
        if (request.accepted)
        {
            EXPECT_EQ(output, request.output);
        }
        plugin.start(44100.0, 256);
        EXPECT_TRUE(processesCleanly(plugin, output == kMono ? 1 : 2, 256));

        // No change while active.
        Vst::SpeakerArrangement other = output == kMono ? kStereo : kMono;
        EXPECT_NE(plugin.processor->setBusArrangements(&other, 1, &other, 1), kResultTrue);
        EXPECT_EQ(arrangement(plugin, Vst::kOutput), output);
    }
}
