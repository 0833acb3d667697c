#include "Common/Math/Accelerate/SignalProcessing.h"
#include "Common/Math/Memory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

using SP = SignalProcessing;
using Floats = std::vector<float>;

namespace
{
    const float qnan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
}

TEST(SignalProcessing, OperandOrderFollowsTheArgumentList)
{
    const float a = 5.0f, b = 3.0f, c = 2.0f, d = 7.0f, minusSeven = -7.0f;
    float out = 0.0f;
    const std::pair<std::function<void()>, float> cases[] = {
        {[&] { SP::sub(&a, &b, &out, 1); }, 2.0f},
        {[&] { SP::div(&a, &b, &out, 1); }, 5.0f / 3.0f},
        {[&] { SP::s_div(1.0f, &a, &out, 1); }, 0.2f},
        {[&] { SP::div_s(&a, 2.0f, &out, 1); }, 2.5f},
        {[&] { SP::pow(&out, &c, &b, 1); }, 9.0f},  // exponent 2, base 3
        {[&] { SP::mod(&minusSeven, &b, &out, 1); }, -1.0f},  // the remainder takes the sign of a
        {[&] { SP::mod(&a, &minusSeven, &out, 1); }, 5.0f},
        {[&] { SP::add_mul(&c, &b, &a, &out, 1); }, 25.0f},
        {[&] { SP::mul_add(&c, &b, &a, &out, 1); }, 11.0f},
        {[&] { SP::mul_add_s(&c, &b, 5.0f, &out, 1); }, 11.0f},
        {[&] { SP::mul_s_add(&c, 3.0f, &a, &out, 1); }, 11.0f},
        {[&] { SP::mul_s_add_s(&c, 3.0f, 5.0f, &out, 1); }, 11.0f},
        {[&] { SP::mul_mul_add(&c, &b, &a, &d, &out, 1); }, 41.0f},
        {[&] { Memory::copy(&d, &out, 1); }, 7.0f},  // from the first argument to the second
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
    {
        out = 0.0f;
        cases[i].first();
        EXPECT_EQ(out, cases[i].second) << "case " << i;
    }
    double outD = 0.0, ad = 1.5;
    SP::add_s_D(&ad, 0.25, &outD, 1);
    EXPECT_EQ(outD, 1.75);

    Floats buffer{1.0f, 2.0f, 3.0f, 4.0f};  // overlapping copies move the values intact
    Memory::copy(buffer.data(), buffer.data() + 1, 3);
    EXPECT_EQ(buffer, (Floats{1.0f, 1.0f, 2.0f, 3.0f}));
    Memory::copy(buffer.data() + 1, buffer.data(), 3);
    EXPECT_EQ(buffer, (Floats{1.0f, 2.0f, 3.0f, 3.0f}));
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

// NaN follows the element-wise formulas: clip passes it, limit gives -value,
// threshold gives 0, min/max_compare keep the first operand, reductions skip it.
TEST(SignalProcessing, ClampingRoundingAndReorderingWithTheirNaNBehaviour)
{
    const Floats a{-2.0f, 0.5f, 3.0f, qnan, 0.0f, -0.1f, 0.4f, 0.6f};
    const std::size_t n = a.size();
    Floats out(n);
    SP::clip(a.data(), -1.0f, 1.0f, out.data(), n);
    EXPECT_EQ(Floats(out.begin(), out.begin() + 3), (Floats{-1.0f, 0.5f, 1.0f}));
    EXPECT_TRUE(std::isnan(out[3]));
    SP::limit(a.data(), 0.0f, 1.0f, out.data(), n);
    EXPECT_EQ(out, (Floats{-1, 1, 1, -1, 1, -1, 1, 1}));
    SP::threshold(a.data(), 0.5f, out.data(), n);
    EXPECT_EQ(out, (Floats{0, 0.5f, 3.0f, 0, 0, 0, 0, 0.6f}));
    const Floats b(n, -1.0f), nans(n, qnan);
    SP::min_compare(a.data(), b.data(), out.data(), n);
    EXPECT_EQ((Floats{out[0], out[2]}), (Floats{-2.0f, -1.0f}));
    SP::min_compare(a.data(), nans.data(), out.data(), n);
    EXPECT_EQ(out[2], 3.0f);
    SP::max_compare(b.data(), a.data(), out.data(), n);
    EXPECT_EQ((Floats{out[0], out[2]}), (Floats{-1.0f, 3.0f}));
    for (auto [reduce, expected] : {std::pair{SP::peak, 3.0f}, {SP::max, 3.0f}, {SP::min, -2.0f}})
    {
        float result = 0.0f;
        reduce(a.data(), &result, n);
        EXPECT_EQ(result, expected);
    }

    float rms = 0.0f;
    const Floats finite{-2.0f, 0.5f, 3.0f, 0.0f, 0.0f, -0.1f, 0.4f, 0.6f};
    SP::rms(finite.data(), &rms, n);
    EXPECT_NEAR(rms, std::sqrt((4 + 0.25 + 9 + 0.01 + 0.16 + 0.36) / 8.0), 1e-6);

    Floats x{-1.75f, 1.75f, -0.5f, 3.0f};
    SP::frac(x.data(), 4);
    EXPECT_EQ(x, (Floats{-0.75f, 0.75f, -0.5f, 0.0f}));
    SP::reverse(x.data(), 3);
    SP::interleaveStereo(x.data(), a.data(), out.data(), 2);
    EXPECT_EQ(Floats(out.begin(), out.begin() + 4), (Floats{-0.5f, -2.0f, 0.75f, 0.5f}));
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
