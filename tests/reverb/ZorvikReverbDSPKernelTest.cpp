#include "support/ReverbKernelHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace
{
    using P = ZorvikReverbParameterList;
    using Signal = ReverbKernelHarness::Signal;
    using Settings = std::initializer_list<ReverbKernelHarness::Setting>;

    // Everything that makes the engine work hard: a large room, a long time,
    // deep modulation, a loop fully through the frequency shifter, the ducker active.
    const Settings heavy = {
        {P::RoomSize, 100}, {P::ReverbTime, 30}, {P::SizeModulationRate, 12.5f}, {P::SizeModulationAmount, 100},
        {P::FreqShifterFrequency, 50}, {P::FreqShifterDryWet, 100}, {P::DuckingThreshold, -40},
        {P::HFDamp, 18000}, {P::InputGain, 12}, {P::PreDelay, 0}, {P::EffectDryWet, 100}};

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
    for (const bool frozen : {false, true})
    {
        ReverbKernelHarness engine(48000.0, 2, frozen ? heavy : Settings{});
        engine.kernel.setParameter(P::Freeze, frozen ? 1 : 0);
        for (const auto& channel : engine.run(Signal(2, std::vector<float>(48000, 0.0f)), 512))
            EXPECT_EQ(firstNonZero(channel), -1);
    }
}

TEST(ReverbKernel, DryOnlyMixIsAnExactIdentity)
{
    const Signal input = makeNoise(2, 20000, 0.9f);
    ReverbKernelHarness engine(44100.0, 2, {{P::EffectDryWet, 0}, {P::InputGain, 12}, {P::FreqShifterDryWet, 100}});
    EXPECT_EQ(engine.run(input, 100), input);
    ReverbKernelHarness mono(44100.0, 1, {{P::EffectDryWet, 0}});
    EXPECT_EQ(mono.run(Signal{input[0]}, 64), Signal{input[0]});
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
    ReverbKernelHarness a(48000.0, 2, heavy), b(48000.0, 2, heavy);
    const Signal fromDirty = a.run(dirty, 256);
    EXPECT_LT(peakOf(fromDirty), 1e3f);
    EXPECT_EQ(fromDirty, b.run(clean, 256));
}

TEST(ReverbKernel, MonoHostGetsTheMeanOfBothEngineChannels)
{
    const Signal input = makeNoise(1, 20000, 0.5f);
    ReverbKernelHarness mono(48000.0, 1, heavy), stereo(48000.0, 2, heavy);
    const Signal monoOut = mono.run(input, 333);
    const Signal stereoOut = stereo.run(Signal{input[0], input[0]}, 333);
    for (std::size_t i = 0; i < input[0].size(); ++i)
        ASSERT_EQ(monoOut[0][i], 0.5f * stereoOut[0][i] + 0.5f * stereoOut[1][i]) << i;
}

TEST(ReverbKernel, ImpulseArrivesAfterPreDelayPlusTheLineLatency)
{
    // A delay of d samples sounds d + 65 samples late, and never less than one
    // 64-frame slice + 65, whatever the host's block size. The cubic read may
    // leak a rounding's worth into the neighbouring samples, nothing earlier.
    struct Case { float preDelayMs; unsigned long block; long expected; };
    const Case cases[] = {{10, 512, 480 + 65}, {10, 7, 480 + 65}, {0, 64, 64 + 65}, {0, 32, 64 + 65},
                          {100, 100, 4800 + 65}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.preDelayMs << " ms in blocks of " << c.block);
        ReverbKernelHarness engine(48000.0, 2, {{P::PreDelay, c.preDelayMs}, {P::EffectDryWet, 100}, {P::DuckingThreshold, 0}});
        const Signal out = engine.run(makeImpulse(2, 8192), c.block);
        EXPECT_GE(firstNonZero(out[0]), c.expected - 2);
        EXPECT_GE(firstNonZero(out[1]), c.expected - 2);
        // Nothing else reaches the left output within 300 samples of the direct arrival.
        const auto begin = out[0].begin();
        const auto loudest = std::max_element(begin, begin + c.expected + 300,
                                              [](float a, float b) { return std::fabs(a) < std::fabs(b); });
        EXPECT_EQ(loudest - begin, c.expected);
    }
}

TEST(ReverbKernel, OutputStaysFiniteAndBoundedAtEveryRateAndBlockSize)
{
    // Filters asked for 20 kHz and 18 kHz lie above Nyquist at the low rates.
    std::mt19937 random(7);
    std::vector<unsigned long> randomSizes;
    for (int i = 0; i < 50; ++i)
        randomSizes.push_back(std::uniform_int_distribution<unsigned long>(1, 5000)(random));
    const std::vector<std::vector<unsigned long>> blockSizes = {{1}, {7}, {64}, {100}, {4096}, {8192}, randomSizes};
    for (const double rate : {8000.0, 11025.0, 22050.0, 32000.0, 44100.0, 48000.0, 96000.0, 192000.0, 384000.0})
        for (const auto& sizes : blockSizes)
        {
            ReverbKernelHarness engine(rate, 2, heavy);
            engine.kernel.setParameter(P::InputFilterType, 1);
            engine.kernel.setParameter(P::InputFilterFrequency, 20000);
            const Signal out = engine.run(makeNoise(2, static_cast<unsigned long>(rate / 2), 1.0f), sizes);
            EXPECT_LT(peakOf(out), 20.0f) << rate << " Hz, first block " << sizes[0];
        }
    // A frozen loop has gain 1 and keeps taking input, through the shifter's drive.
    for (const double rate : {22050.0, 32000.0, 192000.0})
        for (const float shiftMix : {30.0f, 100.0f})
        {
            ReverbKernelHarness frozen(rate, 2, heavy);
            frozen.kernel.setParameter(P::Freeze, 1);
            frozen.kernel.setParameter(P::FreqShifterDryWet, shiftMix);
            Signal input = makeNoise(2, static_cast<unsigned long>(rate * 4), 1.0f);
            for (auto& channel : input)
                std::fill(channel.begin() + static_cast<long>(rate), channel.end(), 0.0f);
            EXPECT_LT(peakOf(frozen.run(input, 512)), 20.0f) << rate << " Hz, shift mix " << shiftMix;
        }
}

TEST(ReverbKernel, OverflowInTheInputChainCountsAsSilence)
{
    // Finite input that the gain takes past the float range, or that the
    // pre-delay's interpolation or the reflections would.
    struct Case { float gain; float value; int frames; };
    for (const Case c : {Case{12, 3e38f, 1}, {0, 3e38f, 1}, {0, 4e37f, 200}})
    {
        Signal input = makeNoise(2, 20000, 0.5f);
        for (int i = 0; i < c.frames; ++i)
            input[0][1000 + i] = input[1][1001 + i] = i % 2 == 0 ? c.value : -c.value;
        ReverbKernelHarness engine(48000.0, 2, {{P::InputGain, c.gain}, {P::EffectDryWet, 100}});
        EXPECT_LT(peakOf(engine.run(input, 64)), 1e3f) << c.gain << " " << c.value;
    }
}

TEST(ReverbKernel, OneLongBlockEqualsItsPieces)
{
    const Signal input = makeNoise(2, 8192 * 3, 0.5f);
    ReverbKernelHarness whole(48000.0, 2, heavy), pieces(48000.0, 2, heavy);
    // Unramped changes would arrive here; the reverb reads every parameter from its ramp.
    whole.kernel.updateParameter(P::RoomSize, 0.0f);
    EXPECT_EQ(whole.run(input, 8192), pieces.run(input, 4096));
    ReverbKernelHarness odd(48000.0, 2, heavy), oddPieces(48000.0, 2, heavy);
    EXPECT_EQ(odd.run(input, 10000), oddPieces.run(input, {4096, 4096, 1808}));
}
