#include "Common/ProcessBlock/Mix/Gain.h"
#include "Common/ProcessBlock/MultiChannelProcessBlock.h"

#include <gtest/gtest.h>

#include <type_traits>
#include <vector>

namespace
{
    // A per-channel block that adds its parameter to the signal.
    struct Offset : MultiChannelProcessBlock<float>
    {
        void clear() override {}
        void process(float* buffer, unsigned long frames, unsigned long, float value) override
        {
            for (unsigned long i = 0; i < frames; ++i)
                buffer[i] += value;
        }
    };
}

TEST(ProcessBlock, InitStoresChannelsAndRateOnlyAndBlocksAreNotCopyable)
{
    Offset block;
    EXPECT_EQ(block.sampleRate, 44100.0);
    EXPECT_EQ(block.channels, 2);
    EXPECT_EQ(block.maximumSlice, 64u);

    block.init(1, 96000.0);
    EXPECT_EQ(block.sampleRate, 96000.0);
    EXPECT_EQ(block.channels, 1);
    EXPECT_EQ(block.maximumSlice, 64u);

    std::vector<float> buffer{1.0f, 2.0f};
    ProcessBlock& base = block;
    base.clear();
    block.process(buffer.data(), 2, 0, 0.5f);
    EXPECT_EQ(buffer, (std::vector<float>{1.5f, 2.5f}));

    EXPECT_FALSE(std::is_copy_constructible_v<Offset>);
    EXPECT_FALSE(std::is_copy_assignable_v<Gain>);
}
