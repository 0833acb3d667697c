#include "Common/Math/Accelerate/SignalProcessing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

// The drive of the reverb's feedback path leans on tanh for signals of every
// size, from denormal tails to overloads: each result must be the double-
// precision tanh rounded to float.
TEST(SignalProcessing, TanhIsCorrectlyRoundedOverEveryScale)
{
    std::vector<float> x;
    for (double exponent = -40.0; exponent <= 1.6; exponent += 0.0007)
    {
        const auto v = static_cast<float>(std::pow(10.0, exponent));
        x.push_back(v);
        x.push_back(-v);
    }
    std::vector<float> out(x.size());
    SignalProcessing::tanh(x.data(), out.data(), x.size());
    for (std::size_t i = 0; i < x.size(); ++i)
        ASSERT_EQ(out[i], static_cast<float>(std::tanh(static_cast<double>(x[i])))) << x[i];

    const float inf = std::numeric_limits<float>::infinity();
    const float special[] = {0.0f, -0.0f, inf, -inf, 3e38f, std::numeric_limits<float>::quiet_NaN()};
    float result[6];
    SignalProcessing::tanh(special, result, 6);
    EXPECT_EQ(result[0], 0.0f);
    EXPECT_TRUE(std::signbit(result[1]));
    EXPECT_EQ(result[2], 1.0f);
    EXPECT_EQ(result[3], -1.0f);
    EXPECT_EQ(result[4], 1.0f);
    EXPECT_TRUE(std::isnan(result[5]));
}
