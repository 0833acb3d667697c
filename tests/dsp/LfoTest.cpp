#include "Common/ProcessBlock/Oscillators/Lfo.h"

#include "dsp/TestSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

using TestSignals::largest;

namespace
{
    constexpr double twoPi = 2.0 * M_PI;

    // Renders outputs 0 .. offsets.size() - 1 in slices, as a kernel does.
    std::vector<std::vector<float>> render(Lfo& lfo, std::size_t total, std::size_t slice, float rate,
                                           const std::vector<float>& offsets, float* amount = nullptr)
    {
        const std::size_t length = std::max<std::size_t>(total, Lfo::bufferFrames);
        std::vector<std::vector<float>> outputs(offsets.size(), std::vector<float>(total)), offsetBuffers;
        for (float o : offsets)
            offsetBuffers.emplace_back(length, o);
        std::vector<float> rates(length, rate);
        for (std::size_t start = 0; start < total; start += slice)
            for (std::size_t index = 0; index < offsets.size(); ++index)
                lfo.process(outputs[index].data() + start, std::min(slice, total - start), index,
                            {rates.data(), nullptr, offsetBuffers[index].data(), amount});
        return outputs;
    }

    double phaseDistance(double a, double b)
    {
        const double d = std::fabs(std::fmod(a - b, 1.0));
        return std::min(d, 1.0 - d);
    }
}

TEST(Lfo, ShapesFollowThePhaseAndOffsetsStepThroughTheCycle)
{
    // 8 Hz at 1024 Hz: the phase steps by exactly 1/128; offsets beyond one cycle wrap.
    // The first output takes negative offsets only, the others non-negative ones.
    using S = Lfo::Shape;
    for (auto shape : {S::sine, S::square, S::triangle, S::sawUp, S::sawDown})
    {
        Lfo lfo;
        lfo.init(4, 1024);
        lfo.shape = shape;
        const std::vector<float> offsets{-0.25f, 0.25f, 1.5f, 2.75f};
        const auto out = render(lfo, 256, 64, 8.0f, offsets);
        for (std::size_t k = 0; k < offsets.size(); ++k)
            for (std::size_t i = 0; i < 256; ++i)
            {
                const double u = std::fmod(double(i % 128) / 128.0 + offsets[k] + 2.0, 1.0);
                const double expected = shape == S::sine       ? -std::cos(twoPi * u)
                                        : shape == S::square   ? (u < 0.5 ? 1.0 : -1.0)
                                        : shape == S::triangle ? 4.0 * std::min(u, 1.0 - u) - 1.0
                                        : shape == S::sawUp    ? 2.0 * u - 1.0
                                                               : 1.0 - 2.0 * u;
                ASSERT_NEAR(out[k][i], expected, 1e-5) << int(shape) << " output " << k << " at " << i;
            }
    }
}

TEST(Lfo, RateIsLimitedAmountSetsTheDepthAndSmoothingKeepsOutputsApart)
{
    for (auto [requested, actual] : {std::pair{100.0f, 40.0f}, {0.01f, 0.0625f}, {7.0f, 7.0f}})
    {
        Lfo lfo;
        lfo.init(1, 48000);
        render(lfo, 4800, 64, requested, {0.0f});
        EXPECT_LT(phaseDistance(lfo.getPhase(), actual * 0.1), 1e-4) << requested;
    }
    std::vector<float> amount(Lfo::bufferFrames, 50.0f);
    for (bool squared : {true, false})
    {
        Lfo lfo;
        lfo.depthSquared = squared;
        lfo.init(1, 48000);
        EXPECT_NEAR(largest(render(lfo, 48000, 512, 2.0f, {0.0f}, amount.data())[0]), squared ? 0.25 : 0.5, 1e-4);
    }

    Lfo lfo;
    lfo.init(2, 48000);
    lfo.shape = Lfo::Shape::square;
    lfo.smoothing = true;
    const auto out = render(lfo, 4800, 64, 10.0f, {0.0f, 0.5f, 0.0f});
    EXPECT_LT(std::fabs(out[0][0]), 0.1f);  // the step from silence is smoothed, each output on its own
    EXPECT_NEAR(out[0][2000], 1.0f, 0.05f);
    EXPECT_NEAR(out[1][2000], -1.0f, 0.05f);
    EXPECT_EQ(out[2][0], 1.0f);  // no filter state for a third output: left as it is
}

TEST(Lfo, TriggerRestartsTheCycleAndEmptyOrLongBlocksAreSafe)
{
    Lfo lfo;
    lfo.init(1, 48000);
    lfo.mode = Lfo::Mode::retriggered;
    std::vector<float> rate(10000, 10.0f), trigger(64, 0.0f), out(10000, 0.7f);
    trigger[10] = 1.0f;
    lfo.process(out.data() + 1, 0, 0, {rate.data()});  // out[0] stands for the memory before
    EXPECT_EQ(lfo.getPhase(), 0.0f);
    EXPECT_EQ(std::vector<float>(out.begin(), out.begin() + 2), std::vector<float>(2, 0.7f));  // untouched
    lfo.process(out.data(), 64, 0, {rate.data()}, trigger.data());
    EXPECT_NEAR(out[10], -1.0f, 1e-6);
    EXPECT_NEAR(out[63], -std::cos(twoPi * 10.0 * 53.0 / 48000.0), 1e-5);

    lfo.mode = Lfo::Mode::freeRunning;
    lfo.clear();
    lfo.process(out.data(), 10000, 0, {rate.data()});
    EXPECT_LT(phaseDistance(lfo.getPhase(), 10.0 * 10000 / 48000), 1e-4);
    EXPECT_NEAR(out[9999], -std::cos(twoPi * 10.0 * 9999 / 48000), 1e-3);
}

TEST(Lfo, RandomShapeHoldsEachValueForHalfAPeriodFromItsOwnGenerator)
{
    // 40 Hz: a new value every 600 samples. Each instance has its own generator: another
    // instance run in between leaves a seeded sequence as it was, and unseeded ones differ.
    std::vector<std::unique_ptr<Lfo>> lfos;
    for (int k = 0; k < 4; ++k)
    {
        lfos.push_back(std::make_unique<Lfo>());
        lfos[k]->init(1, 48000);
        lfos[k]->shape = Lfo::Shape::random;
    }
    lfos[0]->setRandomSeed(42);
    lfos[1]->setRandomSeed(42);
    std::vector<float> out[4];
    for (int k : {0, 2, 1, 3})
        out[k] = render(*lfos[k], 48000, 64, 40.0f, {0.0f})[0];
    EXPECT_EQ(out[0], out[1]);
    EXPECT_NE(out[2], out[3]);
    int changes = 0;
    for (std::size_t i = 1; i < out[0].size(); ++i)
        changes += out[0][i] != out[0][i - 1];
    EXPECT_GE(changes, 70);
    EXPECT_LE(changes, 81);
    EXPECT_LE(largest(out[0]), 1.0);
}

TEST(Lfo, TempoSyncFollowsTheHostPosition)
{
    Lfo lfo;
    lfo.init(2, 48000);
    lfo.mode = Lfo::Mode::tempoSynced;
    lfo.shape = Lfo::Shape::sawUp;
    // 120 bpm, a period of 4 beats = 96000 samples.
    MusicalContextStruct context;
    TransportStateStruct transport;
    transport.playing = true;
    std::vector<float> rate(64, 1.0f), offset(64, 0.25f), out0(64), out1(64);
    auto valueAt = [&](double quarterNotes, unsigned long frames) {
        context.positionInQuarterNotes = quarterNotes;
        lfo.processContext(context, transport, frames);
        lfo.process(out0.data(), 64, 0, {rate.data(), nullptr, offset.data()});
        lfo.process(out1.data(), 64, 1, {rate.data(), nullptr, offset.data()});
        return out0[0];
    };
    EXPECT_NEAR(valueAt(1.0, 0), -0.5f, 1e-5);
    EXPECT_NEAR(out0[48], 2.0 * (0.25 + 48.0 / 96000) - 1.0, 1e-5);
    EXPECT_NEAR(out1[0], -1.0f, 1e-5);                          // offset 0.25: one beat behind
    EXPECT_NEAR(valueAt(-5.0, 0), 2.0 * 0.75 - 1.0, 1e-5);      // a count-in continues the cycle
    EXPECT_NEAR(valueAt(0.0, 12000), 2.0 * 0.125 - 1.0, 1e-5);  // 12000 frames = half a beat on
}

TEST(Lfo, OneLongCallEqualsItsPiecesForEveryOutput)
{
    for (auto shape : {Lfo::Shape::sine, Lfo::Shape::random})
    {
        Lfo whole, pieces;
        for (Lfo* lfo : {&whole, &pieces})
        {
            lfo->init(2, 48000);
            lfo->shape = shape;
            lfo->setRandomSeed(7);
        }
        const std::vector<float> offsets{0.1f, 0.35f, 0.6f};
        std::vector<float> amount(10000, 60.0f);
        EXPECT_EQ(render(whole, 10000, 10000, 30.0f, offsets, amount.data()),
                  render(pieces, 10000, Lfo::bufferFrames, 30.0f, offsets, amount.data()))
            << int(shape);
        EXPECT_EQ(whole.getPhase(), pieces.getPhase());
    }
}

// Following the host, each shape is a function of the position within its
// period of four beats; output 0 alone moves back by a negative offset.
TEST(Lfo, TempoSyncedShapesFollowThePositionInTheBar)
{
    using S = Lfo::Shape;
    const auto expected = [](S shape, double u) {
        switch (shape)
        {
            case S::sine: return std::sin(twoPi * u);
            case S::triangle: return 1.0 - 4.0 * std::fabs(std::fmod(u + 0.25, 1.0) - 0.5);
            case S::sawDown: return 1.0 - 2.0 * u;
            default: return u <= 0.5 ? 1.0 : -1.0;
        }
    };
    for (auto shape : {S::sine, S::triangle, S::sawDown, S::square})
        for (double beats : {0.0, 0.5, 1.0, 1.3, 2.0, 2.04, 3.0, 3.9})
        {
            Lfo lfo;
            lfo.init(2, 48000);
            lfo.mode = Lfo::Mode::tempoSynced;
            lfo.shape = shape;
            MusicalContextStruct context;
            context.positionInQuarterNotes = beats;
            TransportStateStruct transport;
            transport.playing = true;
            lfo.processContext(context, transport, 0);
            std::vector<float> rate(4, 1.0f), back(4, -0.25f), out0(4), out1(4);
            lfo.process(out0.data(), 4, 0, {rate.data(), nullptr, back.data()});
            lfo.process(out1.data(), 4, 1, {rate.data(), nullptr, back.data()});
            EXPECT_NEAR(out1[0], expected(shape, beats / 4.0), 1e-5) << int(shape) << " at " << beats;
            EXPECT_NEAR(out0[0], expected(shape, std::fmod(beats / 4.0 + 0.75, 1.0)), 1e-5) << int(shape) << " at " << beats;
        }
}

// Synced sample and hold: a new value at the start of every two beats, held
// to the next; in stereo one output draws and the other takes its value, the
// one behind taking it a quarter period later.
TEST(Lfo, TempoSyncedRandomHoldsAValueForHalfThePeriod)
{
    for (float offset : {0.0f, -0.25f})
        for (int channels : {2, 1})
        {
            Lfo lfo;
            lfo.init(channels, 1000);  // at 120 bpm two beats are 1000 samples
            lfo.mode = Lfo::Mode::tempoSynced;
            lfo.shape = Lfo::Shape::random;
            lfo.setRandomSeed(3);
            TransportStateStruct transport;
            transport.playing = true;
            std::vector<float> rate(100, 1.0f), offsets(100, offset), out0(5000), out1(5000);
            for (std::size_t o = 0; o < 5000; o += 100)
            {
                MusicalContextStruct context;
                context.positionInQuarterNotes = double(o) * 0.002;
                lfo.processContext(context, transport, 0);
                lfo.process(out0.data() + o, 100, 0, {rate.data(), nullptr, offsets.data()});
                lfo.process(out1.data() + o, 100, 1, {rate.data(), nullptr, offsets.data()});
            }
            SCOPED_TRACE(testing::Message() << "offset " << offset << ", " << channels << " channel(s)");
            const std::size_t lag = offset < 0.0f ? 250 : 0;
            for (std::size_t i = 1001 + lag; i < 5000; ++i)
            {
                const bool starts = (i - lag) % 1000 == 0;
                ASSERT_EQ(out0[i] != out0[i - 1], starts) << i;
                ASSERT_EQ(out1[i] != out1[i - 1], i % 1000 == 0) << i;
                ASSERT_LE(std::fabs(out0[i]), 1.0f);
                if (channels == 2)
                    ASSERT_EQ(out0[i], out1[i - lag]) << i;
                else
                    ASSERT_NE(out0[i], out1[i - lag]) << i;
            }
        }
}

TEST(Lfo, StoppedTransportRunsAtTheSyncedPeriod)
{
    Lfo lfo;
    lfo.init(1, 48000);
    lfo.mode = Lfo::Mode::tempoSynced;
    lfo.processContext(MusicalContextStruct{}, TransportStateStruct{}, 0);
    render(lfo, 24000, 64, 1.0f, {0.0f});  // 4 beats at 120 bpm: 2 s a cycle
    EXPECT_NEAR(lfo.getPhase(), 0.25f, 1e-4);
}
