#include "Common/Math/Accelerate/PortableBiquadState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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
