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
}

TEST(ParameterRamper, RampsLinearlyRetargetsFromTheValueReachedAndRefillsOnlyWhenNeeded)
{
    ParameterRamper ramper;
    ramper.startRamp(1.0f, 0, false);
    step(ramper, 32);
    ramper.startRamp(5.0f, 100, false);  // 0.04 per frame, exactly 5 from frame 100 on
    auto values = step(ramper, 128);
    for (int frame = 0; frame < 128; ++frame)
        EXPECT_NEAR(values[frame], frame >= 100 ? 5.0 : 1.0 + 0.04 * frame, frame >= 100 ? 0.0 : 2e-6) << frame;

    bool changed = false;
    EXPECT_EQ(step(ramper, 32, &changed), std::vector<float>(32, 5.0f));
    EXPECT_TRUE(changed);  // the held value is written once more
    step(ramper, 32, &changed);
    EXPECT_FALSE(changed);
    EXPECT_EQ(step(ramper, 64, &changed), std::vector<float>(64, 5.0f));  // a longer block refills
    EXPECT_TRUE(changed);

    ramper.startRamp(15.0f, 100, false);
    step(ramper, 50);  // halfway: 10
    ramper.startRamp(0.0f, 20, false);
    values = step(ramper, 32);
    for (int i = 0; i < 32; ++i)
        EXPECT_NEAR(values[i], i >= 20 ? 0.0 : 10.0 - 0.5 * i, 1e-5) << i;
    ramper.startRamp(7.0f, 0, false);
    EXPECT_EQ(step(ramper, 16), std::vector<float>(16, 7.0f));

    // Integer ramps round only the target.
    ramper.startRamp(2.5f, 10, true);
    EXPECT_EQ(ramper.getEndValue(), 3.0f);
    EXPECT_NEAR(step(ramper, 10)[1], 7.0 - 0.4, 1e-6);
    ramper.startRamp(-2.5f, 10, true);
    EXPECT_EQ(ramper.getEndValue(), -3.0f);
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
    ParameterRamper direct, requested;
    for (ParameterRamper* r : {&direct, &requested})
        r->startRamp(1.0f, 0, false), step(*r, 32);
    direct.startRamp(5.0f, 100, false);
    requested.requestRamp(5.0f, 100, false);
    EXPECT_EQ(requested.getLastValue(), 5.0f);  // visible at once to other threads
    EXPECT_TRUE(requested.applyRequest());
    EXPECT_FALSE(requested.applyRequest());
    for (int b = 0; b < 5; ++b)
        EXPECT_EQ(step(direct, 32), step(requested, 32)) << b;

    // Resetting the counters keeps a request that is still pending.
    requested.requestRamp(6.0f, 0, false);
    requested.resetCounters();
    EXPECT_TRUE(requested.applyRequest());
    EXPECT_EQ(step(requested, 8), std::vector<float>(8, 6.0f));
}
