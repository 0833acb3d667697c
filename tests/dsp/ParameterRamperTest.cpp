#include "Common/Parameters/ParameterRamper.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace
{
    struct Block
    {
        std::vector<float> values;
        bool changed = false;
    };

    Block step(ParameterRamper& ramper, unsigned long frames)
    {
        Block block;
        float* buffer = ramper.getAndStep(frames, block.changed);
        block.values.assign(buffer, buffer + std::min(frames, ParameterRamper::bufferSize));
        return block;
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

    // 1 -> 5 over 100 frames: 0.04 per frame, the target reached at frame 100.
    std::vector<Block> blocks;
    for (int b = 0; b < 4; ++b)
        blocks.push_back(step(*ramper, 32));
    for (int b = 0; b < 4; ++b)
    {
        EXPECT_TRUE(blocks[b].changed) << "block " << b;
        for (int i = 0; i < 32; ++i)
        {
            const double frame = b * 32 + i;
            const double expected = frame >= 100 ? 5.0 : 1.0 + 0.04 * frame;
            EXPECT_NEAR(blocks[b].values[i], expected, 2e-6) << "block " << b << " sample " << i;
        }
    }
    EXPECT_NEAR(blocks[0].values[31], 2.24, 2e-6);
    for (int i = 4; i < 32; ++i)
        EXPECT_EQ(blocks[3].values[i], 5.0f);  // exactly the target, never beyond

    Block fifth = step(*ramper, 32);
    EXPECT_TRUE(fifth.changed);
    EXPECT_EQ(fifth.values, std::vector<float>(32, 5.0f));
    EXPECT_FALSE(step(*ramper, 32).changed);
    Block longer = step(*ramper, 64);
    EXPECT_TRUE(longer.changed);
    EXPECT_EQ(longer.values, std::vector<float>(64, 5.0f));
}

TEST(ParameterRamper, RetargetingMidRampStartsFromTheValueReached)
{
    auto ramper = idleAt(0.0f);
    ramper->startRamp(10.0f, 100, false);
    step(*ramper, 50);  // halfway: value 5
    ramper->startRamp(-5.0f, 20, false);
    Block block = step(*ramper, 32);
    for (int i = 0; i < 32; ++i)
    {
        const double expected = i >= 20 ? -5.0 : 5.0 - 0.5 * i;
        EXPECT_NEAR(block.values[i], expected, 1e-5) << i;
    }
    EXPECT_EQ(ramper->getLastValue(), -5.0f);
}

TEST(ParameterRamper, IntegerRampsRoundOnlyTheTarget)
{
    auto ramper = idleAt(0.0f);
    ramper->startRamp(2.5f, 10, true);
    EXPECT_EQ(ramper->getEndValue(), 3.0f);
    EXPECT_EQ(ramper->getLastValue(), 2.5f);
    Block block = step(*ramper, 10);
    EXPECT_NEAR(block.values[1], 0.3, 1e-6);  // values on the way are not whole numbers
    EXPECT_EQ(step(*ramper, 4).values.back(), 3.0f);

    ramper->startRamp(-2.5f, 10, true);
    EXPECT_EQ(ramper->getEndValue(), -3.0f);
    ramper->startRamp(-2.5f, 0, true);
    EXPECT_EQ(ramper->getLastValue(), -3.0f);  // a jump reports the rounded target
}

TEST(ParameterRamper, ZeroFramesJumpsEvenMidRamp)
{
    auto ramper = idleAt(0.0f);
    ramper->startRamp(10.0f, 1000, false);
    step(*ramper, 32);
    ramper->startRamp(7.0f, 0, false);
    Block block = step(*ramper, 16);
    EXPECT_TRUE(block.changed);
    EXPECT_EQ(block.values, std::vector<float>(16, 7.0f));
    EXPECT_EQ(ramper->getRemaining(), 0u);
}

TEST(ParameterRamper, IgnoresNonFiniteValues)
{
    auto ramper = idleAt(2.0f);
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                      -std::numeric_limits<float>::infinity()})
    {
        ramper->startRamp(bad, 10, false);
        ramper->requestRamp(bad, 10, false);
        EXPECT_FALSE(ramper->applyRequest());
    }
    EXPECT_EQ(ramper->getLastValue(), 2.0f);
    EXPECT_EQ(step(*ramper, 64).values, std::vector<float>(64, 2.0f));
}

TEST(ParameterRamper, NeverWritesPastItsBuffer)
{
    // The ramper lives inside a guarded block: the floats after it must stay intact.
    struct Guarded
    {
        ParameterRamper ramper;
        float guard[64];
    };
    auto guarded = std::make_unique<Guarded>();
    std::fill(std::begin(guarded->guard), std::end(guarded->guard), -7.0f);
    guarded->ramper.startRamp(1.0f, 100000, false);
    bool changed = false;
    guarded->ramper.getAndStep(100000, changed);
    EXPECT_EQ(guarded->ramper.getRemaining(), 100000u - ParameterRamper::bufferSize);
    guarded->ramper.startRamp(3.0f, 0, false);
    guarded->ramper.getAndStep(5000, changed);
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
    EXPECT_FALSE(requested->applyRequest());  // taken only once
    for (int b = 0; b < 5; ++b)
    {
        Block a = step(*direct, 32);
        Block r = step(*requested, 32);
        EXPECT_EQ(a.values, r.values);
        EXPECT_EQ(a.changed, r.changed);
    }
}

TEST(ParameterRamper, JumpToRequestAndResetKeepTheLatestValue)
{
    ParameterRamper ramper;
    EXPECT_FALSE(ramper.hasValue());
    ramper.requestRamp(4.0f, 100, false);
    EXPECT_TRUE(ramper.hasValue());
    ramper.jumpToRequest();
    EXPECT_FALSE(ramper.applyRequest());
    EXPECT_EQ(step(ramper, 8).values, std::vector<float>(8, 4.0f));

    // Resetting the counters must not lose a request that is still pending.
    ramper.requestRamp(6.0f, 0, false);
    ramper.resetCounters();
    EXPECT_TRUE(ramper.applyRequest());
    EXPECT_EQ(step(ramper, 8).values, std::vector<float>(8, 6.0f));
    ramper.resetCounters();
    EXPECT_FALSE(ramper.applyRequest());
}
