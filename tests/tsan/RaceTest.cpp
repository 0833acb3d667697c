#include "support/ReverbKernelHarness.h"
#include "support/TestKernel.h"

#include "Common/Parameters/NoteDomain.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <thread>

// Automation and editor threads set and read parameters and the meter against the audio
// thread with no lock: the sanitizer checks the hand-over, the tests that ramps stay in
// range, the sound finite and the meter in range.
static const float wildValues[] = {-1e9f, -30.0f, -2.5f, 0.0f, 0.3f, 1.5f, 12.0f, 440.0f, 2e4f, 1e9f,
                                   std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()};

TEST(ParameterRace, ChangesFromOtherThreadsNeverYieldWildRampValues)
{
    using P = TestParameterList;
    struct Range { unsigned long index; float low, high; };
    const Range ranges[] = {{P::gain, -30.0f, 12.0f},
                            {P::frequency, NoteDomain::note(20.0f), NoteDomain::note(20000.0f)},
                            {P::linearFrequency, 800.0f, 18000.0f},
                            {P::stepped, -4.0f, 4.0f},
                            {P::choice, 10.0f, 40.0f}};
    TestKernel kernel;
    kernel.setDefaults();
    kernel.init(2, 48000.0);
    std::atomic<int> settersRunning{2};
    std::atomic<bool> bad{false};
    std::thread audio([&] {
        unsigned long frames = 1;
        for (unsigned long block = 0; settersRunning.load() > 0 || block < 100; ++block, frames = frames % 512 + 37)
        {
            kernel.process(frames, 0, 0);
            for (const Range& r : ranges)
                for (unsigned long i = 0; i < frames; ++i)
                {
                    const float v = kernel.parameterBuffers[r.index][i];
                    if (!(v >= r.low - 1e-3f && v <= r.high + 1e-3f))
                        bad = true;
                }
            kernel.setOutputValue(P::meter, static_cast<float>(block));
        }
    });
    auto setter = [&](unsigned seed) {
        for (unsigned i = 0; i < 20000; ++i)
            for (const Range& r : ranges)
            {
                kernel.setParameter(r.index, wildValues[(seed * 7u + r.index * 7u + i * 13u) % 12u]);
                if (!std::isfinite(kernel.getParameter(r.index)) || kernel.getOutputValues(P::meter)[0].load() < 0.0f)
                    bad = true;
            }
        --settersRunning;
    };
    std::thread first(setter, 1u), second(setter, 2u);
    for (std::thread* t : {&first, &second, &audio})
        t->join();
    EXPECT_FALSE(bad.load());

    kernel.setParameter(P::gain, 3.0f);  // once the changes stop, the last one is reached
    for (int b = 0; b < 20; ++b)
        kernel.process(64, 0, 0);
    EXPECT_EQ(kernel.parameterBuffers[P::gain][63], 3.0f);
}

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
    double peak = 0.0;
    for (unsigned long position = 0, frames = 1; position + frames <= in[0].size();
         position += frames, frames = frames % 700 + 61)
    {
        engine.processBlock(in, out, position, frames);
        for (const auto& channel : out)
            for (unsigned long i = position; i < position + frames; ++i)
                peak = std::isfinite(channel[i]) ? std::max(peak, double(std::fabs(channel[i]))) : INFINITY;
    }
    running = false;
    automation.join();
    EXPECT_TRUE(std::isfinite(peak));
    EXPECT_FALSE(wildMeter.load());
}
