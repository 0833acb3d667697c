#include "Common/ProcessBlock/FrequencyShifter/FrequencyShifter.h"

#include "Common/Math/Accelerate/BiquadState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
    // The reverb's Hilbert pair, each set as a1, a2, b0, b1, b2.
    void setHilbertPair(FrequencyShifter& shifter)
    {
        shifter.coefficients[FrequencyShifter::pathAStage1] = {0.02569f, -0.260502f, -0.260502f, 0.02568f, 1.0f};
        shifter.coefficients[FrequencyShifter::pathAStage2] = {-1.8685f, 0.870686f, 0.870686f, -1.8685f, 1.0f};
        shifter.coefficients[FrequencyShifter::pathBStage1] = {-1.94632f, 0.94657f, 0.94657f, -1.94632f, 1.0f};
        shifter.coefficients[FrequencyShifter::pathBStage2] = {-0.83774f, 0.06338f, 0.06338f, -0.83774f, 1.0f};
    }

    struct Tone
    {
        double amplitude, phase;  // phase in degrees
    };

    // Least-squares fit of a sin(wt) + b cos(wt) over the second half of the signal.
    Tone fit(const std::vector<float>& signal, double w)
    {
        double ss = 0, sc = 0, cc = 0, ys = 0, yc = 0;
        for (std::size_t i = signal.size() / 2; i < signal.size(); ++i)
        {
            const double s = std::sin(w * double(i)), c = std::cos(w * double(i));
            ss += s * s, sc += s * c, cc += c * c, ys += signal[i] * s, yc += signal[i] * c;
        }
        const double det = ss * cc - sc * sc;
        const double a = (ys * cc - yc * sc) / det, b = (yc * ss - ys * sc) / det;
        return {std::hypot(a, b), std::atan2(b, a) * 180.0 / M_PI};
    }

    std::vector<float> noise(std::size_t n)
    {
        std::vector<float> v(n);
        unsigned seed = 99;
        for (auto& x : v)
        {
            seed = seed * 1664525u + 1013904223u;
            x = static_cast<float>(seed >> 8) / float(1u << 24) - 0.5f;
        }
        return v;
    }
}

TEST(FrequencyShifter, PathsAreAllPassAndAQuarterCycleApart)
{
    FrequencyShifter shifter;
    setHilbertPair(shifter);
    shifter.init(1, 44100);
    for (double f : {100.0, 300.0, 1000.0, 3000.0, 10000.0})
    {
        const double w = 2.0 * M_PI * f / 44100.0;
        std::vector<float> a(44100);
        for (std::size_t i = 0; i < a.size(); ++i)
            a[i] = static_cast<float>(std::sin(w * double(i)));
        auto b = a;
        shifter.clear();
        for (std::size_t start = 0; start < a.size(); start += 64)
        {
            const std::size_t n = std::min<std::size_t>(64, a.size() - start);
            shifter.processPathA(a.data() + start, n, 0);
            shifter.processPathB(b.data() + start, n, 0);
        }
        const Tone toneA = fit(a, w), toneB = fit(b, w);
        EXPECT_NEAR(toneA.amplitude, 1.0, 1e-3) << f;
        EXPECT_NEAR(toneB.amplitude, 1.0, 1e-3) << f;
        const double lead = std::remainder(toneA.phase - toneB.phase, 360.0);
        EXPECT_NEAR(lead, 90.0, 2.0) << f;
    }
}

TEST(FrequencyShifter, InitRenewsEveryStateAndLimitsChannels)
{
    FrequencyShifter shifter;
    setHilbertPair(shifter);
    shifter.init(4, 48000);
    EXPECT_EQ(shifter.getChannelCount(), 4);
    auto signal = noise(64);
    for (unsigned long channel = 0; channel < 4; ++channel)
        shifter.processPathA(signal.data(), 64, channel);

    shifter.init(2, 44100);
    EXPECT_EQ(shifter.getChannelCount(), 2);
    std::vector<float> silence(64, 0.0f);
    shifter.processPathA(silence.data(), 64, 0);
    shifter.processPathB(silence.data(), 64, 1);
    for (float x : silence)
        EXPECT_EQ(x, 0.0f);
    EXPECT_THROW(shifter.getState(FrequencyShifter::pathBStage2, 2), std::out_of_range);

    shifter.init(6, 44100);
    EXPECT_EQ(shifter.getChannelCount(), FrequencyShifter::maximumChannels);
    EXPECT_EQ(shifter.channels, FrequencyShifter::maximumChannels);
}

TEST(FrequencyShifter, ClearSilencesTheSectionsAndKeepsPhasesAndCoefficients)
{
    FrequencyShifter shifter;
    setHilbertPair(shifter);
    shifter.init(2, 44100);
    shifter.phases = {0.25f, -0.5f, 0.0f, 0.0f};
    auto signal = noise(64);
    shifter.processPathA(signal.data(), 64, 1);
    shifter.processPathB(signal.data(), 64, 1);

    shifter.clear();
    std::vector<float> silence(64, 0.0f);
    shifter.processPathA(silence.data(), 64, 1);
    shifter.processPathB(silence.data(), 64, 1);
    for (float x : silence)
        EXPECT_EQ(x, 0.0f);
    EXPECT_EQ(shifter.phases[0], 0.25f);
    EXPECT_EQ(shifter.phases[1], -0.5f);
    EXPECT_EQ(shifter.coefficients[FrequencyShifter::pathAStage1][3], 0.02568f);
}
