#include "DelayLine.h"

#include "dsp/TestSignals.h"
#include "reverb/ReferenceDelay.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace
{
    std::unique_ptr<DelayLine> makeLine(float maximumMs, double rate)
    {
        auto line = std::make_unique<DelayLine>(maximumMs);
        line->init(1, rate);
        return line;
    }
}

// A short line turns its circle many times under calls of random length (some
// longer than a slice) while the delay sweeps from 0 to 7 ms, across both
// clamps: the output is the reference's d + 65 samples late, never sooner than
// 64 + 65, never from beyond the stored history, and the wrap-around copy of
// the circle's start always matches.
TEST(DelayLine, MatchesAReferenceDelayUnderRandomCallsAndModulation)
{
    const double rate = 48000.0;
    auto line = makeLine(5.0f, rate);
    const int size = line->getWrite(0).getSize();
    reference::Delay expected{rate, static_cast<double>(size - 67), {}};

    std::mt19937 random(11);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    std::uniform_int_distribution<unsigned long> callLength(1, 200);
    std::vector<float> io(200), delay(200);
    double phase = 0.0;
    for (int call = 0; call < 2000; ++call)
    {
        const unsigned long n = callLength(random);
        std::vector<double> wanted(n);
        for (unsigned long j = 0; j < n; ++j)
        {
            io[j] = noise(random);
            delay[j] = static_cast<float>(3.5 + 3.5 * std::sin(phase));
            phase += 0.0007;
            wanted[j] = expected.read(delay[j]);
            expected.write(io[j]);
        }
        line->process(io.data(), n, 0, delay.data(), nullptr, true, false);
        for (unsigned long j = 0; j < n; ++j)
            ASSERT_NEAR(io[j], wanted[j], 2e-3) << "call " << call << " sample " << j;
        const float* data = line->getWrite(0).data();
        for (int k = 0; k < 4; ++k)
            ASSERT_EQ(data[size + k], data[k]) << "call " << call;
    }
}

// A read longer than a slice continues as slice-sized reads would, each
// followed by the write of its slice.
TEST(DelayLine, LongReadEqualsReadsInSlices)
{
    auto whole = makeLine(20.0f, 48000.0);
    auto sliced = makeLine(20.0f, 48000.0);
    const auto x = TestSignals::noise(1200, 3);
    std::vector<float> delay(200), a(200), b(200);
    for (std::size_t j = 0; j < delay.size(); ++j)
        delay[j] = 5.0f + 0.003f * static_cast<float>(j);  // 240 samples and more
    whole->write(x.data(), 1000, 0);
    sliced->write(x.data(), 1000, 0);
    whole->read(delay.data(), a.data(), 200, 0);
    for (unsigned long o = 0; o < 200; o += 64)
    {
        const unsigned long n = std::min(64ul, 200 - o);
        sliced->read(delay.data() + o, b.data() + o, n, 0);
        sliced->write(x.data() + 1000 + o, n, 0);
    }
    EXPECT_EQ(a, b);
}
