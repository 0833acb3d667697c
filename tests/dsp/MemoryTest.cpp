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
