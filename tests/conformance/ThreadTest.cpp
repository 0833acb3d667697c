// Threads as hosts use them: the audio thread processes while another thread
// saves and restores the state and moves parameters through the controller.
#include "PluginModule.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace Steinberg;
using namespace conformance;

TEST(Threads, StateAndControllerCallsWhileProcessing)
{
    PluginInstance first, second;
    first.start(48000.0, 256);
    const auto reverbTime = first.parameterId("ReverbTime");
    const auto roomSize = first.parameterId("RoomSize");

    std::atomic<bool> running { true };
    std::atomic<bool> clean { true };
    std::atomic<int> blocks { 0 };
    std::thread audio([&] {
        AudioBlock block(2, 256);
        unsigned seed = 0;
        while (running || blocks < 200)
        {
            ParameterChanges changes;
            changes.add(roomSize, 17, (seed % 10) / 10.0);
            block.fillNoise(++seed, 0.3f);
            if (first.process(block, &changes) != kResultOk || !block.outputIsFinite())
                clean = false;
            ++blocks;
        }
    });

    std::vector<char> last;
    for (int i = 0; i < 150; ++i)
    {
        const auto state = first.getState();
        if (stateXml(state).empty())
            clean = false;
        first.controller->setParamNormalized(reverbTime, (i % 7) / 7.0);
        if (i % 3 == 0)
            first.setState(state);
        second.setState(state);
        last = state;
    }
    running = false;
    audio.join();
    EXPECT_TRUE(clean);
    EXPECT_GE(blocks.load(), 200);

    // The last restore is complete: the second instance holds what was saved.
    EXPECT_EQ(second.getState(), last);
}
