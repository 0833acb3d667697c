// Calls a careless host or a validator makes: processing before any setup,
// extreme rates and odd blocks on one instance, layouts the host then ignores,
// and editor views opened while the audio thread runs.
// Run in the sanitizer build, these also show memory and thread faults.
#include "ParameterTable.h"
#include "PluginModule.h"

#include "pluginterfaces/gui/iplugview.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace Steinberg;
using namespace conformance;

// One instance, first processed before any setup, then through rates from 8 kHz
// to 384 kHz, mono and stereo, with blocks of odd lengths and automation at
// offsets on and past the block's end.
TEST(HostileHost, RatesBlocksAndLayoutsChangeBetweenActivations)
{
    PluginInstance plugin;
    AudioBlock early(2, 512);
    early.fillNoise(1);
    EXPECT_EQ(plugin.process(early), kResultOk);
    EXPECT_TRUE(early.outputIsClean());
    int round = 0;
    for (double rate : { 8000.0, 384000.0, 11025.0, 352800.0, 8000.0 })
    {
        const int channels = round++ % 2 == 0 ? 2 : 1;
        Vst::SpeakerArrangement layout = channels == 1 ? Vst::SpeakerArr::kMono : Vst::SpeakerArr::kStereo;
        ASSERT_EQ(plugin.processor->setBusArrangements(&layout, 1, &layout, 1), kResultTrue);
        plugin.start(rate, 1024);
        for (int frames : { 1, 7, 1024, 0, 333 })
        {
            ParameterChanges changes;
            for (size_t i = 0; i < hostParameters().size(); ++i)
            {
                const auto id = plugin.parameterId(hostParameters()[i].id);
                changes.add(id, frames / 2, static_cast<double>((i + static_cast<size_t>(frames)) % 3) - 0.5);
                changes.add(id, frames, static_cast<double>(i * 37 % 11) / 10.0);
            }
            AudioBlock block(channels, frames), ignored(3 - channels, frames);
            block.fillNoise(static_cast<unsigned>(frames));
            ignored.fillNoise(2);
            ASSERT_EQ(plugin.process(block, &changes), kResultOk);
            plugin.process(ignored); // a host that ignores the layout it set
            EXPECT_TRUE(block.outputIsClean() && ignored.outputIsClean()) << rate << " Hz, " << frames << " frames";
        }
        for (int i = 0; i < 40; ++i)
        {
            AudioBlock block(channels, 1024);
            block.fillNoise(static_cast<unsigned>(i), 1.0f);
            ASSERT_EQ(plugin.process(block), kResultOk);
            ASSERT_TRUE(block.outputIsClean()) << rate << " Hz, block " << i;
        }
        plugin.stop();
    }
}

// Views are made and dropped unattached (no display here) while the audio thread
// delivers automation to the editor's parameter callbacks.
TEST(HostileHost, EditorViewsComeAndGoWhileProcessing)
{
    PluginInstance plugin;
    plugin.start(48000.0, 256);
    const auto filterType = plugin.parameterId("InputFilterType");
    std::atomic<bool> running { true };
    std::thread audio([&] {
        AudioBlock block(2, 256);
        for (unsigned i = 0; running; ++i)
        {
            ParameterChanges changes;
            changes.add(filterType, 3, i % 2);
            block.fillNoise(i);
            plugin.process(block, &changes);
        }
    });
    for (int i = 0; i < 8; ++i)
    {
        auto* view = plugin.controller->createView(Vst::ViewType::kEditor);
        ASSERT_NE(view, nullptr);
        EXPECT_NE(view->attached(nullptr, kPlatformTypeX11EmbedWindowID), kResultOk);
        if (i % 2 == 1)
            view->removed();
        view->release();
    }
    running = false;
    audio.join();
    EXPECT_EQ(plugin.controller->createView("no such view"), nullptr);
}
