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

    bool silentAfterRunningBothPaths(FrequencyShifter& shifter, unsigned long channel)
    {
        std::vector<float> a(64, 0.0f), b(64, 0.0f);
        shifter.processPaths(a.data(), b.data(), 64, channel);
        return largest(a) + largest(b) == 0.0;
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
