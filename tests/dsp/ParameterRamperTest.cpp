#include "Common/Parameters/ParameterRamper.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace
{
    std::vector<float> step(ParameterRamper& ramper, unsigned long frames, bool* changed = nullptr)
    {
        bool flag = false;
        const float* buffer = ramper.getAndStep(frames, flag);
        if (changed != nullptr)
            *changed = flag;
        return std::vector<float>(buffer, buffer + std::min(frames, ParameterRamper::bufferSize));
    }

    std::unique_ptr<ParameterRamper> idleAt(float value)
    {
        auto ramper = std::make_unique<ParameterRamper>();
        ramper->startRamp(value, 0, false);
        step(*ramper, 32);
        return ramper;
    }
}

TEST(ParameterRamper, RampsLinearlyThenHoldsAndRefillsOnlyWhenNeeded)
{
    auto ramper = idleAt(1.0f);
    ramper->startRamp(5.0f, 100, false);
    // 1 -> 5 over 100 frames: 0.04 per frame, exactly 5 from frame 100 on.
    for (int b = 0; b < 4; ++b)
    {
        bool changed = false;
        const auto values = step(*ramper, 32, &changed);
        EXPECT_TRUE(changed);
        for (int i = 0; i < 32; ++i)
        {
            const int frame = b * 32 + i;
            if (frame >= 100)
                EXPECT_EQ(values[i], 5.0f) << frame;
            else
                EXPECT_NEAR(values[i], 1.0 + 0.04 * frame, 2e-6) << frame;
        }
    }
    bool changed = false;
    EXPECT_EQ(step(*ramper, 32, &changed), std::vector<float>(32, 5.0f));
    EXPECT_TRUE(changed);
    step(*ramper, 32, &changed);
    EXPECT_FALSE(changed);
    EXPECT_EQ(step(*ramper, 64, &changed), std::vector<float>(64, 5.0f));
    EXPECT_TRUE(changed);
}

TEST(ParameterRamper, RetargetsFromTheValueReachedAndJumpsOnZeroFrames)
{
    auto ramper = idleAt(0.0f);
    ramper->startRamp(10.0f, 100, false);
    step(*ramper, 50);  // halfway: 5
    ramper->startRamp(-5.0f, 20, false);
    const auto values = step(*ramper, 32);
    for (int i = 0; i < 32; ++i)
        EXPECT_NEAR(values[i], i >= 20 ? -5.0 : 5.0 - 0.5 * i, 1e-5) << i;

    ramper->startRamp(10.0f, 1000, false);
    step(*ramper, 32);
    ramper->startRamp(7.0f, 0, false);
    EXPECT_EQ(step(*ramper, 16), std::vector<float>(16, 7.0f));
}

TEST(ParameterRamper, IntegerRampsRoundOnlyTheTarget)
{
    auto ramper = idleAt(0.0f);
    ramper->startRamp(2.5f, 10, true);
    EXPECT_EQ(ramper->getEndValue(), 3.0f);
    EXPECT_EQ(ramper->getLastValue(), 2.5f);
    EXPECT_NEAR(step(*ramper, 10)[1], 0.3, 1e-6);  // not whole numbers on the way
    ramper->startRamp(-2.5f, 10, true);
    EXPECT_EQ(ramper->getEndValue(), -3.0f);
}

TEST(ParameterRamper, IgnoresNonFiniteValuesAndNeverWritesPastItsBuffer)
{
    struct Guarded
    {
        ParameterRamper ramper;
        float guard[64];
    };
    auto guarded = std::make_unique<Guarded>();
    std::fill(std::begin(guarded->guard), std::end(guarded->guard), -7.0f);
    ParameterRamper& ramper = guarded->ramper;
    ramper.startRamp(2.0f, 0, false);
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()})
    {
        ramper.startRamp(bad, 10, false);
        ramper.requestRamp(-bad, 10, false);
        EXPECT_FALSE(ramper.applyRequest());
    }
    EXPECT_EQ(step(ramper, 64), std::vector<float>(64, 2.0f));

    ramper.startRamp(1.0f, 100000, false);
    step(ramper, 100000);
    EXPECT_EQ(ramper.getRemaining(), 100000u - ParameterRamper::bufferSize);
    ramper.startRamp(3.0f, 0, false);
    step(ramper, 5000);
    for (float g : guarded->guard)
        EXPECT_EQ(g, -7.0f);
}

TEST(ParameterRamper, RequestStartsTheSameRampAtTheNextBlock)
{
    auto direct = idleAt(1.0f);
    auto requested = idleAt(1.0f);
    direct->startRamp(5.0f, 100, false);
    requested->requestRamp(5.0f, 100, false);
    EXPECT_EQ(requested->getLastValue(), 5.0f);  // visible at once to other threads
    EXPECT_TRUE(requested->applyRequest());
    EXPECT_FALSE(requested->applyRequest());
    for (int b = 0; b < 5; ++b)
        EXPECT_EQ(step(*direct, 32), step(*requested, 32)) << b;

    // Resetting the counters keeps a request that is still pending.
    requested->requestRamp(6.0f, 0, false);
    requested->resetCounters();
    EXPECT_TRUE(requested->applyRequest());
    EXPECT_EQ(step(*requested, 8), std::vector<float>(8, 6.0f));
}
