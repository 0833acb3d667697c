#include "Common/ProcessBlock/FrequencyShifter/FrequencyShifter.h"

#include "dsp/TestSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <stdexcept>
#include <vector>

using namespace TestSignals;

namespace
{
    // The reverb's Hilbert pair, each set as a1, a2, b0, b1, b2.
    void setHilbertPair(FrequencyShifter& shifter, int channels, double rate)
    {
        shifter.coefficients[FrequencyShifter::pathAStage1] = {0.02569f, -0.260502f, -0.260502f, 0.02568f, 1.0f};
        shifter.coefficients[FrequencyShifter::pathAStage2] = {-1.8685f, 0.870686f, 0.870686f, -1.8685f, 1.0f};
        shifter.coefficients[FrequencyShifter::pathBStage1] = {-1.94632f, 0.94657f, 0.94657f, -1.94632f, 1.0f};
        shifter.coefficients[FrequencyShifter::pathBStage2] = {-0.83774f, 0.06338f, 0.06338f, -0.83774f, 1.0f};
        shifter.init(channels, rate);
    }

    bool silentAfterRunningBothPaths(FrequencyShifter& shifter, unsigned long channel)
    {
        std::vector<float> a(64, 0.0f), b(64, 0.0f);
        shifter.processPaths(a.data(), b.data(), 64, channel);
        return largest(a) + largest(b) == 0.0;
    }

    // The complex amplitude of the component at cycles per sample f over the last n samples.
    std::complex<double> component(const std::vector<float>& x, double f, std::size_t n)
    {
        std::complex<double> sum;
        for (std::size_t i = x.size() - n; i < x.size(); ++i)
            sum += double(x[i]) * std::polar(1.0, -2.0 * M_PI * f * double(i));
        return sum * (2.0 / double(n));
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
    const auto coefficients = shifter.coefficients;
    shifter.clear();
    EXPECT_TRUE(silentAfterRunningBothPaths(shifter, 1));
    EXPECT_EQ(shifter.phases[1], -0.5f);
    EXPECT_EQ(shifter.coefficients, coefficients);
    shifter.processPathA(signal.data(), 64, 0);
    shifter.init(6, 48000);  // phases and states exist for four channels only
    EXPECT_EQ(shifter.getChannelCount(), FrequencyShifter::maximumChannels);
    EXPECT_EQ(shifter.phases[1], 0.0f);
    EXPECT_TRUE(silentAfterRunningBothPaths(shifter, 0));
    shifter.init(2, 44100);
    EXPECT_EQ(shifter.getChannelCount(), 2);
    EXPECT_THROW(shifter.getState(FrequencyShifter::pathBStage2, 2), std::out_of_range);
}

// Across the audio band both paths pass a sine at full level, path A a quarter
// cycle ahead of path B; running them together changes no sample.
TEST(FrequencyShifter, PathsAreAllPassAQuarterCycleApart)
{
    // Whole numbers of cycles in the 16384 samples measured: about 108, 439, 1001, 5001 and 9999 Hz.
    for (int cycles : {40, 163, 372, 1858, 3715})
    {
        const double f = cycles / 16384.0, hertz = f * 44100.0;
        FrequencyShifter inTurn, together;
        setHilbertPair(inTurn, 1, 44100);
        setHilbertPair(together, 1, 44100);
        const auto input = sine(f, 32768);
        auto a = input, b = input, a2 = input, b2 = input;
        for (std::size_t o = 0; o < input.size(); o += 64)
        {
            inTurn.processPathA(a.data() + o, 64, 0);
            inTurn.processPathB(b.data() + o, 64, 0);
            together.processPaths(a2.data() + o, b2.data() + o, 64, 0);
        }
        ASSERT_EQ(a, a2) << hertz;
        ASSERT_EQ(b, b2) << hertz;
        const std::size_t n = 16384;
        const auto in = component(input, f, n), pathA = component(a, f, n), pathB = component(b, f, n);
        EXPECT_NEAR(std::abs(pathA / in), 1.0, 1e-3) << hertz;
        EXPECT_NEAR(std::abs(pathB / in), 1.0, 1e-3) << hertz;
        EXPECT_NEAR(std::arg(pathA / pathB) * 180.0 / M_PI, 90.0, 1.5) << hertz;
    }
}
