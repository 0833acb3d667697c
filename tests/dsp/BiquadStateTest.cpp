#include "Common/Math/Accelerate/PortableBiquadState.h"
#include "Common/Math/Accelerate/SignalProcessing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace
{
    struct StateDeleter
    {
        void operator()(BiquadState* s) const { SignalProcessing::biquad_destroyState(s); }
    };
    using State = std::unique_ptr<BiquadState, StateDeleter>;

    State makeState()
    {
        return State(SignalProcessing::biquad_createState());
    }

    std::vector<float> noise(std::size_t n)
    {
        std::vector<float> v(n);
        unsigned seed = 12345;
        for (auto& x : v)
        {
            seed = seed * 1664525u + 1013904223u;
            x = static_cast<float>(seed >> 8) / float(1u << 24) * 2.0f - 1.0f;
        }
        return v;
    }

    // A low-pass section at 1 kHz / 44.1 kHz, Q 0.707, rounded to float.
    std::vector<float> lowPass()
    {
        const double k = std::tan(M_PI * 1000.0 / 44100.0), q = std::sqrt(0.5);
        const double norm = 1.0 / (1.0 + k / q + k * k);
        const double b0 = k * k * norm;
        return {float(b0), float(2 * b0), float(b0), float(2 * (k * k - 1) * norm),
                float((1 - k / q + k * k) * norm)};
    }

    // The difference equation in double precision, from silence.
    std::vector<double> reference(const std::vector<float>& x, const std::vector<float>& c)
    {
        std::vector<double> y(x.size());
        double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
        for (std::size_t i = 0; i < x.size(); ++i)
        {
            y[i] = c[0] * double(x[i]) + c[1] * x1 + c[2] * x2 - c[3] * y1 - c[4] * y2;
            x2 = x1;
            x1 = x[i];
            y2 = y1;
            y1 = y[i];
        }
        return y;
    }
}

TEST(Biquad, UnitCoefficientsCopyTheInput)
{
    const float identity[5] = {1, 0, 0, 0, 0};
    const auto x = noise(100);
    std::vector<float> y(100);
    auto state = makeState();
    SignalProcessing::biquad(x.data(), identity, y.data(), x.size(), state.get());
    EXPECT_EQ(y, x);
}

TEST(Biquad, FollowsTheDifferenceEquationWhateverTheChunking)
{
    const auto c = lowPass();
    const auto x = noise(10000); // longer than any host block
    const auto expected = reference(x, c);

    std::vector<float> whole(x.size());
    auto state = makeState();
    SignalProcessing::biquad(x.data(), c.data(), whole.data(), x.size(), state.get());
    for (std::size_t i = 0; i < x.size(); ++i)
        ASSERT_NEAR(whole[i], expected[i], 1e-5) << i;

    // 32 + 32 == 64, and uneven pieces in place.
    std::vector<float> pieces = x;
    auto other = makeState();
    std::size_t offset = 0;
    for (std::size_t length : {32u, 32u, 1u, 0u, 4095u, 5000u})
    {
        SignalProcessing::biquad(pieces.data() + offset, c.data(), pieces.data() + offset,
                                 length, other.get());
        offset += length;
    }
    SignalProcessing::biquad(pieces.data() + offset, c.data(), pieces.data() + offset,
                             x.size() - offset, other.get());
    EXPECT_EQ(pieces, whole);
}

TEST(Biquad, ClearForgetsTheHistory)
{
    const auto c = lowPass();
    const auto x = noise(64);
    std::vector<float> first(64), second(64);
    auto state = makeState();
    SignalProcessing::biquad(x.data(), c.data(), first.data(), 64, state.get());
    state->clear();
    SignalProcessing::biquad(x.data(), c.data(), second.data(), 64, state.get());
    EXPECT_EQ(first, second);
    SignalProcessing::biquad_destroyState(nullptr);
}

TEST(Biquad, ClearBadStateValueKeepsOnlyMagnitudesInsideTheBounds)
{
    const float qnan = std::numeric_limits<float>::quiet_NaN();
    PortableBiquadState state;
    state.inputHistory[0] = 1e-16f;
    state.inputHistory[1] = -2e15f;
    state.outputHistory[0] = qnan;
    state.outputHistory[1] = 0.0f;
    state.clearBadStateValue();
    EXPECT_EQ(state.inputHistory[0], 0.0f);
    EXPECT_EQ(state.inputHistory[1], 0.0f);
    EXPECT_EQ(state.outputHistory[0], 0.0f);
    EXPECT_EQ(state.outputHistory[1], 0.0f);

    state.inputHistory[0] = 1e-14f;
    state.inputHistory[1] = -1e14f;
    state.outputHistory[0] = -1e-14f;
    state.outputHistory[1] = 0.5f;
    state.clearBadStateValue();
    EXPECT_EQ(state.inputHistory[0], 1e-14f);
    EXPECT_EQ(state.inputHistory[1], -1e14f);
    EXPECT_EQ(state.outputHistory[0], -1e-14f);
    EXPECT_EQ(state.outputHistory[1], 0.5f);
}
