#include "support/ReverbKernelHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace
{
    using P = ZorvikReverbParameterList;
    using Signal = ReverbKernelHarness::Signal;

    // Everything that makes the engine work hard: a large room, a long time,
    // deep modulation, a loop fully through the frequency shifter, the ducker active.
    const std::initializer_list<ReverbKernelHarness::Setting> heavy = {
        {P::RoomSize, 100}, {P::ReverbTime, 30}, {P::SizeModulationRate, 12.5f}, {P::SizeModulationAmount, 100},
        {P::FreqShifterFrequency, 50}, {P::FreqShifterDryWet, 100}, {P::DuckingThreshold, -40},
        {P::HFDamp, 18000}, {P::InputGain, 12}, {P::PreDelay, 0}, {P::EffectDryWet, 100}};

    void expectIdentical(const Signal& a, const Signal& b)
    {
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t c = 0; c < a.size(); ++c)
            for (std::size_t i = 0; i < a[c].size(); ++i)
                ASSERT_EQ(a[c][i], b[c][i]) << "channel " << c << " frame " << i;
    }

    long firstNonZero(const std::vector<float>& channel)
    {
        for (std::size_t i = 0; i < channel.size(); ++i)
            if (channel[i] != 0.0f)
                return static_cast<long>(i);
        return -1;
    }
}

TEST(ReverbKernel, SilenceInGivesExactZerosOut)
{
    for (const bool hard : {false, true})
    {
        ReverbKernelHarness engine(48000.0, 2, hard ? heavy : std::initializer_list<ReverbKernelHarness::Setting>{});
        if (hard)
            engine.kernel.setParameter(P::Freeze, 1);
        const Signal out = engine.run(Signal(2, std::vector<float>(48000, 0.0f)), 512);
        for (const auto& channel : out)
            EXPECT_EQ(firstNonZero(channel), -1);
    }
}

TEST(ReverbKernel, DryOnlyMixIsAnExactIdentity)
{
    const Signal input = makeNoise(2, 20000, 0.9f);
    for (const bool inPlace : {true, false})
    {
        ReverbKernelHarness engine(44100.0, 2, {{P::EffectDryWet, 0}, {P::InputGain, 12}, {P::FreqShifterDryWet, 100}});
        expectIdentical(engine.run(input, 100, inPlace), input);
    }
    ReverbKernelHarness mono(44100.0, 1, {{P::EffectDryWet, 0}});
    const Signal monoInput{input[0]};
    expectIdentical(mono.run(monoInput, 64), monoInput);
}

TEST(ReverbKernel, HostInputReadsBackAsZerosWhenSeparateFromTheOutput)
{
    ReverbKernelHarness engine(44100.0);
    Signal in = makeNoise(2, 300, 0.5f);
    Signal out(2, std::vector<float>(300, 0.0f));
    engine.processBlock(in, out, 0, 300);
    for (const auto& channel : in)
        EXPECT_EQ(firstNonZero(channel), -1);
    EXPECT_NE(firstNonZero(out[0]), -1);
}

TEST(ReverbKernel, ZeroFramesWritesNothing)
{
    ReverbKernelHarness engine(44100.0);
    Signal in = makeNoise(2, 64, 0.5f);
    Signal out(2, std::vector<float>(64, 7.0f));
    engine.processBlock(in, out, 0, 0);
    EXPECT_EQ(out[0][0], 7.0f);
    EXPECT_EQ(in[0][0], makeNoise(2, 64, 0.5f)[0][0]);
}

TEST(ReverbKernel, OneLongBlockEqualsItsPieces)
{
    const Signal input = makeNoise(2, 8192 * 3, 0.5f);
    ReverbKernelHarness whole(48000.0, 2, heavy);
    ReverbKernelHarness pieces(48000.0, 2, heavy);
    expectIdentical(whole.run(input, 8192), pieces.run(input, 4096));
    ReverbKernelHarness odd(48000.0, 2, heavy);
    ReverbKernelHarness oddPieces(48000.0, 2, heavy);
    expectIdentical(odd.run(input, 10000), oddPieces.run(input, {4096, 4096, 1808}));
}

TEST(ReverbKernel, NonFiniteInputCountsAsSilence)
{
    Signal clean = makeNoise(2, 30000, 0.5f);
    Signal dirty = clean;
    const float bad[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity()};
    for (std::size_t i = 0; i < 3000; ++i)
    {
        const std::size_t frame = (i * 7919) % clean[0].size();
        dirty[i % 2][frame] = bad[i % 3];
        clean[i % 2][frame] = 0.0f;
    }
    ReverbKernelHarness a(48000.0, 2, heavy);
    ReverbKernelHarness b(48000.0, 2, heavy);
    const Signal fromDirty = a.run(dirty, 256);
    EXPECT_LT(peakOf(fromDirty), 1e3f);
    expectIdentical(fromDirty, b.run(clean, 256));
}

TEST(ReverbKernel, MonoHostGetsTheMeanOfBothEngineChannels)
{
    const Signal input = makeNoise(1, 20000, 0.5f);
    ReverbKernelHarness mono(48000.0, 1, heavy);
    ReverbKernelHarness stereo(48000.0, 2, heavy);
    // Channel 1 does not exist for the mono engine: any access would crash.
    const Signal monoOut = mono.run(input, 333);
    const Signal stereoOut = stereo.run(Signal{input[0], input[0]}, 333);
    for (std::size_t i = 0; i < input[0].size(); ++i)
        ASSERT_EQ(monoOut[0][i], 0.5f * stereoOut[0][i] + 0.5f * stereoOut[1][i]) << i;
}

TEST(ReverbKernel, MeterReadsFullScaleUntilItsFirstMeasurement)
{
    ReverbKernelHarness engine(48000.0);
    EXPECT_EQ(engine.meter(), 100.0f);
    const Signal silence(2, std::vector<float>(960, 0.0f));
    engine.run(silence, 64);
    EXPECT_EQ(engine.meter(), 100.0f);
    // The ducker's gain starts at 0 and has not yet reached 1 after 1024 frames.
    engine.run(Signal(2, std::vector<float>(64, 0.0f)), 64);
    const float first = engine.meter();
    EXPECT_GE(first, 0.0f);
    EXPECT_LT(first, 100.0f);
    // After a second of silence the gain has fully recovered: no reduction.
    engine.run(Signal(2, std::vector<float>(48000, 0.0f)), 64);
    EXPECT_NEAR(engine.meter(), 100.0f, 1e-3);
}
