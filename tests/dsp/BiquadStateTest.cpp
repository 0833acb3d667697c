#include "Common/Math/Accelerate/PortableBiquadState.h"
#include "Common/Math/Accelerate/SignalProcessing.h"

#include "dsp/TestSignals.h"

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
}

TEST(Biquad, FollowsTheDifferenceEquationWhateverTheChunkingAndClearForgets)
{
    // A low-pass section at 1 kHz / 44.1 kHz, Q 0.707, rounded to float.
    const double k = std::tan(M_PI * 1000.0 / 44100.0), q = std::sqrt(0.5), norm = 1.0 / (1.0 + k / q + k * k);
    const float c[5] = {float(k * k * norm), float(2 * k * k * norm), float(k * k * norm),
                        float(2 * (k * k - 1) * norm), float((1 - k / q + k * k) * norm)};
    const auto x = TestSignals::noise(10000);  // longer than any host block

    std::vector<float> whole(x.size());
    State state(SignalProcessing::biquad_createState());
    SignalProcessing::biquad(x.data(), c, whole.data(), x.size(), state.get());
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (std::size_t i = 0; i < x.size(); ++i)
    {
        const double y = c[0] * double(x[i]) + c[1] * x1 + c[2] * x2 - c[3] * y1 - c[4] * y2;
        ASSERT_NEAR(whole[i], y, 1e-5) << i;
        x2 = x1, x1 = x[i], y2 = y1, y1 = y;
    }

    // Uneven pieces, in place, after a clear.
    std::vector<float> pieces = x;
    state->clear();
    std::size_t offset = 0;
    for (std::size_t length : {32u, 32u, 1u, 0u, 4095u, 5000u, 840u})
    {
        SignalProcessing::biquad(pieces.data() + offset, c, pieces.data() + offset, length, state.get());
        offset += length;
    }
    EXPECT_EQ(pieces, whole);
    SignalProcessing::biquad_destroyState(nullptr);
}

TEST(Biquad, ClearBadStateValueKeepsOnlyMagnitudesInsideTheBounds)
{
    struct Case { float value; bool kept; };
    const Case cases[] = {{1e-16f, false}, {-2e15f, false}, {std::numeric_limits<float>::quiet_NaN(), false},
                          {0.0f, true},    {1e-14f, true},  {-1e14f, true},  {-1e-14f, true}, {0.5f, true}};
    for (const Case& c : cases)
    {
        PortableBiquadState state;
        state.inputHistory[0] = state.inputHistory[1] = state.outputHistory[0] = state.outputHistory[1] = c.value;
        state.clearBadStateValue();
        for (float v : {state.inputHistory[0], state.inputHistory[1], state.outputHistory[0], state.outputHistory[1]})
            EXPECT_EQ(v, c.kept ? c.value : 0.0f) << c.value;
    }
    PortableBiquadState infinite;
    infinite.outputHistory[0] = -std::numeric_limits<float>::infinity();
    infinite.clearBadStateValue();
    EXPECT_EQ(infinite.outputHistory[0], 0.0f);
}
