#include "DelayLine.h"

#include "reverb/ReferenceDelay.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
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

    std::vector<float> impulse(size_t frames, size_t at = 0)
    {
        std::vector<float> x(frames, 0.0f);
        x[at] = 1.0f;
        return x;
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

TEST(DelayLine, FeedbackRepeatsTheSignalAndNeverLatchesNaN)
{
    auto line = makeLine(50.0f, 48000.0);
    DelayLineParameters p;
    p.delay = static_cast<float>(135.0 * 1000.0 / 48000.0); // 200 samples per pass
    p.feedback = 0.5f;
    std::vector<float> x = impulse(1000);
    for (size_t o = 0; o < x.size(); o += 50)
        line->process(x.data() + o, 50, 0, p);
    for (int k = 1; k <= 4; ++k)
        EXPECT_NEAR(x[200 * k], std::pow(0.5, k - 1), 1e-4) << k;

    // NaN in the input or as the feedback value does not stay in the loop, and
    // clear() leaves nothing behind.
    line->clear();
    std::vector<float> y = impulse(2000, 20);
    y[10] = NAN;
    for (size_t o = 0; o < y.size(); o += 64)
    {
        DelayLineParameters q = p;
        q.feedback = o == 128 ? NAN : p.feedback;
        line->process(y.data() + o, std::min<size_t>(64, y.size() - o), 0, q);
    }
    for (size_t t = 0; t < y.size(); ++t)
        ASSERT_TRUE(std::isfinite(y[t])) << t;
    EXPECT_NEAR(y[220], 1.0f, 1e-4f);
    line->clear();
    std::vector<float> silence(2000, 0.0f);
    line->process(silence.data(), silence.size(), 0, p);
    EXPECT_EQ(silence, std::vector<float>(2000, 0.0f));

    // Degenerate maximum delays still give a usable line->
    for (float maximumMs : {-5.0f, NAN})
        EXPECT_GT(DelayWrite(44100.0f, maximumMs).getSize(), 64);
}

// Delays that are not finite read as the clamps do: NaN and -inf at the
// shortest delay, +inf at the longest, in whole groups of four and in the tail.
TEST(DelayLine, NonFiniteDelaysReadAtTheClamps)
{
    const float inf = std::numeric_limits<float>::infinity();
    auto odd = makeLine(5.0f, 48000.0);
    auto plain = makeLine(5.0f, 48000.0);
    std::mt19937 random(5);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    std::vector<float> x(64);
    for (int slice = 0; slice < 10; ++slice)
    {
        for (float& v : x)
            v = noise(random);
        odd->write(x.data(), x.size(), 0);
        plain->write(x.data(), x.size(), 0);
    }
    const std::vector<float> nonFinite = {NAN, -inf, inf, 1.0f, inf, NAN, 2.5f, -inf, NAN, inf, -inf};
    const std::vector<float> finite = {0.0f, 0.0f, 1e6f, 1.0f, 1e6f, 0.0f, 2.5f, -1e6f, 0.0f, 1e6f, 0.0f};
    std::vector<float> a(nonFinite.size()), b(finite.size());
    odd->read(nonFinite.data(), a.data(), a.size(), 0);
    plain->read(finite.data(), b.data(), b.size(), 0);
    EXPECT_EQ(a, b);
}

// A read longer than a slice continues as slice-sized reads would, each
// followed by the write of its slice.
TEST(DelayLine, LongReadEqualsReadsInSlices)
{
    auto whole = makeLine(20.0f, 48000.0);
    auto sliced = makeLine(20.0f, 48000.0);
    std::mt19937 random(3);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    std::vector<float> x(1200), delay(200), a(200), b(200);
    for (float& v : x)
        v = noise(random);
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
