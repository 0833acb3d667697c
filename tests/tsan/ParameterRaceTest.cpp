#include "support/TestKernel.h"

#include "Common/Parameters/NoteDomain.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <thread>

namespace
{
    using P = TestParameterList;

    struct Range { unsigned long index; float low; float high; };

    // The ramp domain of each ramped test parameter.
    const Range ranges[] = {
        {P::gain, -30.0f, 12.0f},
        {P::frequency, NoteDomain::note(20.0f), NoteDomain::note(20000.0f)},
        {P::linearFrequency, 800.0f, 18000.0f},
        {P::stepped, -4.0f, 4.0f},
        {P::choice, 10.0f, 40.0f},
    };

    // A fixed sequence of values per thread, many far outside every range.
    float value(unsigned seed, int i)
    {
        const float values[] = {-1e9f, -30.0f, -2.5f, 0.0f, 1.5f, 12.0f, 440.0f, 2e4f, 1e9f,
                                std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()};
        return values[(seed * 7u + static_cast<unsigned>(i) * 13u) % 11u];
    }
}

TEST(ParameterRace, ChangesFromOtherThreadsNeverYieldWildRampValues)
{
    TestKernel kernel;
    kernel.setDefaults();
    kernel.init(2, 48000.0);
    constexpr int changes = 20000;
    std::atomic<int> settersRunning{2};
    std::atomic<bool> bad{false};

    std::thread audio([&] {
        unsigned long frames = 1;
        for (int block = 0; settersRunning.load() > 0 || block < 100; ++block)
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
            frames = frames % 512 + 37;
        }
    });
    auto setter = [&](unsigned seed) {
        for (int i = 0; i < changes; ++i)
            for (const Range& r : ranges)
                kernel.setParameter(r.index, value(seed + static_cast<unsigned>(r.index), i));
        --settersRunning;
    };
    std::thread first(setter, 1u), second(setter, 2u);
    std::thread reader([&] {
        std::atomic<float>* meter = kernel.getOutputValues(P::meter);
        for (int i = 0; i < changes; ++i)
        {
            for (const Range& r : ranges)
                if (!std::isfinite(kernel.getParameter(r.index)))
                    bad = true;
            if (meter[0].load() < 0.0f)
                bad = true;
        }
    });
    first.join();
    second.join();
    reader.join();
    audio.join();
    EXPECT_FALSE(bad.load());

    // Once the changes stop, the last one is reached.
    kernel.setParameter(P::gain, 3.0f);
    for (int b = 0; b < 20; ++b)
        kernel.process(64, 0, 0);
    EXPECT_EQ(kernel.parameterBuffers[P::gain][63], 3.0f);
}
