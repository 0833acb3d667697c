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

TEST(DelayLine, FeedbackRepeatsTheSignalAndNeverLatchesNaN)
{
    // 135 samples asked for: 200 samples a pass. The per-sample form with a
    // feedback buffer repeats the impulse as the scalar form does.
    auto line = makeLine(50.0f, 48000.0), buffered = makeLine(50.0f, 48000.0);
    DelayLineParameters p;
    p.delay = static_cast<float>(135.0 * 1000.0 / 48000.0);
    p.feedback = 0.5f;
    std::vector<float> x(1000, 0.0f), delays(1000, p.delay), gains(1000, 0.5f);
    x[0] = 1.0f;
    std::vector<float> y = x;
    for (std::size_t o = 0; o < x.size(); o += 50)
    {
        line->process(x.data() + o, 50, 0, p);
        buffered->process(y.data() + o, 50, 0, {0.0f, delays.data() + o, 0.0f, gains.data() + o, true, false});
    }
    for (int k = 1; k <= 4; ++k)
    {
        EXPECT_NEAR(x[200 * k], std::pow(0.5, k - 1), 1e-4) << k;
        EXPECT_NEAR(y[200 * k], std::pow(0.5, k - 1), 1e-4) << k;
    }

    // NaN in the input or as the feedback value does not stay in the loop.
    line->clear();
    std::vector<float> z(2000, 0.0f);
    z[20] = 1.0f;
    z[10] = NAN;
    for (std::size_t o = 0; o < z.size(); o += 64)
    {
        DelayLineParameters q = p;
        q.feedback = o == 128 ? NAN : p.feedback;
        line->process(z.data() + o, std::min<std::size_t>(64, z.size() - o), 0, q);
    }
    for (std::size_t t = 0; t < z.size(); ++t)
        ASSERT_TRUE(std::isfinite(z[t])) << t;
    EXPECT_NEAR(z[220], 1.0f, 1e-4f);

    // Degenerate maximum delays still give a usable line.
    for (float maximumMs : {-5.0f, NAN})
        EXPECT_GT(DelayWrite(44100.0f, maximumMs).getSize(), 64);
}

// With no feedback, write chooses whether the slice is stored and recirculate
// whether the delayed signal or the input is stored (or handed back).
TEST(DelayLine, WriteAndRecirculateChooseWhatIsStoredAndReturned)
{
    // 1 ms is held at one slice: the read gives what was written 129 samples ago, exactly.
    const auto history = TestSignals::noise(300, 5), input = TestSignals::noise(32, 6);
    const std::vector<float> delayed(history.begin() + 171, history.begin() + 203);
    struct Case { bool write, recirculate; const std::vector<float>* out; const std::vector<float>* stored; };
    const Case cases[] = {{true, false, &delayed, &input}, {true, true, &delayed, &delayed},
                          {false, true, &delayed, nullptr}, {false, false, &input, nullptr}};
    const std::vector<float> milliseconds(32, 1.0f);
    for (const Case& c : cases)
        for (const float* delayBuffer : {static_cast<const float*>(nullptr), milliseconds.data()})
        {
            SCOPED_TRACE(testing::Message() << c.write << c.recirculate << (delayBuffer ? " buffer" : " scalar"));
            auto line = makeLine(5.0f, 48000.0);
            line->write(history.data(), history.size(), 0);
            const int start = line->getWrite(0).getWriteIndex();
            std::vector<float> io = input;
            line->process(io.data(), 32, 0, {1.0f, delayBuffer, 0.0f, nullptr, c.write, c.recirculate});
            EXPECT_EQ(io, *c.out);
            const float* data = line->getWrite(0).data();
            EXPECT_EQ(line->getWrite(0).getWriteIndex(), c.stored ? start + 32 : start);
            if (c.stored)
            {
                EXPECT_EQ(std::vector<float>(data + start, data + start + 32), *c.stored);
            }
        }
    std::vector<float> io = input;
    makeLine(5.0f, 48000.0)->process(io.data(), 32, 3, {1.0f});  // no such channel: untouched
    EXPECT_EQ(io, input);
}

// A delay is held between one slice and the longest that keeps all four taps
// inside the stored history (size - 67 samples); NaN counts as the shortest.
TEST(DelayLine, DelaysAreHeldBetweenOneSliceAndTheStoredHistory)
{
    const int size = DelayWrite(44100.0f, 400.0f).getSize();
    const float shortest = 64.0f, longest = static_cast<float>(size - 67);
    const float cases[][2] = {{10.5f, shortest}, {NAN, shortest},  {-INFINITY, shortest}, {64.0f, 64.0f},
                              {1000.25f, 1000.25f}, {5000.0f * 44.1f, longest}, {INFINITY, longest}};
    for (const auto& c : cases)
        EXPECT_EQ(DelayRead::clampPosition(c[0], size), c[1]) << c[0];
}
