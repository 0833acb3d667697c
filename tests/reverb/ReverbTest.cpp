#include "CustomReverb.h"
#include "Reverb.h"

#include "reverb/ReferenceDelay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

namespace
{
    constexpr double networkTimes[4] = {58.6435, 69.4325, 74.5234, 86.1244}; // ms at 100 % size

    double sizeFor(double roomSize) { return (roomSize + 3.0) / 41.66; }

    // 0.5 * 0.001^(d3 / RT): -60 dB after RT seconds of recirculation through
    // line 3, the Hadamard sum's gain of 2 cancelled by 0.5.
    double expectedGain(double roomSize, double reverbTime)
    {
        return 0.5 * std::pow(0.001, sizeFor(roomSize) * networkTimes[3] * 0.001 / reverbTime);
    }

    struct Controls
    {
        std::vector<float> roomSize = std::vector<float>(64, 50.0f);
        std::vector<float> damping = std::vector<float>(64, 9000.0f);
        std::vector<float> mix = std::vector<float>(64, 70.0f);
        std::vector<float> zero = std::vector<float>(64, 0.0f);
        float reverbTime = 3.2f;
        bool freeze = false;

        std::array<const float*, 4> lfo() const { return {zero.data(), zero.data(), zero.data(), zero.data()}; }
        ReverbSliceParameters slice() const
        {
            ReverbSliceParameters p;
            p.roomSize = roomSize.data();
            p.lfo = lfo();
            p.reverbTime = reverbTime;
            p.freeze = freeze;
            p.damping = damping.data();
            p.dampingMix = mix.data();
            return p;
        }
    };

    // Runs constant left and right inputs through n slices: the loudest output, inf if any is not finite.
    float runPeak(Reverb& reverb, const Controls& c, int slices, float left, float right)
    {
        std::vector<float> l(64), r(64);
        float peak = 0.0f;
        for (int k = 0; k < slices; ++k)
        {
            std::fill(l.begin(), l.end(), left);
            std::fill(r.begin(), r.end(), right);
            reverb.processSlice(l.data(), r.data(), 64, c.slice());
            for (int j = 0; j < 64; ++j)
                peak = std::isfinite(l[j]) && std::isfinite(r[j]) ? std::max({peak, std::fabs(l[j]), std::fabs(r[j])}) : INFINITY;
        }
        return peak;
    }
}

// Freeze ramps the feedback gain to 0.5 over a slice and then holds it exactly:
// with the Hadamard sum's gain of 2 the loop neither decays nor grows.
TEST(Reverb, FreezeHoldsTheFeedbackGainAtExactlyOneHalf)
{
    Reverb reverb;
    reverb.init(2, 44100.0);
    for (unsigned long frames : {32ul, 7ul, 64ul})
        reverb.setFeedbackGain(3.2f, true, frames);
    for (int j = 0; j < 64; ++j)
        ASSERT_EQ(reverb.getFeedbackGainBuffer()[j], 0.5f) << j;
}

TEST(Reverb, NetworkMatchesAReferenceFeedbackDelayNetwork)
{
    // Undamped (mix 0 %), unmodulated, slices of random length: each line
    // returns what it stored, times the feedback gain (rising from 0 over the
    // first slice); inputs enter lines 0 and 1; the stores are the Hadamard
    // transform; the outputs are 0.259 (y0 + y2) and 0.259 (y1 + y3).
    const double rate = 48000.0;
    Reverb reverb;
    reverb.init(2, rate);
    Controls c;
    std::fill(c.mix.begin(), c.mix.end(), 0.0f);
    const double roomSize = 10.0; // lines of 18 to 27 ms
    std::fill(c.roomSize.begin(), c.roomSize.end(), float(roomSize));
    const double reverbTime = 1.5;
    const double g = expectedGain(roomSize, reverbTime);
    std::array<reference::Delay, 4> lines;
    const int hadamard[4][4] = {{1, 1, 1, 1}, {1, -1, 1, -1}, {1, 1, -1, -1}, {1, -1, -1, 1}};

    std::mt19937 random(3);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    std::uniform_int_distribution<unsigned long> sliceLength(1, 64);
    std::vector<float> left(64), right(64);
    for (int block = 0; block < 800; ++block)
    {
        const unsigned long n = sliceLength(random);
        std::vector<double> expectedLeft(n), expectedRight(n);
        for (unsigned long j = 0; j < n; ++j)
        {
            left[j] = block < 100 ? noise(random) : 0.0f;
            right[j] = block < 100 ? noise(random) : 0.0f;
            const double gain = block == 0 ? g * double(j) / double(n) : g;
            double y[4];
            for (int i = 0; i < 4; ++i)
                y[i] = gain * lines[i].read(sizeFor(roomSize) * networkTimes[i]);
            y[0] += left[j];
            y[1] += right[j];
            expectedLeft[j] = 0.259 * (y[0] + y[2]);
            expectedRight[j] = 0.259 * (y[1] + y[3]);
            for (int i = 0; i < 4; ++i)
                lines[i].write(hadamard[i][0] * y[0] + hadamard[i][1] * y[1] + hadamard[i][2] * y[2] + hadamard[i][3] * y[3]);
        }
        reverb.setDelayTimes(c.roomSize.data(), c.lfo(), n);
        reverb.setFeedbackGain(float(reverbTime), false, n);
        reverb.processNetwork(left.data(), right.data(), c.damping.data(), c.mix.data(), n);
        for (unsigned long j = 0; j < n; ++j)
        {
            ASSERT_NEAR(left[j], expectedLeft[j], 2e-3) << block << " " << j;
            ASSERT_NEAR(right[j], expectedRight[j], 2e-3) << block << " " << j;
        }
    }
}

TEST(Reverb, AFrozenLoopNeverOverflowsEvenFromHugeInput)
{
    // A frozen loop keeps taking input at gain 1: it grows until the loop cuts
    // it, never to inf, even from input far beyond full scale.
    Reverb frozen;
    frozen.init(2, 48000.0);
    Controls c;
    c.freeze = true;
    std::fill(c.mix.begin(), c.mix.end(), 0.0f);
    EXPECT_LT(runPeak(frozen, c, 3000, 1e13f, 1e13f), INFINITY);
    EXPECT_LT(runPeak(frozen, c, 100, 1e37f, -1e37f), INFINITY);
}

TEST(Reverb, FeedbackGainFollowsReverbTimeAndStaysInRange)
{
    Reverb reverb;
    reverb.init(2, 44100.0);
    Controls c;
    reverb.setDelayTimes(c.roomSize.data(), c.lfo(), 64);
    EXPECT_NEAR(reverb.targetGain(3.2f, false), 0.3947, 1e-4);  // a 50 % room
    for (float reverbTime : {0.2f, 3.2f, 30.0f})
        EXPECT_NEAR(reverb.targetGain(reverbTime, false), expectedGain(50.0, reverbTime), 1e-6) << reverbTime;
    EXPECT_EQ(reverb.targetGain(0.0f, true), 0.5f);
    // Values no control produces still give a gain in [0, 0.5]; a NaN time keeps the gain reached.
    EXPECT_EQ(reverb.targetGain(-1.0f, false), 0.0f);
    EXPECT_EQ(reverb.targetGain(INFINITY, false), 0.5f);
    reverb.setFeedbackGain(3.2f, false, 64);
    EXPECT_EQ(reverb.targetGain(NAN, false), reverb.getPreviousFeedbackGain());
}

// One line read on its own: what was stored, damped (not at all with a mix of
// 0 %) and scaled by the feedback gain, added to what the buffer held. Values
// that may not enter the loop are stored as 0; lines past the fourth are ignored.
TEST(Reverb, ALineReadOnItsOwnGivesItsStoredSignalTimesTheFeedbackGain)
{
    const double rate = 48000.0;
    Reverb reverb;
    reverb.init(2, rate);
    Controls c;
    std::fill(c.mix.begin(), c.mix.end(), 0.0f);
    reverb.setDelayTimes(c.roomSize.data(), c.lfo(), 64);
    for (int k = 0; k < 2; ++k)
        reverb.setFeedbackGain(1.0f, true, 64);  // held at one half from the second slice on
    std::mt19937 random(4);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    for (unsigned long line = 0; line < 4; ++line)
    {
        reference::Delay expected{rate, 1e9, {}};
        std::vector<float> io(64), x(64);
        for (int slice = 0; slice < 100; ++slice)
        {
            std::vector<double> wanted(64);
            for (unsigned long j = 0; j < 64; ++j)
            {
                x[j] = slice == 3 && j < 4 ? std::array<float, 4>{NAN, INFINITY, 1e16f, 1e-16f}[j] : noise(random);
                wanted[j] = 1.0 + 0.5 * expected.read(sizeFor(50.0) * networkTimes[line]);
                expected.write(std::isfinite(x[j]) && std::fabs(x[j]) < 1e15f && std::fabs(x[j]) > 1e-15f ? x[j] : 0.0);
            }
            std::fill(io.begin(), io.end(), 1.0f);
            reverb.processReadDelayLine(line, io.data(), 64, c.damping.data(), c.mix.data());
            reverb.processWriteDelayLine(line, x.data(), 64);
            for (unsigned long j = 0; j < 64; ++j)
                ASSERT_NEAR(io[j], wanted[j], 2e-3) << "line " << line << ", slice " << slice << ", " << j;
        }
    }
    std::vector<float> io(64, 1.0f), x(64, 1.0f);
    reverb.processReadDelayLine(4, io.data(), 64, c.damping.data(), c.mix.data());
    reverb.processWriteDelayLine(4, x.data(), 64);
    EXPECT_EQ(io, std::vector<float>(64, 1.0f));
}

// Before its first init the network has no line storage: it passes its input
// on through the taps, and an empty slice does nothing.
TEST(Reverb, ANetworkUsedBeforeItsFirstInitIsSafe)
{
    Controls c;
    Reverb plain;
    CustomReverb shifted;
    for (Reverb* reverb : {&plain, static_cast<Reverb*>(&shifted)})
    {
        EXPECT_LT(runPeak(*reverb, c, 20, 0.5f, -0.5f), 2.0f);
        float left = 1.0f, right = 1.0f;
        reverb->processNetwork(&left, &right, c.damping.data(), c.mix.data(), 0);
        EXPECT_EQ(left, 1.0f);
    }
}
