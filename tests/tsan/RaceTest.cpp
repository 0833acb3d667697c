#include "support/ReverbKernelHarness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <thread>

// Automation and editor threads set and read parameters and the meter against the audio
// thread with no lock: the sanitizer checks the hand-over, the test that the sound stays
// finite and the meter in range.
static const float wildValues[] = {-1e9f, -30.0f, -2.5f, 0.0f, 0.3f, 1.5f, 12.0f, 440.0f, 2e4f, 1e9f,
                                   std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()};

TEST(ReverbKernelRace, ParametersChangedWhileProcessing)
{
    using P = ZorvikReverbParameterList;
    ReverbKernelHarness engine(48000.0);
    std::atomic<bool> running{true}, wildMeter{false};
    std::thread automation([&] {
        for (unsigned long i = 0; running.load(); ++i)
        {
            const unsigned long index = i % P::parameterCount;
            if (index != P::DuckerMeter)
                engine.kernel.setParameter(index, wildValues[(i * 7) % 12]);
            (void) engine.kernel.getParameter(index);
            const float meter = engine.meter();
            if (!(meter >= 0.0f && meter <= 100.0f))
                wildMeter = true;
            if (i % 64 == 0)
                std::this_thread::yield();
        }
    });
    ReverbKernelHarness::Signal in = makeNoise(2, 48000, 0.5f), out = in;
    for (unsigned long position = 0, frames = 1; position + frames <= in[0].size();
         position += frames, frames = frames % 700 + 61)
        engine.processBlock(in, out, position, frames);
    running = false;
    automation.join();
    EXPECT_TRUE(std::isfinite(peakOf(out)));
    EXPECT_FALSE(wildMeter.load());
}
