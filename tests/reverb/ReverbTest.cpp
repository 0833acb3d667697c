#include "Reverb.h"

#include "reverb/ReferenceDelay.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace
{
    constexpr double networkTimes[4] = {58.6435, 69.4325, 74.5234, 86.1244};
    constexpr double reflectionTimes[4] = {19.392, 16.364, 7.645, 4.2546};

    double sizeFor(double roomSize) { return (roomSize + 3.0) / 41.66; }

    // 0.5 * 0.001^(d3 / RT): -60 dB after RT seconds of recirculation through
    // line 3, the Hadamard sum's gain of 2 cancelled by 0.5.
    double expectedGain(double roomSize, double reverbTime)
    {
        const double d3 = sizeFor(roomSize) * networkTimes[3] * 0.001;
        return 0.5 * std::pow(0.001, d3 / reverbTime);
    }

    // Captures what each line is given to store.
    class RecordingReverb : public Reverb
    {
    public:
        void processWriteDelayLine(unsigned long line, float* buffer, unsigned long frames) override
        {
            written[line].assign(buffer, buffer + frames);
            Reverb::processWriteDelayLine(line, buffer, frames);
        }
        std::array<std::vector<float>, 4> written;
    };

    struct Controls
    {
        std::vector<float> roomSize = std::vector<float>(4096, 50.0f);
        std::vector<float> damping = std::vector<float>(4096, 9000.0f);
        std::vector<float> mix = std::vector<float>(4096, 70.0f);
        std::vector<float> zero = std::vector<float>(4096, 0.0f);
        std::array<std::vector<float>, 4> lfo{zero, zero, zero, zero};
        float reverbTime = 3.2f;
        bool freeze = false;

        ReverbSliceParameters slice() const
        {
            ReverbSliceParameters p;
            p.roomSize = roomSize.data();
            for (int i = 0; i < 4; ++i)
                p.lfo[i] = lfo[i].data();
            p.reverbTime = reverbTime;
            p.freeze = freeze;
            p.damping = damping.data();
            p.dampingMix = mix.data();
            return p;
        }
        std::array<const float*, 4> lfoPointers() const
        {
            return {lfo[0].data(), lfo[1].data(), lfo[2].data(), lfo[3].data()};
        }
    };

    template <typename R = Reverb>
    std::unique_ptr<R> makeReverb(double rate)
    {
        auto reverb = std::make_unique<R>();
        reverb->init(2, rate);
        return reverb;
    }

    double rms(const std::vector<float>& x, size_t from, size_t to)
    {
        double sum = 0.0;
        for (size_t t = from; t < to; ++t)
            sum += double(x[t]) * x[t];
        return std::sqrt(sum / double(to - from));
    }
}

TEST(Reverb, DelayTimesFollowRoomSizeAndModulation)
{
    auto reverb = makeReverb(48000.0);
    Controls c;
    for (int j = 0; j < 64; ++j)
    {
        c.roomSize[j] = 50.0f + j * 0.5f;
        for (int i = 0; i < 4; ++i)
            c.lfo[i][j] = std::sin(0.1 * j + i) * 0.25f;
    }
    c.lfo[3][0] = -1.0f; // pulls a short reflection time below zero: taken as its magnitude
    c.roomSize[0] = 0.0f;
    reverb->setDelayTimes(c.roomSize.data(), c.lfoPointers(), 64);
    auto& er = reverb->getEarlyReflections();
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_NEAR(reverb->entry(i).baseTime, sizeFor(0.0) * networkTimes[i], 1e-4);
        EXPECT_FLOAT_EQ(er.entry(i).baseTime, float(reflectionTimes[i]));
        for (int j = 0; j < 64; ++j)
        {
            const double s = sizeFor(c.roomSize[j]);
            EXPECT_NEAR(reverb->entry(i).delayBuffer[j],
                        std::fabs(s * networkTimes[i] + 1.25 * c.lfo[i][j]), 1e-4);
            EXPECT_NEAR(er.entry(i).delayBuffer[j],
                        std::fabs(s * reflectionTimes[i] + 1.2 * c.lfo[i][j]), 1e-4);
        }
    }
}

TEST(Reverb, FeedbackGainFollowsReverbTimeAndFreeze)
{
    auto reverb = makeReverb(44100.0);
    Controls c;
    reverb->setDelayTimes(c.roomSize.data(), c.lfoPointers(), 64);
    // RoomSize 50 %, 3.2 s: d3 = 109.57 ms, gain 0.3947.
    EXPECT_NEAR(reverb->targetGain(3.2f, false), 0.3947, 1e-4);
    EXPECT_NEAR(reverb->targetGain(3.2f, false), expectedGain(50.0, 3.2), 1e-6);
    EXPECT_NEAR(reverb->targetGain(0.2f, false), expectedGain(50.0, 0.2), 1e-6);
    EXPECT_NEAR(reverb->targetGain(30.0f, false), expectedGain(50.0, 30.0), 1e-6);
    EXPECT_EQ(reverb->targetGain(3.2f, true), 0.5f);
    EXPECT_EQ(reverb->targetGain(0.0f, true), 0.5f);

    // Values no control produces still give a gain in [0, 0.5].
    EXPECT_EQ(reverb->targetGain(0.0f, false), 0.0f);
    EXPECT_EQ(reverb->targetGain(-1.0f, false), 0.0f);
    EXPECT_EQ(reverb->targetGain(INFINITY, false), 0.5f);
    EXPECT_EQ(reverb->targetGain(NAN, false), reverb->getPreviousFeedbackGain());
}

TEST(Reverb, FeedbackGainRampsOverOneSliceAndThenHolds)
{
    auto reverb = makeReverb(44100.0);
    Controls c;
    reverb->setDelayTimes(c.roomSize.data(), c.lfoPointers(), 64);
    const double g = expectedGain(50.0, 3.2);

    // After construction the gain rises from 0 over the first slice.
    reverb->setFeedbackGain(3.2f, false, 64);
    const float* gain = reverb->getFeedbackGainBuffer();
    for (int j = 0; j < 64; ++j)
        EXPECT_NEAR(gain[j], g * j / 64.0, 1e-6) << j;
    EXPECT_NEAR(reverb->getPreviousFeedbackGain(), g, 1e-6);

    // An unchanged value holds the gain flat.
    reverb->setFeedbackGain(3.2f, false, 36);
    for (int j = 0; j < 36; ++j)
        EXPECT_NEAR(gain[j], g, 1e-6);

    // Freeze ramps linearly to 0.5 over the next slice, and holds it exactly.
    reverb->setFeedbackGain(3.2f, true, 32);
    for (int j = 0; j < 32; ++j)
        EXPECT_NEAR(gain[j], g + (0.5 - g) * j / 32.0, 1e-6) << j;
    for (int k = 0; k < 100; ++k)
        reverb->setFeedbackGain(3.2f, true, 7);
    for (int j = 0; j < 7; ++j)
        EXPECT_EQ(gain[j], 0.5f);

    // A NaN reverb time keeps the gain where it was.
    reverb->setFeedbackGain(NAN, false, 64);
    for (int j = 0; j < 64; ++j)
        EXPECT_EQ(gain[j], 0.5f);
}

TEST(Reverb, NetworkMatchesAReferenceFeedbackDelayNetwork)
{
    // Undamped (mix 0 %), unmodulated: each line returns what it stored, times
    // the feedback gain; inputs enter lines 0 and 1; the stores are the
    // Hadamard transform; the outputs are 0.259 (y0 + y2) and 0.259 (y1 + y3).
    const double rate = 48000.0;
    auto reverb = makeReverb<RecordingReverb>(rate);
    Controls c;
    std::fill(c.mix.begin(), c.mix.end(), 0.0f);
    const double roomSize = 10.0; // lines of 18 to 27 ms
    std::fill(c.roomSize.begin(), c.roomSize.end(), float(roomSize));
    const double reverbTime = 1.5;
    const double g = expectedGain(roomSize, reverbTime);

    std::array<reference::Delay, 4> lines;
    double delayMs[4];
    for (int i = 0; i < 4; ++i)
    {
        lines[i].sampleRate = rate;
        delayMs[i] = sizeFor(roomSize) * networkTimes[i];
    }
    const int hadamard[4][4] = {{1, 1, 1, 1}, {1, -1, 1, -1}, {1, 1, -1, -1}, {1, -1, -1, 1}};

    std::mt19937 random(3);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    std::uniform_int_distribution<unsigned long> sliceLength(1, 64);
    std::vector<float> left(64), right(64);
    bool first = true;
    for (int block = 0; block < 800; ++block)
    {
        const unsigned long n = sliceLength(random);
        for (unsigned long j = 0; j < n; ++j)
        {
            left[j] = block < 100 ? noise(random) : 0.0f;
            right[j] = block < 100 ? noise(random) : 0.0f;
        }
        std::vector<double> expectedLeft(n), expectedRight(n);
        std::array<std::vector<double>, 4> expectedWrite;
        for (unsigned long j = 0; j < n; ++j)
        {
            const double gain = first ? g * double(j) / double(n) : g;
            double y[4];
            for (int i = 0; i < 4; ++i)
                y[i] = gain * lines[i].read(delayMs[i]);
            y[0] += left[j];
            y[1] += right[j];
            expectedLeft[j] = 0.259 * (y[0] + y[2]);
            expectedRight[j] = 0.259 * (y[1] + y[3]);
            for (int i = 0; i < 4; ++i)
            {
                double w = 0.0;
                for (int k = 0; k < 4; ++k)
                    w += hadamard[i][k] * y[k];
                expectedWrite[i].push_back(w);
                lines[i].write(w);
            }
        }
        first = false;

        reverb->setDelayTimes(c.roomSize.data(), c.lfoPointers(), n);
        reverb->setFeedbackGain(float(reverbTime), false, n);
        reverb->processNetwork(left.data(), right.data(), c.damping.data(), c.mix.data(), n);
        for (unsigned long j = 0; j < n; ++j)
        {
            ASSERT_NEAR(left[j], expectedLeft[j], 2e-3) << block << " " << j;
            ASSERT_NEAR(right[j], expectedRight[j], 2e-3) << block << " " << j;
            for (int i = 0; i < 4; ++i)
                ASSERT_NEAR(reverb->written[i][j], expectedWrite[i][j], 2e-3) << block << " line " << i;
        }
    }
}

TEST(Reverb, FreezeHoldsTheTailWhileDampingAndTimeLetItDecay)
{
    const double rate = 48000.0;
    auto tailLevels = [&](bool freeze, float mix, float reverbTime) {
        auto reverb = makeReverb(rate);
        Controls c;
        std::fill(c.mix.begin(), c.mix.end(), mix);
        c.reverbTime = reverbTime;
        c.freeze = freeze;
        // Low partials only: the fractional reads' interpolation loses nothing there.
        std::vector<float> left(int(rate) * 3), right(left.size());
        for (size_t t = 0; t < 4800; ++t)
        {
            const double time = t / rate;
            left[t] = float(std::sin(2 * M_PI * 110 * time) + std::sin(2 * M_PI * 370 * time));
            right[t] = float(std::sin(2 * M_PI * 230 * time));
        }
        for (size_t o = 0; o < left.size(); o += 64)
            reverb->processSlice(left.data() + o, right.data() + o, 64, c.slice());
        // Level over the second half-second and over the last one.
        return std::make_pair(rms(left, 24000, 48000), rms(left, 120000, 144000));
    };

    // Frozen and undamped the loop neither gains nor loses.
    const auto frozen = tailLevels(true, 0.0f, 3.2f);
    EXPECT_NEAR(frozen.second / frozen.first, 1.0, 0.1);
    // Damping still takes energy out of a frozen loop.
    const auto frozenDamped = tailLevels(true, 70.0f, 3.2f);
    EXPECT_LT(frozenDamped.second / frozenDamped.first, frozen.second / frozen.first);
    // Over 2 s the tail falls at least as fast as line 3 alone would (60 dB per
    // reverb time) and at most as fast as line 0, the shortest, would.
    auto bounds = [](double reverbTime) {
        const double slowest = std::pow(10.0, -3.0 * 2.0 / reverbTime);
        const double fastest = std::pow(10.0, -3.0 * 2.0 / reverbTime * networkTimes[3] / networkTimes[0]);
        return std::make_pair(fastest, slowest);
    };
    const auto short1 = tailLevels(false, 0.0f, 1.0f);
    EXPECT_LT(short1.second / short1.first, bounds(1.0).second);
    const auto long1 = tailLevels(false, 0.0f, 10.0f);
    EXPECT_GT(long1.second / long1.first, 0.8 * bounds(10.0).first);
    EXPECT_LT(long1.second / long1.first, 1.2 * bounds(10.0).second);
}

TEST(Reverb, StaysFiniteAtEveryRateWithExtremeSettings)
{
    for (double rate : {22050.0, 32000.0, 44100.0, 48000.0, 96000.0, 192000.0})
        for (bool freeze : {false, true})
        {
            auto reverb = makeReverb(rate);
            Controls c;
            c.freeze = freeze;
            c.reverbTime = 30.0f;
            std::fill(c.damping.begin(), c.damping.end(), 18000.0f); // above Nyquist at 22.05 kHz
            std::fill(c.roomSize.begin(), c.roomSize.end(), 100.0f);
            for (int j = 0; j < 4096; ++j)
                for (int i = 0; i < 4; ++i)
                    c.lfo[i][j] = std::sin(0.01 * j + i * 1.5708);
            std::vector<float> left(64), right(64);
            double peak = 0.0;
            const int slices = int(rate * 2.0 / 64.0);
            for (int k = 0; k < slices; ++k)
            {
                for (int j = 0; j < 64; ++j)
                {
                    // A full-scale square wave for the first half: the loudest input there is.
                    left[j] = k < slices / 2 ? ((k / 4) % 2 ? 1.0f : -1.0f) : 0.0f;
                    right[j] = -left[j];
                }
                reverb->processSlice(left.data(), right.data(), 64, c.slice());
                for (int j = 0; j < 64; ++j)
                {
                    ASSERT_TRUE(std::isfinite(left[j]) && std::isfinite(right[j])) << rate;
                    peak = std::max(peak, double(std::fabs(left[j])));
                }
            }
            EXPECT_GT(peak, 0.01) << rate;
            if (!freeze)
            {
                EXPECT_LT(peak, 100.0) << rate;
            }
        }
}

TEST(Reverb, FrozenLoopFedForeverStaysFinite)
{
    // Freeze keeps feeding the input into a loop of gain 1: a constant input
    // grows without bound in the lines until the loop cuts it, never to inf.
    auto reverb = makeReverb(48000.0);
    Controls c;
    c.freeze = true;
    std::fill(c.mix.begin(), c.mix.end(), 0.0f);
    std::vector<float> left(64), right(64);
    for (int k = 0; k < 3000; ++k)
    {
        std::fill(left.begin(), left.end(), 1e13f);
        std::fill(right.begin(), right.end(), 1e13f);
        reverb->processSlice(left.data(), right.data(), 64, c.slice());
        for (int j = 0; j < 64; ++j)
            ASSERT_TRUE(std::isfinite(left[j]) && std::isfinite(right[j])) << k;
    }
    // Input far beyond full scale does not overflow either.
    for (int k = 0; k < 100; ++k)
    {
        std::fill(left.begin(), left.end(), 1e37f);
        std::fill(right.begin(), right.end(), -1e37f);
        reverb->processSlice(left.data(), right.data(), 64, c.slice());
        for (int j = 0; j < 64; ++j)
            ASSERT_TRUE(std::isfinite(left[j]) && std::isfinite(right[j])) << k;
    }
}

TEST(Reverb, SilenceGivesExactZerosAndNaNPassesThrough)
{
    auto reverb = makeReverb(44100.0);
    Controls c;
    std::vector<float> left(64, 0.0f), right(64, 0.0f);
    for (int k = 0; k < 200; ++k)
    {
        reverb->processSlice(left.data(), right.data(), 64, c.slice());
        for (int j = 0; j < 64; ++j)
            ASSERT_TRUE(left[j] == 0.0f && right[j] == 0.0f);
    }

    // One NaN sample goes through the reflections once and leaves nothing behind.
    left[5] = NAN;
    reverb->processSlice(left.data(), right.data(), 64, c.slice());
    for (int k = 0; k < 2000; ++k)
    {
        std::fill(left.begin(), left.end(), 0.1f);
        std::fill(right.begin(), right.end(), -0.1f);
        reverb->processSlice(left.data(), right.data(), 64, c.slice());
        for (int j = 0; k > 100 && j < 64; ++j)
            ASSERT_TRUE(std::isfinite(left[j]) && std::isfinite(right[j])) << k;
    }

    // clear() silences the lines and the reflections.
    reverb->clear();
    for (int k = 0; k < 100; ++k)
    {
        std::fill(left.begin(), left.end(), 0.0f);
        std::fill(right.begin(), right.end(), 0.0f);
        reverb->processSlice(left.data(), right.data(), 64, c.slice());
        for (int j = 0; j < 64; ++j)
            ASSERT_TRUE(left[j] == 0.0f && right[j] == 0.0f) << k;
    }
}
