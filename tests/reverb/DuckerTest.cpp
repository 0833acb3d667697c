#include "Ducker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace
{
    constexpr double sampleRate = 44100.0;
    constexpr unsigned long slice = 64;

    struct Rig
    {
        Ducker ducker;
        std::vector<float> wet = std::vector<float>(slice, 1.0f);
        std::vector<float> dry = std::vector<float>(slice, 0.0f);
        DuckerParameters parameters{-10.0f, 20.0f, 100.0f, 30.0f}; // threshold, attack, release, ratio

        Rig() { ducker.init(2, sampleRate); }

        // One slice with a constant wet signal of 1, so the output is the squared gain.
        void run(float dryLevel, int slices = 1)
        {
            for (int k = 0; k < slices; ++k)
            {
                std::fill(wet.begin(), wet.end(), 1.0f);
                std::fill(dry.begin(), dry.end(), dryLevel);
                ducker.process(wet.data(), dry.data(), slice, 0, parameters);
            }
        }
        double gain() const { return ducker.getGain(0); }
    };

    // Expected target gain, from the compressor law in double precision.
    double targetFor(double level, double thresholdDb = -10.0, double ratio = 30.0)
    {
        const double thr = std::pow(10.0, thresholdDb / 20.0);
        return std::min(1.0, std::max((level - thr) / ratio + thr, 0.001) / std::max(level, 0.001));
    }

    // Checks one slice's squared gains against a straight ramp covering 64 / (time in
    // samples) of the way to the target per slice, held in [0, 1]; returns the gain after it.
    double expectRamp(const Rig& rig, double gain, double target, double timeMs)
    {
        const double slope = (target - gain) / (timeMs * sampleRate / 1000.0);
        for (unsigned long j = 0; j < slice; ++j)
        {
            const double g = std::clamp(gain + static_cast<double>(j) * slope, 0.0, 1.0);
            EXPECT_NEAR(rig.wet[j], g * g, 1e-5) << j;
        }
        return std::clamp(gain + slice * slope, 0.0, 1.0);
    }
}

TEST(Ducker, TargetGainFollowsTheCompressorLaw)
{
    for (double level : {0.0, 0.1, 0.5, 1.0, 3.0})
    {
        Rig rig;
        rig.parameters.attack = 50.0f;
        rig.run(static_cast<float>(level), 2000);
        EXPECT_NEAR(rig.gain(), targetFor(level), 1e-4) << level;
    }
}

TEST(Ducker, GainRisesAtTheReleaseRateAndTheMeterReadsIt)
{
    Rig rig;
    EXPECT_EQ(rig.ducker.getMeter().getValue(0), 100.0f);
    double gain = 0.0;
    for (int k = 0; k < 40; ++k)
    {
        rig.run(0.0f);
        gain = expectRamp(rig, gain, 1.0, rig.parameters.release);
        ASSERT_NEAR(rig.gain(), gain, 1e-5) << k;
        if (k == 15) // the first 1024-frame window: its peak is its last squared gain
        {
            EXPECT_NEAR(rig.ducker.getMeter().getValue(0), 20.0 * std::log10(rig.wet[slice - 1]) + 100.0, 1e-3);
        }
    }
    EXPECT_EQ(rig.ducker.getGain(1), 0.0f) << "channels duck apart";
}

TEST(Ducker, GainFallsAtTheAttackRateAndShortAttacksRunPastTheTargetWithinTheClamp)
{
    for (float attack : {20.0f, 1.0f})
    {
        // 1 ms is 44.1 samples: the ramp over a slice runs 1.45 times the
        // distance to the target, and only the [0, 1] clamp holds it.
        SCOPED_TRACE(attack);
        Rig rig;
        rig.parameters.release = 10.0f;
        rig.run(0.0f, 400);
        double gain = rig.gain();
        rig.parameters.attack = attack;
        for (int k = 0; k < (attack > 5.0f ? 30 : 1); ++k) // past the target the release takes over
        {
            rig.run(0.8f);
            gain = expectRamp(rig, gain, targetFor(0.8), attack);
            ASSERT_NEAR(rig.gain(), gain, 1e-5) << k;
        }
    }
}

// The processor replaces a sample rate that is no number; should one still reach
// the ducker, its gain stays finite.
TEST(Ducker, ARateThatIsNoNumberLeavesTheGainFinite)
{
    Rig rig;
    rig.ducker.init(2, std::numeric_limits<double>::quiet_NaN());
    rig.run(1.0f);
    EXPECT_TRUE(std::isfinite(rig.gain()));
}

TEST(Ducker, NonFiniteInputAndSettingsNeverLatchTheGain)
{
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    Rig rig;
    rig.run(0.0f, 50);
    rig.run(nan);
    rig.run(inf);
    const DuckerParameters badSettings[] = {{nan, 20, 100, 30}, {inf, 20, 100, 30}, {-10, nan, nan, nan}};
    for (const DuckerParameters& bad : badSettings)
    {
        rig.parameters = bad;
        rig.run(1.0f);
        EXPECT_TRUE(std::isfinite(rig.gain()));
    }
    rig.parameters = {-10.0f, 20.0f, 100.0f, 30.0f};
    rig.run(1.0f, 2000);
    EXPECT_NEAR(rig.gain(), targetFor(1.0), 1e-4);
    EXPECT_TRUE(std::isfinite(rig.ducker.getMeter().getValue(0)));

    // Long blocks and unknown channels are safe.
    std::vector<float> wet(10000, 1.0f), dry(10000, 0.0f);
    rig.ducker.process(wet.data(), dry.data(), wet.size(), 1, rig.parameters);
    rig.ducker.process(wet.data(), dry.data(), wet.size(), 9, rig.parameters);
    EXPECT_GT(rig.ducker.getGain(1), 0.99f);
    EXPECT_EQ(rig.ducker.getGain(9), 0.0f);
}
