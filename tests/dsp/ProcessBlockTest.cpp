#include "Common/ProcessBlock/Mix/Gain.h"
#include "Common/ProcessBlock/MultiChannelProcessBlock.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace
{
    struct Stateless : MultiChannelProcessBlock<ProcessBlockParameters>
    {
        void clear() override {}
        void process(float*, unsigned long, unsigned long, ProcessBlockParameters) override {}
    };
}

TEST(ProcessBlock, InitStoresChannelsAndRateOnlyAndBlocksAreNotCopyable)
{
    Stateless block;
    block.maximumSlice = 4096;
    block.init(1, 96000.0);
    EXPECT_EQ(block.sampleRate, 96000.0);
    EXPECT_EQ(block.channels, 1);
    EXPECT_EQ(block.maximumSlice, 4096u);

    EXPECT_FALSE(std::is_copy_constructible_v<Stateless>);
    EXPECT_FALSE(std::is_copy_assignable_v<Gain>);
}
