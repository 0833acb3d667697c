#include "Common/ProcessBlock/FrequencyShifter/FrequencyShifter.h"

#include "dsp/TestSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace TestSignals;

namespace
{
    // The reverb's Hilbert pair, each set as a1, a2, b0, b1, b2.
    void setHilbertPair(FrequencyShifter& shifter, unsigned long channels, double rate)
    {
        shifter.coefficients[FrequencyShifter::pathAStage1] = {0.02569f, -0.260502f, -0.260502f, 0.02568f, 1.0f};
        shifter.coefficients[FrequencyShifter::pathAStage2] = {-1.8685f, 0.870686f, 0.870686f, -1.8685f, 1.0f};
        shifter.coefficients[FrequencyShifter::pathBStage1] = {-1.94632f, 0.94657f, 0.94657f, -1.94632f, 1.0f};
        shifter.coefficients[FrequencyShifter::pathBStage2] = {-0.83774f, 0.06338f, 0.06338f, -0.83774f, 1.0f};
        shifter.init(channels, rate);
    }

    // Least-squares fit of a sin(wi) + b cos(wi) over the second half: amplitude and phase in degrees.
    std::pair<double, double> fit(const std::vector<float>& y, double w)
    {
        double ss = 0, sc = 0, cc = 0, ys = 0, yc = 0;
        for (std::size_t i = y.size() / 2; i < y.size(); ++i)
        {
            const double s = std::sin(w * double(i)), c = std::cos(w * double(i));
            ss += s * s, sc += s * c, cc += c * c, ys += y[i] * s, yc += y[i] * c;
        }
        const double det = ss * cc - sc * sc, a = (ys * cc - yc * sc) / det, b = (yc * ss - ys * sc) / det;
        return {std::hypot(a, b), std::atan2(b, a) * 180.0 / M_PI};
    }

    bool silentAfterRunningBothPaths(FrequencyShifter& shifter, unsigned long channel)
    {
        std::vector<float> a(64, 0.0f), b(64, 0.0f);
        shifter.processPaths(a.data(), b.data(), 64, channel);
        return largest(a) + largest(b) == 0.0;
    }
}

TEST(FrequencyShifter, PathsAreAllPassAndAQuarterCycleApart)
{
    FrequencyShifter shifter;
    setHilbertPair(shifter, 1, 44100);
    for (double f : {100.0, 1000.0, 10000.0})
    {
        auto a = sine(f / 44100.0, 44100), b = a;
        shifter.clear();
        for (std::size_t start = 0; start < a.size(); start += 64)
        {
            shifter.processPathA(a.data() + start, std::min<std::size_t>(64, a.size() - start), 0);
            shifter.processPathB(b.data() + start, std::min<std::size_t>(64, b.size() - start), 0);
        }
        const auto [amplitudeA, phaseA] = fit(a, 2.0 * M_PI * f / 44100.0);
        const auto [amplitudeB, phaseB] = fit(b, 2.0 * M_PI * f / 44100.0);
        EXPECT_NEAR(amplitudeA, 1.0, 1e-3) << f;
        EXPECT_NEAR(amplitudeB, 1.0, 1e-3) << f;
        EXPECT_NEAR(std::remainder(phaseA - phaseB, 360.0), 90.0, 2.0) << f;  // path A leads
    }
}

TEST(FrequencyShifter, InitRenewsStatesAndPhasesAndClearKeepsPhases)
{
    FrequencyShifter shifter;
    setHilbertPair(shifter, 4, 48000);
    auto signal = noise(64);
    shifter.phases = {0.25f, -0.5f, 0.0f, 0.0f};
    for (unsigned long channel = 0; channel < 4; ++channel)
        shifter.processPathA(signal.data(), 64, channel), shifter.processPathB(signal.data(), 64, channel);
    shifter.clear();
    EXPECT_TRUE(silentAfterRunningBothPaths(shifter, 1));
    EXPECT_EQ(shifter.phases[1], -0.5f);
    shifter.processPathA(signal.data(), 64, 0);
    shifter.init(6, 48000);  // phases and states exist for four channels only
    EXPECT_EQ(shifter.getChannelCount(), FrequencyShifter::maximumChannels);
    EXPECT_EQ(shifter.phases[1], 0.0f);
    EXPECT_TRUE(silentAfterRunningBothPaths(shifter, 0));
}
