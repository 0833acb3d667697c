#include "Common/Math/Accelerate/SignalProcessing.h"
#include "Common/Math/Memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <utility>
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

// Each operation on small whole numbers, with the result worked out by hand:
// a mixed-up operand order shows as a wrong value.
TEST(SignalProcessing, ElementWiseArithmeticFollowsTheArgumentOrder)
{
    const float a = 5.0f, b = 3.0f, c = 2.0f, d = 7.0f, minusSeven = -7.0f;
    float out = 0.0f;
    const std::pair<std::function<void()>, float> cases[] = {
        {[&] { SP::sub(&a, &b, &out, 1); }, 2.0f},
        {[&] { SP::div(&a, &b, &out, 1); }, 5.0f / 3.0f},
        {[&] { SP::s_div(1.0f, &a, &out, 1); }, 0.2f},
        {[&] { SP::div_s(&a, 2.0f, &out, 1); }, 2.5f},
        {[&] { SP::pow(&out, &c, &b, 1); }, 9.0f},           // exponent 2, base 3
        {[&] { SP::mod(&minusSeven, &b, &out, 1); }, -1.0f}, // the remainder takes the sign of a
        {[&] { SP::mod(&a, &minusSeven, &out, 1); }, 5.0f},
        {[&] { SP::add_mul(&c, &b, &a, &out, 1); }, 25.0f},  // (2 + 3) * 5
        {[&] { SP::mul_add(&c, &b, &a, &out, 1); }, 11.0f},  // 2 * 3 + 5
        {[&] { SP::mul_add_s(&c, &b, 5.0f, &out, 1); }, 11.0f},
        {[&] { SP::mul_s_add(&c, 3.0f, &a, &out, 1); }, 11.0f},
        {[&] { SP::mul_s_add_s(&c, 3.0f, 5.0f, &out, 1); }, 11.0f},
        {[&] { SP::mul_mul_add(&c, &b, &a, &d, &out, 1); }, 41.0f}, // 2 * 3 + 5 * 7
        {[&] { SP::squareRoot(&d, &out, 1); }, std::sqrt(7.0f)},
        {[&] { SP::abs(&minusSeven, &out, 1); }, 7.0f},
        {[&] { Memory::copy(&d, &out, 1); }, 7.0f},         // from the first argument to the second
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

    Floats buffer{1.0f, 2.0f, 3.0f, 4.0f}; // overlapping copies move the values intact
    Memory::copy(buffer.data(), buffer.data() + 1, 3);
    EXPECT_EQ(buffer, (Floats{1.0f, 1.0f, 2.0f, 3.0f}));
    Memory::copy(buffer.data() + 1, buffer.data(), 3);
    EXPECT_EQ(buffer, (Floats{1.0f, 2.0f, 3.0f, 3.0f}));
    Memory::copy(buffer.data(), buffer.data(), 4);
    Memory::copy(nullptr, nullptr, 0);
    EXPECT_EQ(buffer, (Floats{1.0f, 2.0f, 3.0f, 3.0f}));
}

TEST(SignalProcessing, LogarithmsMatchDoublePrecisionOverALongBuffer)
{
    using Unary = void (*)(const float*, float*, std::size_t);
    const std::pair<Unary, double (*)(double)> functions[] = {
        {SP::log, std::log}, {SP::log_ten, std::log10}, {SP::exp, std::exp}, {SP::squareRoot, std::sqrt}};
    Floats a(1003);
    for (std::size_t i = 0; i < a.size(); ++i)
        a[i] = 0.01f + 0.01f * static_cast<float>(i);
    for (const auto& [function, reference] : functions)
    {
        Floats out(a.size());
        function(a.data(), out.data(), a.size());
        for (std::size_t i = 0; i < a.size(); ++i)
            ASSERT_NEAR(out[i], reference(a[i]), 1e-6 * std::max(1.0, std::fabs(reference(a[i])))) << a[i];
    }
}

// NaN follows the element-wise formulas: limit gives -value, threshold gives 0,
// min/max_compare keep the first operand.
TEST(SignalProcessing, ComparingRoundingAndReorderingWithTheirNaNBehaviour)
{
    const Floats a{-2.0f, 0.5f, 3.0f, qnan, 0.0f, -0.1f, 0.4f, 0.6f};
    const std::size_t n = a.size();
    Floats out(n);
    SP::limit(a.data(), 0.0f, 1.0f, out.data(), n);
    EXPECT_EQ(out, (Floats{-1, 1, 1, -1, 1, -1, 1, 1}));
    SP::threshold(a.data(), 0.5f, out.data(), n);
    EXPECT_EQ(out, (Floats{0, 0.5f, 3.0f, 0, 0, 0, 0, 0.6f}));
    const Floats b(n, -1.0f), nans(n, qnan);
    SP::min_compare(a.data(), b.data(), out.data(), n);
    EXPECT_EQ((Floats{out[0], out[2], out[4]}), (Floats{-2.0f, -1.0f, -1.0f}));
    SP::min_compare(a.data(), nans.data(), out.data(), n);
    EXPECT_EQ(out[2], 3.0f);
    SP::max_compare(b.data(), a.data(), out.data(), n);
    EXPECT_EQ((Floats{out[0], out[2], out[3]}), (Floats{-1.0f, 3.0f, -1.0f}));
    for (auto [reduce, expected] : {std::pair{SP::peak, 3.0f}, {SP::max, 3.0f}, {SP::min, -2.0f}})
    {
        float result = 0.0f;
        reduce(a.data(), &result, n);  // the NaN is passed over
        EXPECT_EQ(result, expected);
    }
    const Floats threeFour{3.0f, -4.0f};
    float rms = 0.0f;
    SP::rms(threeFour.data(), &rms, 2);
    EXPECT_FLOAT_EQ(rms, std::sqrt(12.5f));

    Floats x{-1.75f, 1.75f, -0.5f, 3.0f}, whole(4);
    SP::truncToInt(x.data(), whole.data(), 4);
    EXPECT_EQ(whole, (Floats{-1.0f, 1.0f, -0.0f, 3.0f}));
    SP::ramp(1.0f, 0.5f, out.data(), 5);
    SP::reverse(out.data(), 5);
    EXPECT_EQ(Floats(out.begin(), out.begin() + 5), (Floats{3.0f, 2.5f, 2.0f, 1.5f, 1.0f}));
    SP::reverse(out.data(), 4);
    EXPECT_EQ(Floats(out.begin(), out.begin() + 5), (Floats{1.5f, 2.0f, 2.5f, 3.0f, 1.0f}));
    SP::interleaveStereo(a.data(), b.data(), out.data(), 2);
    EXPECT_EQ(Floats(out.begin(), out.begin() + 4), (Floats{-2.0f, -1.0f, 0.5f, -1.0f}));

    std::vector<double> doubles(3, 9.0);
    SP::rampD(-1.0, 0.25, doubles.data(), 3);
    EXPECT_EQ(doubles, (std::vector<double>{-1.0, -0.75, -0.5}));
    SP::doubleToFloat(doubles.data(), out.data(), 3);
    EXPECT_EQ(Floats(out.begin(), out.begin() + 3), (Floats{-1.0f, -0.75f, -0.5f}));
    SP::clear(doubles.data(), 2);
    SP::clear(out.data(), 2);
    EXPECT_EQ(doubles, (std::vector<double>{0.0, 0.0, -0.5}));
    EXPECT_EQ(Floats(out.begin(), out.begin() + 3), (Floats{0.0f, 0.0f, -0.5f}));
}
