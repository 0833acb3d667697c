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
        DuckerParameters parameters{-10.0f, 20.0f, 100.0f, 30.0f};

        Rig() { ducker.init(2, sampleRate); }

        // One slice with a constant wet signal of 1, so the output is the squared gain.
        void run(float dryLevel, unsigned long channel = 0)
        {
            std::fill(wet.begin(), wet.end(), 1.0f);
            std::fill(dry.begin(), dry.end(), dryLevel);
            ducker.process(wet.data(), dry.data(), slice, channel, parameters);
        }
    };

    // Expected target gain, from the compressor law in double precision.
    double targetFor(double level, double thresholdDb, double ratio)
    {
        const double thr = std::pow(10.0, thresholdDb / 20.0);
        return std::min(1.0, std::max((level - thr) / ratio + thr, 0.001) / std::max(level, 0.001));
    }

    // Per-sample slope of a step towards target over the given time constant.
    double slopeFor(double gain, double target, double timeMs)
    {
        return (target - gain) / (timeMs * sampleRate / 1000.0);
    }
}

TEST(Ducker, TargetGainFollowsTheCompressorLaw)
{
    EXPECT_NEAR(targetFor(1.0, -10.0, 30.0), 0.33902, 1e-5);
    for (double level : {0.0, 0.1, 0.5, 1.0, 3.0})
    {
        Rig rig;
        rig.parameters.attack = 50.0f;
        for (int i = 0; i < 2000; ++i)
            rig.run(static_cast<float>(level));
        const double target = targetFor(level, -10.0, 30.0);
        EXPECT_NEAR(rig.ducker.getGain(0), target, 1e-4) << level;
        EXPECT_NEAR(rig.wet[slice - 1], target * target, 2e-4) << level;
    }
}

TEST(Ducker, GainFadesInFromSilenceAtTheReleaseRate)
{
    Rig rig;
    double gain = 0.0;
    for (int k = 0; k < 40; ++k)
    {
        const double slope = slopeFor(gain, 1.0, rig.parameters.release);
        rig.run(0.0f);
        for (unsigned long j = 0; j < slice; ++j)
        {
            const double g = std::clamp(gain + static_cast<double>(j) * slope, 0.0, 1.0);
            ASSERT_NEAR(rig.wet[j], g * g, 1e-5) << k << " " << j;
        }
        gain = std::clamp(gain + slice * slope, 0.0, 1.0);
        ASSERT_NEAR(rig.ducker.getGain(0), gain, 1e-5) << k;
    }
    // Closed form of 40 steps of 64/4410 of the remaining distance.
    EXPECT_NEAR(gain, 1.0 - std::pow(1.0 - 64.0 / 4410.0, 40), 1e-9);
    EXPECT_EQ(rig.ducker.getGain(1), 0.0f) << "channels duck apart";
}

TEST(Ducker, GainFallsAtTheAttackRate)
{
    Rig rig;
    for (int i = 0; i < 200; ++i)
        rig.run(0.0f);
    const double start = rig.ducker.getGain(0);
    const double target = targetFor(0.8, -10.0, 30.0);
    for (int k = 1; k <= 30; ++k)
    {
        rig.run(0.8f);
        // Each slice covers 64 / 882 of the remaining distance (20 ms at 44.1 kHz).
        const double expected = target + (start - target) * std::pow(1.0 - 64.0 / 882.0, k);
        ASSERT_NEAR(rig.ducker.getGain(0), expected, 1e-5) << k;
    }
}

TEST(Ducker, AttackShorterThanASliceRunsPastTheTargetWithinTheClamp)
{
    // 1 ms is 44.1 samples: the straight ramp over the 64-sample slice runs
    // 1.45 times the distance to the target; only the [0, 1] clamp holds it.
    Rig rig;
    rig.parameters.release = 10.0f;
    for (int i = 0; i < 400; ++i)
        rig.run(0.0f);
    const double before = rig.ducker.getGain(0);
    ASSERT_GT(before, 0.999);

    rig.parameters.attack = 1.0f;
    rig.run(1.0f);
    const double target = targetFor(1.0, -10.0, 30.0);
    const double slope = slopeFor(before, target, 1.0);
    for (unsigned long j = 0; j < slice; ++j)
    {
        const double g = std::clamp(before + static_cast<double>(j) * slope, 0.0, 1.0);
        EXPECT_NEAR(rig.wet[j], g * g, 1e-5) << j;
    }
    const double after = std::clamp(before + 64.0 * slope, 0.0, 1.0);
    EXPECT_NEAR(rig.ducker.getGain(0), after, 1e-5);
    EXPECT_NEAR((before - after) / (before - target), 64.0 / 44.1, 1e-3);
}

TEST(Ducker, PeakDetectorAndSilentDetector)
{
    Rig peak;
    peak.ducker.setDetectorMode(Ducker::peakDetector);
    peak.parameters.attack = 10.0f;
    Rig none;
    none.ducker.setDetectorMode(7);
    for (int i = 0; i < 2000; ++i)
    {
        std::fill(peak.dry.begin(), peak.dry.end(), 0.0f);
        peak.dry[5] = -2.0f;
        std::fill(peak.wet.begin(), peak.wet.end(), 1.0f);
        peak.ducker.process(peak.wet.data(), peak.dry.data(), slice, 0, peak.parameters);
        none.run(5.0f);
    }
    EXPECT_NEAR(peak.ducker.getGain(0), targetFor(2.0, -10.0, 30.0), 1e-4);
    EXPECT_NEAR(none.ducker.getGain(0), 1.0, 1e-4);
}

TEST(Ducker, MeterReadsTheSquaredGainOfEachWindow)
{
    Rig rig;
    EXPECT_EQ(rig.ducker.getMeter().getValue(0), 100.0f);
    double peak = 0.0;
    for (int k = 0; k < 16; ++k)
    {
        rig.run(0.0f);
        peak = std::max(peak, static_cast<double>(rig.wet[slice - 1]));
    }
    EXPECT_NEAR(rig.ducker.getMeter().getValue(0), 20.0 * std::log10(peak) + 100.0, 1e-3);
}

TEST(Ducker, NonFiniteInputAndSettingsNeverLatchTheGain)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    Rig rig;
    for (int i = 0; i < 50; ++i)
        rig.run(0.0f);
    rig.run(nan);
    rig.run(inf);
    rig.parameters.threshold = nan;
    rig.run(1.0f);
    rig.parameters.threshold = inf;
    rig.run(1.0f);
    rig.parameters = {-10.0f, nan, nan, nan};
    rig.run(1.0f);
    rig.run(0.0f);
    EXPECT_TRUE(std::isfinite(rig.ducker.getGain(0)));

    rig.parameters = {-10.0f, 20.0f, 100.0f, 30.0f};
    for (int i = 0; i < 2000; ++i)
        rig.run(1.0f);
    const double target = targetFor(1.0, -10.0, 30.0);
    EXPECT_NEAR(rig.ducker.getGain(0), target, 1e-4);
    for (float w : rig.wet)
        EXPECT_NEAR(w, target * target, 2e-4);
    EXPECT_TRUE(std::isfinite(rig.ducker.getMeter().getValue(0)));

    Rig noRate;
    noRate.ducker.init(2, std::numeric_limits<double>::quiet_NaN());
    noRate.run(1.0f);
    noRate.run(0.0f);
    EXPECT_TRUE(std::isfinite(noRate.ducker.getGain(0)));
}

TEST(Ducker, LongBlocksAndUnknownChannelsAreSafe)
{
    Rig rig;
    std::vector<float> wet(10000, 1.0f), dry(10000, 0.0f);
    rig.ducker.process(wet.data(), dry.data(), wet.size(), 1, rig.parameters);
    rig.ducker.process(wet.data(), dry.data(), wet.size(), 9, rig.parameters);
    EXPECT_TRUE(std::all_of(wet.begin(), wet.end(), [](float w) { return w >= 0.0f && w <= 1.0f; }));
    EXPECT_GT(rig.ducker.getGain(1), 0.99f);
    rig.ducker.clear();
    EXPECT_EQ(rig.ducker.getGain(1), 0.0f);
}
