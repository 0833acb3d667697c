#include "Common/Math/Accelerate/BiquadState.h"
#include "Common/Math/Accelerate/SignalProcessing.h"
#include "Common/ProcessBlock/FrequencyShifter/FrequencyShifter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace
{
    std::vector<float> noise(std::size_t n, std::uint32_t seed)
    {
        std::vector<float> v(n);
        for (float& x : v)
        {
            seed = seed * 1664525u + 1013904223u;
            x = static_cast<float>(seed >> 8) / 8388608.0f - 1.0f;
        }
        return v;
    }

    void setHilbertPair(FrequencyShifter& shifter)
    {
        shifter.coefficients[FrequencyShifter::pathAStage1] = {0.02569f, -0.260502f, -0.260502f, 0.02568f, 1.0f};
        shifter.coefficients[FrequencyShifter::pathAStage2] = {-1.8685f, 0.870686f, 0.870686f, -1.8685f, 1.0f};
        shifter.coefficients[FrequencyShifter::pathBStage1] = {-1.94632f, 0.94657f, 0.94657f, -1.94632f, 1.0f};
        shifter.coefficients[FrequencyShifter::pathBStage2] = {-0.83774f, 0.06338f, 0.06338f, -0.83774f, 1.0f};
    }
}

// Running the sections side by side is a speed-up only: every sample, and the
// history left for the next call, must equal section-by-section processing bit for bit.
TEST(BiquadLockstep, EqualsFourSectionsInTurn)
{
    const float coefficients[4][5] = {{0.2f, 0.4f, 0.2f, -0.5f, 0.3f},
                                      {1.0f, -1.8f, 0.9f, -1.7f, 0.8f},
                                      {0.9f, 0.1f, -0.3f, 0.2f, -0.1f},
                                      {0.06f, -0.8f, 1.0f, -0.8f, 0.06f}};
    BiquadState* one[4];
    BiquadState* two[4];
    for (int k = 0; k < 4; ++k)
    {
        one[k] = SignalProcessing::biquad_createState();
        two[k] = SignalProcessing::biquad_createState();
    }
    std::vector<float> a1 = noise(100, 1), b1 = noise(100, 2);
    std::vector<float> a2 = a1, b2 = b1;
    const float* sets[4] = {coefficients[0], coefficients[1], coefficients[2], coefficients[3]};
    for (const std::size_t n : {37u, 64u, 1u})
    {
        // Sections 0 and 1 form a cascade on a, 2 and 3 on b.
        SignalProcessing::biquad(a1.data(), coefficients[0], a1.data(), n, one[0]);
        SignalProcessing::biquad(a1.data(), coefficients[1], a1.data(), n, one[1]);
        SignalProcessing::biquad(b1.data(), coefficients[2], b1.data(), n, one[2]);
        SignalProcessing::biquad(b1.data(), coefficients[3], b1.data(), n, one[3]);
        float* const buffers[4] = {a2.data(), a2.data(), b2.data(), b2.data()};
        SignalProcessing::biquadLockstep4(buffers, sets, two, n);
        for (std::size_t i = 0; i < n; ++i)
        {
            ASSERT_EQ(a1[i], a2[i]) << i;
            ASSERT_EQ(b1[i], b2[i]) << i;
        }
    }
    for (int k = 0; k < 4; ++k)
    {
        SignalProcessing::biquad_destroyState(one[k]);
        SignalProcessing::biquad_destroyState(two[k]);
    }
}

TEST(BiquadLockstep, ShifterPathsTogetherEqualPathsInTurn)
{
    FrequencyShifter inTurn, together;
    for (FrequencyShifter* shifter : {&inTurn, &together})
    {
        setHilbertPair(*shifter);
        shifter->init(4, 48000.0);
    }
    for (unsigned long line = 0; line < 4; ++line)
        for (int slice = 0; slice < 5; ++slice)
        {
            std::vector<float> a1 = noise(64, 10 * line + slice), b1 = a1, a2 = a1, b2 = a1;
            inTurn.processPathA(a1.data(), 64, line);
            inTurn.processPathB(b1.data(), 64, line);
            together.processPaths(a2.data(), b2.data(), 64, line);
            ASSERT_EQ(a1, a2);
            ASSERT_EQ(b1, b2);
        }
}

// Four channels in vector lanes: bit for bit the per-channel paths, over slices
// longer and shorter than the lane routine's 64-frame chunks, histories included.
TEST(BiquadLockstep, ChannelsInLanesEqualChannelsInTurn)
{
    FrequencyShifter inTurn, inLanes;
    for (FrequencyShifter* shifter : {&inTurn, &inLanes})
    {
        setHilbertPair(*shifter);
        shifter->init(4, 48000.0);
    }
    std::uint32_t seed = 1;
    for (const unsigned long n : {64ul, 1ul, 150ul, 37ul})
    {
        std::vector<float> input[4], pathA[4], pathB[4];
        const float* inputs[4];
        float* pathAs[4];
        float* pathBs[4];
        for (unsigned long c = 0; c < 4; ++c)
        {
            input[c] = noise(n, seed++);
            pathA[c].assign(n, 0.0f);
            pathB[c].assign(n, 0.0f);
            inputs[c] = input[c].data();
            pathAs[c] = pathA[c].data();
            pathBs[c] = pathB[c].data();
        }
        inLanes.processChannels(inputs, pathAs, pathBs, n);
        for (unsigned long c = 0; c < 4; ++c)
        {
            std::vector<float> a = input[c], b = input[c];
            inTurn.processPaths(a.data(), b.data(), n, c);
            ASSERT_EQ(a, pathA[c]) << "channel " << c << ", " << n << " frames";
            ASSERT_EQ(b, pathB[c]) << "channel " << c << ", " << n << " frames";
        }
    }
}
