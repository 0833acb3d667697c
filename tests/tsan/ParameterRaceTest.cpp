#include "support/TestKernel.h"

#include "Common/Parameters/NoteDomain.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

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

    // A fixed, thread-local sequence of values, some far outside every range.
    float value(unsigned seed, int i)
    {
        const float values[] = {-1e9f, -30.0f, -2.5f, 0.0f, 1.5f, 12.0f, 440.0f, 20000.0f, 1e9f,
                                std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()};
        return values[(seed * 7u + static_cast<unsigned>(i) * 13u) % (sizeof values / sizeof values[0])];
    }
}

TEST(ParameterRace, ChangesFromOtherThreadsNeverYieldWildRampValues)
{
    TestKernel kernel;
    kernel.setDefaults();
    kernel.init(2, 48000.0);

    constexpr int changes = 20000;
    std::atomic<int> settersRunning{2};
    std::atomic<bool> badValue{false};

    std::thread audio([&] {
        unsigned long frames = 1;
        int blocks = 0;
        while (settersRunning.load() > 0 || blocks < 100)
        {
            kernel.process(frames, 0, 0);
            for (const Range& r : ranges)
            {
                const float* buffer = kernel.parameterBuffers[r.index];
                for (unsigned long i = 0; i < frames; ++i)
                    if (!(buffer[i] >= r.low - 1e-3f && buffer[i] <= r.high + 1e-3f))
                        badValue = true;
            }
            kernel.setOutputValue(P::meter, static_cast<float>(blocks));
            frames = frames % 512 + 37;
            ++blocks;
        }
    });

    auto setter = [&](unsigned seed) {
        for (int i = 0; i < changes; ++i)
            for (const Range& r : ranges)
                kernel.setParameter(r.index, value(seed + static_cast<unsigned>(r.index), i));
        --settersRunning;
    };
    std::thread first(setter, 1u);
    std::thread second(setter, 2u);

    std::thread reader([&] {
        std::atomic<float>* meter = kernel.getOutputValues(P::meter);
        for (int i = 0; i < changes; ++i)
        {
            for (const Range& r : ranges)
                if (!std::isfinite(kernel.getParameter(r.index)))
                    badValue = true;
            if (meter != nullptr && meter[0].load() < 0.0f)
                badValue = true;
        }
    });

    first.join();
    second.join();
    reader.join();
    audio.join();
    EXPECT_FALSE(badValue.load());

    // Once the changes stop, the last one is reached.
    kernel.setParameter(P::gain, 3.0f);
    for (int b = 0; b < 20; ++b)
        kernel.process(64, 0, 0);
    EXPECT_EQ(kernel.parameterBuffers[P::gain][63], 3.0f);
}
