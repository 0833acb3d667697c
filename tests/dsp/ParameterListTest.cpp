#include "Common/Parameters/ParameterList.h"
#include "Common/Parameters/ParameterRamper.h"
#include "support/TestKernel.h"

#include <gtest/gtest.h>

namespace
{
    class CountedList : public ParameterList
    {
    public:
        explicit CountedList(int count) : ParameterList(count) {}
        std::vector<unsigned long> getFavourites() override { return {}; }
    };
}

TEST(ParameterList, MakesNumberedEmptyRecords)
{
    EXPECT_TRUE(CountedList(0).empty());
    EXPECT_TRUE(CountedList(-3).empty());
    CountedList list(18);
    ASSERT_EQ(list.size(), 18u);
    for (std::size_t i = 0; i < list.size(); ++i)
    {
        EXPECT_EQ(list[i]->identifier, static_cast<int>(i));
        EXPECT_TRUE(list[i]->name.empty());
        EXPECT_EQ(list[i]->flags, 0u);
        EXPECT_EQ(list[i]->ramper, nullptr);
        EXPECT_FALSE(list[i]->isOutput);
    }
    EXPECT_TRUE(list.getUnrandomizable().empty());
}

TEST(ParameterList, ChecksOutOnlyRampedControls)
{
    TestParameterList list;
    // An output with a ramper by mistake must still be skipped.
    list[TestParameterList::meter]->ramper = new ParameterRamper();
    ParameterBufferList buffers;
    list.checkOutBuffers(64, &buffers);
    EXPECT_EQ(buffers.size(), list.size());
    for (unsigned long i = 0; i < list.size(); ++i)
    {
        const bool ramped = i != TestParameterList::unramped && i != TestParameterList::meter;
        EXPECT_EQ(buffers[i] != nullptr, ramped) << i;
        EXPECT_EQ(buffers.isChanged(i), ramped) << i;
    }
}

TEST(ParameterBufferList, GrowsOnDemandAndStoresBuffers)
{
    ParameterBufferList buffers;
    buffers.checkSize(5);
    ASSERT_EQ(buffers.size(), 6u);
    for (unsigned long i = 0; i < 6; ++i)
        EXPECT_EQ(buffers[i], nullptr);

    ParameterBufferList other;
    float samples[4] = {1, 2, 3, 4};
    other.writeAt(2, samples, true);
    EXPECT_EQ(other.size(), 3u);
    EXPECT_EQ(other[2], samples);
    EXPECT_TRUE(other.isChanged(2));
    EXPECT_FALSE(other.isChanged(7));
}

TEST(ParameterBufferList, CopiesSelectedIndicesAndSharesTheRest)
{
    float a[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    float b[8] = {9, 9, 9, 9, 9, 9, 9, 9};
    float c[8] = {5, 4, 3, 2, 1, 0, -1, -2};
    ParameterBufferList source;
    source.writeAt(0, a, true);
    source.writeAt(1, b, true);
    source.writeAt(3, c, true);

    ParameterBufferList shared;
    shared.copyBufferList(&source, 8);
    EXPECT_EQ(shared[0], a);
    EXPECT_EQ(shared[3], c);

    ParameterBufferList copying;
    copying.setCopiedParameters({3, 0});
    ASSERT_NE(copying[0], nullptr);
    EXPECT_EQ(copying[3][7], 0.0f);  // own buffers start cleared
    copying.copyBufferList(&source, 4);
    EXPECT_NE(copying[0], a);
    EXPECT_EQ(copying[1], b);
    EXPECT_EQ(copying[2], nullptr);
    EXPECT_NE(copying[3], c);
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ(copying[0][i], a[i]);
        EXPECT_EQ(copying[3][i], c[i]);
    }
    EXPECT_EQ(copying[3][4], 0.0f);  // only the block's frames are copied
    a[0] = 100.0f;
    EXPECT_EQ(copying[0][0], 1.0f);

    copying.copyBufferList(&copying, 4);  // copying onto itself changes nothing
    EXPECT_EQ(copying[1], b);
}
