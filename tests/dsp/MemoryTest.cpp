#include "Common/Math/Memory.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Memory, CopiesFromFirstArgumentToSecond)
{
    std::vector<float> from{1.0f, 2.0f, 3.0f};
    std::vector<float> to(3, 0.0f);
    Memory::copy(from.data(), to.data(), 3);
    EXPECT_EQ(to, from);
}

TEST(Memory, OverlappingCopiesMoveTheValuesIntact)
{
    std::vector<float> buffer{1.0f, 2.0f, 3.0f, 4.0f};
    Memory::copy(buffer.data(), buffer.data() + 1, 3);
    EXPECT_EQ(buffer, (std::vector<float>{1.0f, 1.0f, 2.0f, 3.0f}));
    Memory::copy(buffer.data() + 1, buffer.data(), 3);
    EXPECT_EQ(buffer, (std::vector<float>{1.0f, 2.0f, 3.0f, 3.0f}));
    Memory::copy(nullptr, nullptr, 0);
}
