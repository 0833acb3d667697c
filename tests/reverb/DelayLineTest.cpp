#include "DelayLine.h"

#include "reverb/ReferenceDelay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace
{
    using reference::fixedLatency;
    using ReferenceDelay = reference::Delay;

    std::unique_ptr<DelayLine> makeLine(float maximumMs, double rate, int channels = 1)
    {
        auto line = std::make_unique<DelayLine>(maximumMs);
        line->init(channels, rate);
        return line;
    }

    // Runs a mono signal through the line in slices of the given lengths (cycled).
    std::vector<float> run(std::unique_ptr<DelayLine>& line, std::vector<float> signal,
                           const std::vector<float>& delayMs, const std::vector<unsigned long>& slices)
    {
        size_t s = 0;
        for (unsigned long o = 0; o < signal.size(); ++s)
        {
            const unsigned long n =
                std::min<unsigned long>(slices[s % slices.size()], signal.size() - o);
            line->process(signal.data() + o, n, 0, delayMs.data() + o, nullptr, true, false);
            o += n;
        }
        return signal;
    }

    size_t peakIndex(const std::vector<float>& x)
    {
        auto louder = [](float a, float b) { return std::fabs(a) < std::fabs(b); };
        return static_cast<size_t>(std::max_element(x.begin(), x.end(), louder) - x.begin());
    }
}

TEST(DelayLine, SizesTheCircleFromTheMaximumDelay)
{
    // 400 ms at 44.1 kHz: 17640 samples plus one slice.
    EXPECT_EQ(DelayWrite(44100.0f, 400.0f).getSize(), 17640 + 64);
    EXPECT_EQ(DelayWrite(44100.0f, 1000.0f).getSize(), 44100 + 64);
    // Rounded up to a multiple of 4.
    EXPECT_EQ(DelayWrite(44100.0f, 0.1f).getSize(), 68 + 64);
    EXPECT_EQ(DelayWrite(48000.0f, 5.05f).getSize(), 244 + 64);
    // Degenerate requests still give a usable line.
    EXPECT_EQ(DelayWrite(44100.0f, -5.0f).getSize(), 68 + 64);
    EXPECT_EQ(DelayWrite(NAN, 400.0f).getSize(), 68 + 64);
}

TEST(DelayLine, ImpulseArrivesAfterTheDelayPlus65Samples)
{
    const double rate = 48000.0;
    for (double d : {64.0, 100.0, 1000.0, 9600.0})
    {
        auto line = makeLine(400.0f, rate);
        std::vector<float> x(12000, 0.0f);
        x[0] = 1.0f;
        const std::vector<float> delay(x.size(), static_cast<float>(d * 1000.0 / rate));
        const auto out = run(line, x, delay, {64});
        const size_t at = peakIndex(out);
        EXPECT_EQ(at, static_cast<size_t>(d + fixedLatency)) << d;
        EXPECT_NEAR(out[at], 1.0f, 1e-3f) << d;
    }
}

TEST(DelayLine, ShortDelaysHoldAtOneSliceWhateverTheSliceLength)
{
    // Delays below 64 samples sound at 129 samples, for full slices and for
    // any split of the host block: no jump when the slice length changes.
    const double rate = 44100.0;
    const std::vector<std::vector<unsigned long>> splits{{64}, {32}, {1}, {36, 64, 7, 13}};
    for (float ms : {0.0f, 0.238f, 1.0f})
        for (const auto& slices : splits)
        {
            auto line = makeLine(400.0f, rate);
            for (size_t start : {0u, 37u, 300u})
            {
                std::vector<float> x(1000, 0.0f);
                x[start] = 1.0f;
                line->clear();
                const auto out = run(line, x, std::vector<float>(x.size(), ms), slices);
                EXPECT_EQ(peakIndex(out), start + 129) << ms << " start " << start;
                EXPECT_NEAR(out[start + 129], 1.0f, 1e-6f);
            }
        }
}

TEST(DelayLine, LongestDelayStaysInsideTheStoredHistory)
{
    // 5000 ms asked of a 400 ms line at 44.1 kHz: held at length - 3 = 17637,
    // so all four taps read samples that are still stored.
    const double rate = 44100.0;
    auto line = makeLine(400.0f, rate);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    std::vector<float> x(60000);
    for (float& v : x)
        v = noise(random);
    const auto out = run(line, x, std::vector<float>(x.size(), 5000.0f), {64});
    const size_t delay = 17637 + 65;
    for (size_t t = delay; t < x.size(); ++t)
        ASSERT_NEAR(out[t], x[t - delay], 1e-6f) << t;
}

TEST(DelayLine, InterpolationWeightsAreCubicLagrange)
{
    const double rate = 48000.0;
    for (double p : {200.0, 200.25, 200.5, 200.75, 200.9})
    {
        auto line = makeLine(100.0f, rate);
        std::vector<float> x(600, 0.0f);
        x[0] = 1.0f;
        const auto out = run(line, x, std::vector<float>(x.size(), float(p * 1000.0 / rate)), {64});
        const double f = p - std::floor(p);
        const size_t first = static_cast<size_t>(std::floor(p)) + 64;
        // Weights of the nodes one sample newer, at, one and two older.
        const double expected[4] = {-f * (f - 1) * (f - 2) / 6, (f + 1) * (f - 1) * (f - 2) / 2,
                                    -(f + 1) * f * (f - 2) / 2, (f + 1) * f * (f - 1) / 6};
        for (int k = 0; k < 4; ++k)
            EXPECT_NEAR(out[first + k], expected[k], 2e-4) << "p " << p << " tap " << k;
        double rest = 0.0;
        for (size_t t = 0; t < out.size(); ++t)
            if (t < first || t > first + 3)
                rest += std::fabs(out[t]);
        EXPECT_LT(rest, 1e-4);
    }
}

TEST(DelayLine, MatchesAReferenceDelayUnderRandomSlicesAndModulation)
{
    // A short line turns its circle many times; slices of random length move the
    // write position to every phase of the circle and across its end.
    const double rate = 48000.0;
    const float maximumMs = 5.0f;
    auto line = makeLine(maximumMs, rate);
    const int size = line->getWrite(0).getSize();
    ReferenceDelay reference{rate, static_cast<double>(size - 67), {}};

    std::mt19937 random(11);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    std::uniform_int_distribution<unsigned long> sliceLength(1, 64);
    std::vector<float> slice(64), delay(64);
    double phase = 0.0;
    for (int block = 0; block < 3000; ++block)
    {
        const unsigned long n = sliceLength(random);
        for (unsigned long j = 0; j < n; ++j)
        {
            slice[j] = noise(random);
            // Sweeps across both clamps: from 0 to 7 ms.
            delay[j] = static_cast<float>(3.5 + 3.5 * std::sin(phase));
            phase += 0.0007;
        }
        std::vector<double> expected(n);
        for (unsigned long j = 0; j < n; ++j)
        {
            // The reference's history holds everything before sample j.
            expected[j] = reference.read(delay[j]);
            reference.history.push_back(slice[j]);
        }
        line->process(slice.data(), n, 0, delay.data(), nullptr, true, false);
        for (unsigned long j = 0; j < n; ++j)
            ASSERT_NEAR(slice[j], expected[j], 2e-3) << "block " << block << " sample " << j;

        const float* data = line->getWrite(0).data();
        for (int k = 0; k < 4; ++k)
            ASSERT_EQ(data[size + k], data[k]) << "mirror after block " << block;
    }
}

TEST(DelayLine, LongCallsEqualSlicedCalls)
{
    const double rate = 44100.0;
    auto whole = makeLine(400.0f, rate);
    auto sliced = makeLine(400.0f, rate);
    std::vector<float> x(4096);
    for (size_t t = 0; t < x.size(); ++t)
        x[t] = std::sin(0.01f * t) + (t % 97 == 0 ? 1.0f : 0.0f);
    std::vector<float> delay(x.size());
    for (size_t t = 0; t < x.size(); ++t)
        delay[t] = 1.0f + 0.002f * t;
    const auto a = run(whole, x, delay, {4096});
    const auto b = run(sliced, x, delay, {64});
    EXPECT_EQ(a, b);
}

TEST(DelayLine, WriteAndRecirculateChooseWhatIsStoredAndReturned)
{
    const double rate = 48000.0;
    const float ms = static_cast<float>(100.0 * 1000.0 / rate); // 165 samples in all
    std::vector<float> impulse(64, 0.0f);
    impulse[0] = 1.0f;
    std::vector<float> silence(64, 0.0f);

    // Feedback 0, write on: io gets the delayed signal, the line keeps the input.
    auto line = makeLine(50.0f, rate);
    DelayLineParameters p;
    p.delay = ms;
    std::vector<float> io = impulse;
    line->process(io.data(), 64, 0, p);
    EXPECT_EQ(io, silence);
    for (int slice = 1; slice < 4; ++slice)
    {
        io = silence;
        line->process(io.data(), 64, 0, p);
        for (int j = 0; j < 64; ++j)
            EXPECT_NEAR(io[j], slice * 64 + j == 165 ? 1.0f : 0.0f, 1e-5f);
    }

    // Write off, recirculate on: io gets the delayed signal, nothing is stored.
    auto readOnly = makeLine(50.0f, rate);
    p.write = false;
    p.recirculate = true;
    for (int slice = 0; slice < 4; ++slice)
    {
        io = impulse;
        readOnly->process(io.data(), 64, 0, p);
        EXPECT_EQ(io, silence);
    }
    // Write off, recirculate off: io passes unchanged.
    p.recirculate = false;
    io = impulse;
    readOnly->process(io.data(), 64, 0, p);
    EXPECT_EQ(io, impulse);
}

TEST(DelayLine, FeedbackRepeatsTheSignalAndNeverLatchesNaN)
{
    const double rate = 48000.0;
    const float ms = static_cast<float>(135.0 * 1000.0 / rate); // 200 samples per pass
    auto line = makeLine(50.0f, rate);
    DelayLineParameters p;
    p.delay = ms;
    p.feedback = 0.5f;
    std::vector<float> x(1000, 0.0f);
    x[0] = 1.0f;
    for (size_t o = 0; o < x.size(); o += 50)
        line->process(x.data() + o, 50, 0, p);
    // io receives the delayed stored signal: echoes at 200, 400, 600, 800.
    for (int k = 1; k <= 4; ++k)
        EXPECT_NEAR(x[200 * k], std::pow(0.5, k - 1), 1e-4) << k;

    // NaN in the input or as the feedback value does not stay in the loop.
    line->clear();
    std::vector<float> y(2000, 0.0f);
    y[10] = NAN;
    y[20] = 1.0f;
    for (size_t o = 0; o < y.size(); o += 64)
    {
        DelayLineParameters q = p;
        if (o == 128)
            q.feedback = NAN;
        line->process(y.data() + o, std::min<size_t>(64, y.size() - o), 0, q);
    }
    for (size_t t = 0; t < y.size(); ++t)
        ASSERT_TRUE(std::isfinite(y[t])) << t;
    EXPECT_NEAR(y[220], 1.0f, 1e-4f);
}

TEST(DelayLine, ClearSilencesTheLineAndKeepsTheWriteIndex)
{
    auto line = makeLine(20.0f, 44100.0, 2);
    std::vector<float> x(64, 1.0f);
    for (int k = 0; k < 30; ++k)
    {
        std::fill(x.begin(), x.end(), 1.0f);
        line->process(x.data(), 64, 1, DelayLineParameters{});
    }
    const int index = line->getWrite(1).getWriteIndex();
    line->clear();
    EXPECT_EQ(line->getWrite(1).getWriteIndex(), index);
    for (int k = 0; k < 30; ++k)
    {
        std::vector<float> silence(64, 0.0f);
        line->process(silence.data(), 64, 1, DelayLineParameters{});
        for (float v : silence)
            ASSERT_EQ(v, 0.0f);
    }
    // A channel the line does not have is ignored.
    std::vector<float> io(64, 3.0f);
    line->process(io.data(), 64, 5, DelayLineParameters{});
    EXPECT_EQ(io, std::vector<float>(64, 3.0f));
}
