#include "EarlyReflections.h"

#include "reverb/ReferenceDelay.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

// x = R, L = L; three taps d_i of x each give x = L - d_i, L = L + d_i; the
// fourth tap of x is the right output.
TEST(EarlyReflections, CascadeMatchesAReference)
{
    const double times[4] = {19.392, 16.364, 7.645, 4.2546}; // ms at 100 % size
    for (double roomSize : {50.0, 0.0, 100.0})
    {
        EarlyReflections er;
        er.init(2, 44100.0);
        const double size = (roomSize + 3.0) / 41.66;
        std::array<reference::Delay, 4> taps;
        for (auto& tap : taps)
            tap.sampleRate = 44100.0;
        const std::vector<float> sizeBuffer(64, float(size)), zero(64, 0.0f);
        const float* lfo[4] = {zero.data(), zero.data(), zero.data(), zero.data()};
        std::mt19937 random(9);
        std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
        std::vector<float> left(64), right(64);
        for (int block = 0; block < 100; ++block)
        {
            std::vector<double> expectedLeft(64), expectedRight(64);
            for (int j = 0; j < 64; ++j)
            {
                left[j] = noise(random);
                right[j] = noise(random);
                double x = right[j], l = left[j];
                for (int i = 0; i < 3; ++i)
                {
                    const double d = taps[i].read(size * times[i]);
                    taps[i].write(x);
                    x = l - d;
                    l = l + d;
                }
                expectedRight[j] = taps[3].read(size * times[3]);
                taps[3].write(x);
                expectedLeft[j] = l;
            }
            er.setDelayTimes(sizeBuffer.data(), lfo, 64);
            er.process(left.data(), right.data(), 64);
            for (int j = 0; j < 64; ++j)
            {
                ASSERT_NEAR(left[j], expectedLeft[j], 2e-3) << roomSize << " " << block;
                ASSERT_NEAR(right[j], expectedRight[j], 2e-3) << roomSize << " " << block;
            }
        }
    }
}

// Each tap is read at |size x its time + 1.2 ms x its modulation|; the times
// themselves stay as built.
TEST(EarlyReflections, DelayTimesFollowTheSizeAndTheModulation)
{
    const double times[4] = {19.392, 16.364, 7.645, 4.2546}; // ms at 100 % size
    EarlyReflections er;
    er.init(2, 44100.0);
    const std::vector<float> size{0.072f, 1.0f, 2.472f};
    std::array<std::vector<float>, 4> lfo;
    const float* outputs[4];
    for (int i = 0; i < 4; ++i)
    {
        lfo[i] = {-1.0f, 0.5f * float(i) - 1.0f, 1.0f};
        outputs[i] = lfo[i].data();
    }
    er.setDelayTimes(size.data(), outputs, size.size());
    const EarlyReflections& built = er;
    for (unsigned long i = 0; i < 4; ++i)
    {
        EXPECT_FLOAT_EQ(built.entry(i).baseTime, float(times[i]));
        for (std::size_t j = 0; j < size.size(); ++j)
            EXPECT_NEAR(er.entry(i).delayBuffer[j], std::fabs(size[j] * times[i] + 1.2 * lfo[i][j]), 1e-4) << i << " " << j;
    }
}
