#include "PeakMeter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace
{
    void feed(PeakMeter& meter, float value, unsigned long frames, unsigned long channel = 0)
    {
        std::vector<float> samples(frames, value);
        meter.process(samples.data(), frames, channel, {});
    }
}

// Until its first 20 ms window ends the meter reads 100, no reduction; then
// each window reads its peak in decibels + 100, floored at 0.
TEST(PeakMeter, ReadsPeakDecibelsPlusHundredFromItsFirstWindowOn)
{
    PeakMeter meter;
    EXPECT_EQ(meter.getValue(0), 100.0f);
    meter.init(2, 48000.0);
    feed(meter, 0.0f, 960);
    EXPECT_EQ(meter.getValue(0), 100.0f);
    feed(meter, 0.0f, 64);
    EXPECT_EQ(meter.getValue(0), 0.0f);
    EXPECT_EQ(meter.getValue(1), 100.0f) << "channels are metered apart";
    for (float gain : {1.0f, 0.5f, -0.25f, 1e-6f})
    {
        for (int slice = 0; slice < 16; ++slice)
            feed(meter, slice == 7 ? gain : 0.0f, 64);
        EXPECT_NEAR(meter.getValue(0), std::max(0.0, 100.0 + 20.0 * std::log10(std::fabs(gain))), 1e-4) << gain;
    }
    meter.init(2, 48000.0);
    EXPECT_EQ(meter.getValue(0), 100.0f);
}

TEST(PeakMeter, LongCallsUnknownChannelsAndNonFiniteSamplesAreSafe)
{
    PeakMeter meter;
    meter.init(2, 48000.0);
    feed(meter, 0.1f, 4096, 1);
    EXPECT_NEAR(meter.getValue(1), 80.0, 1e-4);
    feed(meter, 0.5f, 64, 7);
    EXPECT_EQ(meter.getValue(7), 100.0f);
    std::vector<float> bad(1024, 0.1f);
    bad[3] = std::numeric_limits<float>::quiet_NaN();
    bad[4] = std::numeric_limits<float>::infinity();
    meter.process(bad.data(), bad.size(), 0, {});
    EXPECT_NEAR(meter.getValue(0), 80.0, 1e-4);
}
