#include "Common/Math/Accelerate/SignalProcessing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using SP = SignalProcessing;
using Floats = std::vector<float>;

namespace
{
    const float qnan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
}

TEST(SignalProcessing, ReductionsOverNothingGiveNeutralValues)
{
    float result = qnan;
    const float one = 1.0f;
    for (auto [reduce, neutral] : {std::pair{SP::peak, 0.0f}, {SP::rms, 0.0f}, {SP::max, -inf}, {SP::min, inf}})
    {
        reduce(&one, &result, 0);
        EXPECT_EQ(result, neutral);
    }
}

TEST(SignalProcessing, TableReadInterpolatesAndHoldsTheEnds)
{
    const Floats table{10.0f, 20.0f, 40.0f, 80.0f};
    Floats indices{-0.5f, 0.0f, 1.25f, 2.5f, 3.0f, 7.0f, qnan, inf, -inf}, out(indices.size());
    SP::tableRead(indices.data(), table.data(), table.size(), out.data(), indices.size());
    EXPECT_EQ(out, (Floats{10, 10, 25, 60, 80, 80, 10, 80, 10}));
    SP::tableRead(indices.data(), table.data(), table.size(), indices.data(), indices.size());
    EXPECT_EQ(indices, out);  // in place
    const float single = 5.0f, index = 0.5f;
    float value = 0.0f;
    SP::tableRead(&index, &single, 1, &value, 1);
    EXPECT_EQ(value, 5.0f);
    SP::tableRead(&index, nullptr, 0, &value, 1);
    EXPECT_EQ(value, 0.0f);
}
