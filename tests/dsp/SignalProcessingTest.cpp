#include "Common/Math/Accelerate/SignalProcessing.h"
#include "Common/Math/Memory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <vector>

using SP = SignalProcessing;

namespace
{
    const float qnan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();

    // Long enough for the vectorised body and an odd tail.
    std::vector<float> signal(std::size_t n, float scale = 1.0f, float offset = 0.0f)
    {
        std::vector<float> v(n);
        for (std::size_t i = 0; i < n; ++i)
            v[i] = offset + scale * static_cast<float>(std::sin(0.37 * double(i) + 0.1));
        return v;
    }

    using Binary = std::function<void(const float*, const float*, float*, std::size_t)>;
}

TEST(SignalProcessing, OperandOrderFollowsTheArgumentList)
{
    const float five = 5.0f, three = 3.0f, two = 2.0f;
    float out = 0.0f;

    SP::sub(&five, &three, &out, 1);
    EXPECT_EQ(out, 2.0f);
    SP::div(&five, &three, &out, 1);
    EXPECT_EQ(out, 5.0f / 3.0f);
    SP::s_div(1.0f, &five, &out, 1);
    EXPECT_EQ(out, 1.0f / 5.0f);
    SP::div_s(&five, 2.0f, &out, 1);
    EXPECT_EQ(out, 2.5f);
    SP::pow(&out, &two, &three, 1); // exponent 2, base 3
    EXPECT_EQ(out, 9.0f);
    const float minusSeven = -7.0f;
    SP::mod(&minusSeven, &three, &out, 1); // remainder takes the sign of a
    EXPECT_EQ(out, -1.0f);
    SP::mod(&five, &minusSeven, &out, 1);
    EXPECT_EQ(out, 5.0f);

    const float from[2] = {1.0f, 2.0f};
    float to[2] = {0.0f, 0.0f};
    Memory::copy(from, to, 2);
    EXPECT_EQ(to[1], 2.0f);
}

TEST(SignalProcessing, CompoundOperationsMatchTheirFormulas)
{
    // Small integers: every result is exact in single precision.
    const float a = 2.0f, b = 3.0f, c = 5.0f, d = 7.0f;
    float out = 0.0f;
    SP::add_mul(&a, &b, &c, &out, 1);
    EXPECT_EQ(out, 25.0f);
    SP::mul_add(&a, &b, &c, &out, 1);
    EXPECT_EQ(out, 11.0f);
    SP::mul_add_s(&a, &b, 5.0f, &out, 1);
    EXPECT_EQ(out, 11.0f);
    SP::mul_s_add(&a, 3.0f, &c, &out, 1);
    EXPECT_EQ(out, 11.0f);
    SP::mul_s_add_s(&a, 3.0f, 5.0f, &out, 1);
    EXPECT_EQ(out, 11.0f);
    SP::mul_mul_add(&a, &b, &c, &d, &out, 1);
    EXPECT_EQ(out, 41.0f);

    const double ad = 1.5;
    double outD = 0.0;
    SP::add_s_D(&ad, 0.25, &outD, 1);
    EXPECT_EQ(outD, 1.75);
}

TEST(SignalProcessing, OutputMayBeEitherInput)
{
    const std::vector<std::pair<const char*, Binary>> operations{
        {"add", SP::add}, {"sub", SP::sub}, {"mul", SP::mul}, {"div", SP::div},
        {"mod", SP::mod}, {"min_compare", SP::min_compare}, {"max_compare", SP::max_compare},
        {"pow", [](const float* e, const float* b, float* o, std::size_t n) { SP::pow(o, e, b, n); }},
    };
    const std::size_t n = 1003;
    const auto a = signal(n, 1.0f, 2.0f), b = signal(n, 0.5f, 1.5f);
    for (const auto& [name, op] : operations)
    {
        std::vector<float> expected(n), intoA = a, intoB = b;
        op(a.data(), b.data(), expected.data(), n);
        op(intoA.data(), b.data(), intoA.data(), n);
        op(a.data(), intoB.data(), intoB.data(), n);
        EXPECT_EQ(intoA, expected) << name;
        EXPECT_EQ(intoB, expected) << name;
    }
}

TEST(SignalProcessing, EmptyInputWritesNothing)
{
    float sentinel[2] = {42.0f, 42.0f};
    const float one = 1.0f;
    SP::add(&one, &one, sentinel, 0);
    SP::fill(sentinel, 0.0f, 0);
    SP::tableRead(&one, &one, 1, sentinel, 0);
    SP::interleaveStereo(&one, &one, sentinel, 0);
    SP::reverse(sentinel, 0);
    BiquadState* state = SP::biquad_createState();
    SP::biquad(&one, &one, sentinel, 0, state);
    SP::biquad_destroyState(state);
    EXPECT_EQ(sentinel[0], 42.0f);
    EXPECT_EQ(sentinel[1], 42.0f);

    // Reductions over nothing: neutral values, never NaN.
    float result = qnan;
    SP::peak(&one, &result, 0);
    EXPECT_EQ(result, 0.0f);
    SP::rms(&one, &result, 0);
    EXPECT_EQ(result, 0.0f);
    SP::max(&one, &result, 0);
    EXPECT_EQ(result, -inf);
    SP::min(&one, &result, 0);
    EXPECT_EQ(result, inf);
}

TEST(SignalProcessing, TruncationAndFractionKeepTheSign)
{
    std::vector<float> a{-1.75f, 1.75f, -0.5f, 3.0f};
    std::vector<float> whole(4);
    SP::truncToInt(a.data(), whole.data(), 4);
    EXPECT_EQ(whole, (std::vector<float>{-1.0f, 1.0f, -0.0f, 3.0f}));
    SP::frac(a.data(), 4);
    EXPECT_EQ(a, (std::vector<float>{-0.75f, 0.75f, -0.5f, 0.0f}));
}

// NaN follows the element-wise formulas: clip passes it, limit gives -value,
// threshold gives 0, min/max_compare keep the first operand, reductions skip it.
TEST(SignalProcessing, ClampingOperationsAndTheirNaNBehaviour)
{
    const std::vector<float> a{-2.0f, 0.5f, 3.0f, qnan, 0.0f, -0.1f, 0.4f, 0.6f};
    const std::size_t n = a.size();
    std::vector<float> out(n);

    SP::clip(a.data(), -1.0f, 1.0f, out.data(), n);
    EXPECT_EQ(out[0], -1.0f);
    EXPECT_EQ(out[1], 0.5f);
    EXPECT_EQ(out[2], 1.0f);
    EXPECT_TRUE(std::isnan(out[3]));

    SP::limit(a.data(), 0.0f, 1.0f, out.data(), n);
    EXPECT_EQ(out, (std::vector<float>{-1, 1, 1, -1, 1, -1, 1, 1}));

    SP::threshold(a.data(), 0.5f, out.data(), n);
    EXPECT_EQ(out, (std::vector<float>{0, 0.5f, 3.0f, 0, 0, 0, 0, 0.6f}));

    const std::vector<float> b(n, qnan);
    SP::min_compare(a.data(), b.data(), out.data(), n);
    EXPECT_EQ(out[2], 3.0f);
    SP::max_compare(b.data(), a.data(), out.data(), n);
    EXPECT_TRUE(std::isnan(out[2]));
    const float one = 1.0f, minusTwo = -2.0f;
    SP::min_compare(&one, &minusTwo, out.data(), 1);
    EXPECT_EQ(out[0], -2.0f);
    SP::max_compare(&minusTwo, &one, out.data(), 1);
    EXPECT_EQ(out[0], 1.0f);

    float result = 0.0f;
    SP::peak(a.data(), &result, n);
    EXPECT_EQ(result, 3.0f);
    SP::max(a.data(), &result, n);
    EXPECT_EQ(result, 3.0f);
    SP::min(a.data(), &result, n);
    EXPECT_EQ(result, -2.0f);
    const float negative[2] = {-4.0f, 1.0f};
    SP::peak(negative, &result, 2);
    EXPECT_EQ(result, 4.0f);
}

TEST(SignalProcessing, TableReadInterpolatesAndHoldsTheEnds)
{
    const std::vector<float> table{10.0f, 20.0f, 40.0f, 80.0f};
    std::vector<float> indices{-0.5f, 0.0f, 1.25f, 2.5f, 3.0f, 7.0f, qnan, inf, -inf};
    std::vector<float> out(indices.size());
    SP::tableRead(indices.data(), table.data(), table.size(), out.data(), indices.size());
    EXPECT_EQ(out, (std::vector<float>{10, 10, 25, 60, 80, 80, 10, 80, 10}));

    // Read in place, and from one-entry and empty tables.
    SP::tableRead(indices.data(), table.data(), table.size(), indices.data(), indices.size());
    EXPECT_EQ(indices, out);
    const float single = 5.0f, index = 0.5f;
    float value = 0.0f;
    SP::tableRead(&index, &single, 1, &value, 1);
    EXPECT_EQ(value, 5.0f);
    SP::tableRead(&index, nullptr, 0, &value, 1);
    EXPECT_EQ(value, 0.0f);
}

TEST(SignalProcessing, RampsAndReordering)
{
    std::vector<float> out(5);
    SP::ramp(1.0f, 0.5f, out.data(), 5);
    EXPECT_EQ(out, (std::vector<float>{1.0f, 1.5f, 2.0f, 2.5f, 3.0f}));
    SP::reverse(out.data(), 5);
    EXPECT_EQ(out, (std::vector<float>{3.0f, 2.5f, 2.0f, 1.5f, 1.0f}));
    SP::reverse(out.data(), 4);
    EXPECT_EQ(out, (std::vector<float>{1.5f, 2.0f, 2.5f, 3.0f, 1.0f}));

    std::vector<double> outD(3);
    SP::rampD(-1.0, 0.25, outD.data(), 3);
    EXPECT_EQ(outD, (std::vector<double>{-1.0, -0.75, -0.5}));

    const float left[2] = {1.0f, 2.0f}, right[2] = {-1.0f, -2.0f};
    std::vector<float> stereo(4);
    SP::interleaveStereo(left, right, stereo.data(), 2);
    EXPECT_EQ(stereo, (std::vector<float>{1.0f, -1.0f, 2.0f, -2.0f}));
}

TEST(SignalProcessing, ElementFunctionsMatchDoublePrecision)
{
    using Unary = void (*)(const float*, float*, std::size_t);
    const std::vector<std::pair<Unary, double (*)(double)>> functions{
        {SP::cos, [](double x) { return std::cos(x); }},
        {SP::sin, [](double x) { return std::sin(x); }},
        {SP::tanh, [](double x) { return std::tanh(x); }},
        {SP::exp, [](double x) { return std::exp(x); }},
        {SP::log, [](double x) { return std::log(x); }},
        {SP::log_ten, [](double x) { return std::log10(x); }},
        {SP::squareRoot, [](double x) { return std::sqrt(x); }},
        {SP::abs, [](double x) { return std::fabs(x); }},
    };
    const auto a = signal(257, 2.0f, 2.5f); // in (0.5, 4.5): inside every domain
    for (const auto& [function, reference] : functions)
    {
        std::vector<float> out(a.size());
        function(a.data(), out.data(), a.size());
        for (std::size_t i = 0; i < a.size(); ++i)
        {
            const double expected = reference(a[i]);
            EXPECT_NEAR(out[i], expected, 1e-6 * std::max(1.0, std::fabs(expected)));
        }
    }

    std::vector<float> squares = a;
    SP::powTwo(squares.data(), squares.size());
    float rms = 0.0f;
    SP::rms(a.data(), &rms, a.size());
    double sum = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i)
    {
        EXPECT_EQ(squares[i], a[i] * a[i]);
        sum += double(a[i]) * a[i];
    }
    EXPECT_NEAR(rms, std::sqrt(sum / double(a.size())), 1e-6);
}

// The vectorisable trunc and floor equal the library's bit for bit across the
// whole float range (a stride through every bit pattern, both signs, specials).
TEST(SignalProcessing, TruncatedAndFlooredEqualTheLibrary)
{
    auto sameBits = [](float a, float b) {
        std::uint32_t x = 0, y = 0;
        std::memcpy(&x, &a, sizeof x);
        std::memcpy(&y, &b, sizeof y);
        return x == y || (std::isnan(a) && std::isnan(b));
    };
    std::vector<float> values = {0.0f, -0.0f, 0.5f, -0.5f, 1.0f, -1.0f, 8388607.5f, -8388607.5f, 8388608.0f,
                                 -8388608.0f, 2147483648.0f, -2147483904.0f,
                                 std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                                 std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::denorm_min()};
    for (std::uint64_t bits = 0; bits < 0x100000000ull; bits += 997)
    {
        float x = 0.0f;
        const auto pattern = static_cast<std::uint32_t>(bits);
        std::memcpy(&x, &pattern, sizeof x);
        values.push_back(x);
    }
    for (const float x : values)
    {
        ASSERT_TRUE(sameBits(SignalProcessing::truncated(x), std::trunc(x))) << x;
        ASSERT_TRUE(sameBits(SignalProcessing::floored(x), std::floor(x))) << x;
    }
    // The array forms, four lanes at a time and the scalar tail (an odd count).
    values.push_back(-3.25f);
    std::vector<float> fractions = values, wrapped = values;
    SignalProcessing::frac(fractions.data(), values.size());
    SignalProcessing::wrap(wrapped.data(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i)
    {
        ASSERT_TRUE(sameBits(fractions[i], values[i] - std::trunc(values[i]))) << values[i];
        ASSERT_TRUE(sameBits(wrapped[i], values[i] - std::floor(values[i]))) << values[i];
    }
}
