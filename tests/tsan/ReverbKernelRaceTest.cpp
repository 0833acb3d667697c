#include "support/ReverbKernelHarness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <thread>

// The host's automation thread and the editor's meter timer run against the
// audio thread with no lock: the sanitizer checks the hand-over, the test that
// the sound stays finite and the meter in range.
TEST(ReverbKernelRace, ParametersChangedWhileProcessing)
{
    using P = ZorvikReverbParameterList;
    ReverbKernelHarness engine(48000.0);
    std::atomic<bool> running{true};
    std::atomic<bool> wildMeter{false};

    std::thread automation([&] {
        const float values[] = {-1e6f, 0.0f, 0.3f, 1.0f, 12.5f, 50.0f, 400.0f, 1e6f,
                                std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()};
        for (int i = 0; running.load(); ++i)
        {
            const auto index = static_cast<unsigned long>(i % P::parameterCount);
            if (index != P::DuckerMeter)
                engine.kernel.setParameter(index, values[(i * 7) % 10]);
            (void) engine.kernel.getParameter(index);
            if (i % 64 == 0)
                std::this_thread::yield();
        }
    });
    std::thread meter([&] {
        while (running.load())
        {
            const float value = engine.meter();
            if (!(value >= 0.0f && value <= 100.0f))
                wildMeter = true;
            std::this_thread::yield();
        }
    });

    ReverbKernelHarness::Signal in = makeNoise(2, 48000, 0.5f);
    ReverbKernelHarness::Signal out = in;
    unsigned long frames = 1;
    float peak = 0.0f;
    for (unsigned long position = 0; position + frames <= in[0].size(); position += frames)
    {
        engine.processBlock(in, out, position, frames);
        for (int c = 0; c < 2; ++c)
            for (unsigned long i = 0; i < frames; ++i)
                peak = std::isfinite(out[c][position + i]) ? std::max(peak, std::fabs(out[c][position + i])) : INFINITY;
        frames = frames % 700 + 61;
    }
    running = false;
    automation.join();
    meter.join();

    EXPECT_TRUE(std::isfinite(peak));
    EXPECT_FALSE(wildMeter.load());
}
