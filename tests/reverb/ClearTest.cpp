#include "CustomReverb.h"
#include "DryWet.h"
#include "Ducker.h"

#include "dsp/TestSignals.h"
#include "support/ReverbKernelHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

using TestSignals::largest;
using TestSignals::noise;

namespace
{
    constexpr unsigned long slice = 64;

    // Runs `slices` slices of loud noise (or of silence) through one step of a
    // block and returns the largest magnitude it put out.
    double drive(const std::function<void(float*, float*)>& step, int slices, bool loud)
    {
        double peak = 0.0;
        for (int k = 0; k < slices; ++k)
        {
            auto left = loud ? noise(slice, 10 + unsigned(k)) : std::vector<float>(slice, 0.0f);
            auto right = loud ? noise(slice, 500 + unsigned(k)) : std::vector<float>(slice, 0.0f);
            step(left.data(), right.data());
            peak = std::max({peak, largest(left), largest(right)});
        }
        return peak;
    }

    struct Settings
    {
        std::vector<float> delay = std::vector<float>(slice, 3.0f);
        std::vector<float> roomSize = std::vector<float>(slice, 30.0f);
        std::vector<float> damping = std::vector<float>(slice, 6000.0f);
        std::vector<float> mix = std::vector<float>(slice, 70.0f);
        std::vector<float> shiftMix = std::vector<float>(slice, 100.0f);
        std::vector<float> zero = std::vector<float>(slice, 0.0f);
        ReverbSliceParameters network(float reverbTime) const
        {
            ReverbSliceParameters p;
            p.roomSize = roomSize.data();
            p.lfo = {zero.data(), zero.data(), zero.data(), zero.data()};
            p.reverbTime = reverbTime;
            p.damping = damping.data();
            p.dampingMix = mix.data();
            return p;
        }
    };
}

// After a loud signal, clear() leaves nothing behind: silence in gives
// silence out, however long the block's memory is.
TEST(EngineBlocks, ClearLeavesNoTail)
{
    const Settings s;
    DelayLine preDelay(400.0f);
    DelayLineDamped damped(400.0f);
    EarlyReflections reflections;
    Reverb reverb;
    CustomReverb shifted;
    std::fill(damped.getCutoffBuffer(), damped.getCutoffBuffer() + slice, 3000.0f);
    std::fill(damped.getMixBuffer(), damped.getMixBuffer() + slice, 0.7f);
    const float* lfo[4] = {s.zero.data(), s.zero.data(), s.zero.data(), s.zero.data()};
    reflections.setDelayTimes(s.roomSize.data(), lfo, slice);
    shifted.setShiftFrequency(50.0f);
    shifted.setShiftMix(s.shiftMix.data(), slice);

    struct Block { const char* name; ProcessBlock& block; std::function<void(float*, float*)> step; };
    const Block blocks[] = {
        {"pre-delay", preDelay, [&](float* l, float* r) {
             preDelay.process(l, slice, 0, s.delay.data(), nullptr, true, false);
             preDelay.process(r, slice, 1, s.delay.data(), nullptr, true, false);
         }},
        {"damped line", damped, [&](float* l, float*) { damped.process(l, slice, 0, {3.0f, nullptr, 0.9f}); }},
        {"reflections", reflections, [&](float* l, float* r) { reflections.process(l, r, slice); }},
        {"network", reverb, [&](float* l, float* r) { reverb.processSlice(l, r, slice, s.network(30.0f)); }},
        {"shifted network", shifted, [&](float* l, float* r) { shifted.processSlice(l, r, slice, s.network(30.0f)); }},
    };
    for (const Block& b : blocks)
    {
        b.block.init(2, 48000.0);
        EXPECT_GT(drive(b.step, 200, true), 0.01) << b.name;
        const int writeIndex = preDelay.getWrite(0).getWriteIndex();
        b.block.clear();
        if (&b.block == &preDelay)
        {
            EXPECT_EQ(preDelay.getWrite(0).getWriteIndex(), writeIndex);  // the circle turns on
        }
        EXPECT_EQ(drive(b.step, 400, false), 0.0) << b.name;
    }
}

// The ducker starts again from silence and fades in at the release rate;
// the blocks without state are left as they were.
TEST(EngineBlocks, ClearRestartsTheDuckerAndLeavesStatelessBlocksAlone)
{
    Ducker ducker;
    ducker.init(2, 44100.0);
    std::vector<float> wet(slice, 1.0f), dry(slice, 0.0f);
    const DuckerParameters settings{-10.0f, 20.0f, 100.0f, 30.0f};
    for (int k = 0; k < 400; ++k)
        for (unsigned long c = 0; c < 2; ++c)
            ducker.process(wet.data(), dry.data(), slice, c, settings);
    EXPECT_GT(ducker.getGain(1), 0.99f);
    ducker.clear();
    EXPECT_EQ(ducker.getGain(0), 0.0f);
    EXPECT_EQ(ducker.getGain(1), 0.0f);
    std::fill(wet.begin(), wet.end(), 1.0f);
    ducker.process(wet.data(), dry.data(), slice, 0, settings);
    EXPECT_EQ(wet[0], 0.0f);
    EXPECT_NEAR(wet[slice - 1], std::pow(63.0 / 4410.0, 2), 1e-7);

    PeakMeter peaks;
    peaks.init(2, 48000.0);
    std::vector<float> half(1024, 0.5f);
    peaks.process(half.data(), half.size(), 0, {});
    peaks.clear();
    EXPECT_NEAR(peaks.getValue(0), 100.0 + 20.0 * std::log10(0.5), 1e-4);

    ZorvikDSP::DryWet mixer;
    float a = 0.0f, b = 0.0f;
    const float one = 1.0f, two = 2.0f, quarter = 25.0f;
    mixer.process(&one, &two, &a, 1, &quarter);
    mixer.clear();
    mixer.process(&one, &two, &b, 1, &quarter);
    EXPECT_EQ(a, b);
}

// A new preparation after a loud signal starts the engine afresh: silence in
// gives silence out at once.
TEST(ReverbKernel, ANewSetupLeavesNoTail)
{
    using P = ZorvikReverbParameterList;
    ReverbKernelHarness engine(48000.0, 2, {{P::ReverbTime, 30}, {P::FreqShifterDryWet, 100},
                                            {P::FreqShifterFrequency, 40}, {P::EffectDryWet, 100}});
    engine.run(makeNoise(2, 20000, 0.9f), 512);
    engine.kernel.init(2, 44100.0);
    engine.kernel.setup();
    EXPECT_EQ(peakOf(engine.run(ReverbKernelHarness::Signal(2, std::vector<float>(20000, 0.0f)), 512)), 0.0f);
}
