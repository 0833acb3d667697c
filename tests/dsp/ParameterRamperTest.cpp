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
