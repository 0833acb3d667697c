#include "Common/Parameters/ParameterList.h"
#include "support/TestKernel.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace
{
    // A list with no rows of its own.
    struct PlainList : ParameterList
    {
        using ParameterList::ParameterList;
        std::vector<unsigned long> getFavourites() override { return {}; }
    };
}

TEST(ParameterList, ChecksOutOnlyRampedControls)
{
    TestParameterList list;
    list[TestParameterList::meter]->ramper = new ParameterRamper();  // an output given a ramper is still skipped
    ParameterBufferList buffers;
    list.checkOutBuffers(64, &buffers);
    ASSERT_EQ(buffers.size(), list.size());
    for (unsigned long i = 0; i < list.size(); ++i)
    {
        const bool ramped = i != TestParameterList::unramped && i != TestParameterList::meter;
        EXPECT_EQ(buffers[i] != nullptr, ramped) << i;
        EXPECT_EQ(buffers.isChanged(i), ramped) << i;
    }
}

TEST(ParameterBufferList, CopiesSelectedIndicesAndSharesTheRest)
{
    float a[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    float b[8] = {};
    ParameterBufferList source;
    source.checkSize(5);
    EXPECT_THROW(source.checkSize(~0ul), std::length_error);
    source.writeAt(0, a, true);
    source.writeAt(1, b, true);

    ParameterBufferList copying, shared;
    copying.setCopiedParameters({3, 0});
    copying.copyBufferList(&source, 4);
    EXPECT_EQ(copying[1], b);
    EXPECT_EQ(std::vector<float>(copying[0], copying[0] + 5), (std::vector<float>{1, 2, 3, 4, 0}));
    EXPECT_EQ(copying[3][0], 0.0f);  // nothing to copy from: stays cleared
    shared.checkSize(5);  // sized before the audio thread copies
    shared.copyBufferList(&source, 8);
    EXPECT_EQ(shared[0], a);
}

TEST(ParameterBufferList, CopiedIndicesCanBeChangedAndCopiesNeverGrowTheList)
{
    ParameterBufferList source, copying;
    source.checkSize(5);
    copying.setCopiedParameters({1, 2});
    copying.setCopiedParameters({2});  // index 1's own buffer is gone: so is the pointer to it
    EXPECT_EQ(copying[1], nullptr);
    EXPECT_EQ(copying[2][3], 0.0f);

    copying.copyBufferList(&source, 4);  // growing to index 5 would allocate on the audio thread
    EXPECT_EQ(copying.size(), 3ul);
}

TEST(ParameterList, MakesRecordsInIndexOrderAndNothingForACountBelowOne)
{
    for (int count : {0, -3})
        EXPECT_TRUE(PlainList(count).empty()) << count;
    PlainList list(18);
    ASSERT_EQ(list.size(), 18u);
    for (std::size_t i = 0; i < list.size(); ++i)
    {
        EXPECT_EQ(list[i]->identifier, static_cast<int>(i));
        EXPECT_TRUE(list[i]->name.empty());
        EXPECT_EQ(list[i]->ramper, nullptr);
        EXPECT_FALSE(list[i]->isOutput);
    }
    EXPECT_TRUE(list.getUnrandomizable().empty());
}
