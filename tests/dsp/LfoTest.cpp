#include "Common/ProcessBlock/Oscillators/Lfo.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace
{
    constexpr double twoPi = 2.0 * M_PI;

    // Renders outputs 0..count-1 over total frames in slices, like a kernel does.
    std::vector<std::vector<float>> render(Lfo& lfo, std::size_t total, std::size_t slice, float rate,
                                           const std::vector<float>& offsets, float* amount = nullptr)
    {
        std::vector<std::vector<float>> outputs(offsets.size(), std::vector<float>(total));
        std::vector<std::vector<float>> offsetBuffers;
        for (float o : offsets)
            offsetBuffers.emplace_back(Lfo::bufferFrames, o);
        std::vector<float> rates(Lfo::bufferFrames, rate);
        for (std::size_t start = 0; start < total; start += slice)
        {
            const std::size_t n = std::min(slice, total - start);
            for (std::size_t index = 0; index < offsets.size(); ++index)
                lfo.process(outputs[index].data() + start, n, index,
                            Lfo::LfoParameters{rates.data(), nullptr, offsetBuffers[index].data(), amount});
        }
        return outputs;
    }

    // Distance between two phases on the circle of one cycle.
    double phaseDistance(double a, double b)
    {
        const double d = std::fabs(std::fmod(a - b, 1.0));
        return std::min(d, 1.0 - d);
    }

    double largest(const std::vector<float>& v)
    {
        double peak = 0.0;
        for (float x : v)
            peak = std::max(peak, double(std::fabs(x)));
        return peak;
    }
}

TEST(Lfo, FourOutputsAreOneSineInQuarterCycleSteps)
{
    Lfo lfo;
    lfo.init(4, 48000);
    const auto out = render(lfo, 48000, 64, 1.0f, {0.0f, 0.25f, 0.5f, 0.75f});

    EXPECT_NEAR(out[0][0], -1.0f, 1e-6);
    EXPECT_NEAR(out[0][24000], 1.0f, 1e-5);
    for (std::size_t i = 0; i < 48000; i += 97)
    {
        const double t = twoPi * double(i) / 48000.0;
        EXPECT_NEAR(out[0][i], -std::cos(t), 1e-3) << i;
        EXPECT_NEAR(out[1][i], std::sin(t), 1e-3) << i;  // a quarter cycle ahead
        EXPECT_NEAR(out[2][i], std::cos(t), 1e-3) << i;
        EXPECT_NEAR(out[3][i], -std::sin(t), 1e-3) << i;
    }
    EXPECT_LT(phaseDistance(lfo.getPhase(), 0.0), 1e-3);
}

TEST(Lfo, RateIsLimitedToItsRange)
{
    for (auto [requested, actual] : {std::array<float, 2>{100.0f, 40.0f}, {0.01f, 0.0625f}, {7.0f, 7.0f}})
    {
        Lfo lfo;
        lfo.init(1, 48000);
        render(lfo, 4800, 64, requested, {0.0f});
        EXPECT_LT(phaseDistance(lfo.getPhase(), actual * 0.1), 1e-4) << requested;
    }
}

TEST(Lfo, AmountSetsTheDepth)
{
    std::vector<float> amount(Lfo::bufferFrames, 50.0f);
    Lfo squared;
    squared.init(1, 48000);
    EXPECT_NEAR(largest(render(squared, 48000, 512, 2.0f, {0.0f}, amount.data())[0]), 0.25, 1e-4);

    Lfo linear;
    linear.depthSquared = false;
    linear.init(1, 48000);
    EXPECT_NEAR(largest(render(linear, 48000, 512, 2.0f, {0.0f}, amount.data())[0]), 0.5, 1e-4);
}

TEST(Lfo, ShapesFollowThePhase)
{
    // 8 Hz at 1024 Hz: the phase steps by exactly 1/128.
    Lfo lfo;
    lfo.init(1, 1024);
    lfo.shape = Lfo::Shape::square;
    const auto square = render(lfo, 128, 128, 8.0f, {0.0f})[0];
    EXPECT_EQ(square[63], 1.0f);   // phase 0.4921875
    EXPECT_EQ(square[64], -1.0f);  // phase 0.5

    for (auto shape : {Lfo::Shape::triangle, Lfo::Shape::sawUp, Lfo::Shape::sawDown})
    {
        Lfo other;
        other.init(1, 1024);
        other.shape = shape;
        const auto out = render(other, 128, 128, 8.0f, {0.0f})[0];
        for (std::size_t i = 0; i < 128; i += 8)
        {
            const double u = double(i) / 128.0;
            const double expected = shape == Lfo::Shape::triangle ? 4.0 * std::min(u, 1.0 - u) - 1.0
                                    : shape == Lfo::Shape::sawUp  ? 2.0 * u - 1.0
                                                                  : 1.0 - 2.0 * u;
            EXPECT_NEAR(out[i], expected, 1e-6) << static_cast<int>(shape) << " at " << i;
        }
    }
}

TEST(Lfo, OffsetsOutsideOneCycleStayInRange)
{
    Lfo lfo;
    lfo.init(2, 48000);
    lfo.shape = Lfo::Shape::triangle;
    for (const auto& out : render(lfo, 9600, 64, 5.0f, {-1.75f, 2.5f}))
        EXPECT_LE(largest(out), 1.0);
}

TEST(Lfo, TriggerRestartsTheCycle)
{
    Lfo lfo;
    lfo.init(1, 48000);
    lfo.mode = Lfo::Mode::retriggered;
    std::vector<float> rate(64, 10.0f), trigger(64, 0.0f), out(64);
    lfo.process(out.data(), 64, 0, Lfo::LfoParameters{rate.data()}, trigger.data());
    trigger[10] = 1.0f;
    lfo.process(out.data(), 64, 0, Lfo::LfoParameters{rate.data()}, trigger.data());
    EXPECT_NEAR(out[10], -1.0f, 1e-6);
    EXPECT_NEAR(out[11], -std::cos(twoPi * 10.0 / 48000.0), 1e-6);
    EXPECT_NEAR(out[63], -std::cos(twoPi * 10.0 * 53.0 / 48000.0), 1e-5);
}

TEST(Lfo, ZeroFramesAndLongBlocksAreSafe)
{
    Lfo lfo;
    lfo.init(2, 48000);
    std::vector<float> rate(10000, 3.0f), out(10000, 5.0f);
    lfo.process(out.data(), 0, 0, Lfo::LfoParameters{rate.data()});
    EXPECT_EQ(lfo.getPhase(), 0.0f);
    EXPECT_EQ(out[0], 5.0f);

    lfo.process(out.data(), 10000, 0, Lfo::LfoParameters{rate.data()});
    EXPECT_NEAR(lfo.getPhase(), std::fmod(3.0 * 10000 / 48000, 1.0), 1e-4);
    EXPECT_NEAR(out[9999], -std::cos(twoPi * 3.0 * 9999 / 48000), 1e-3);
}

TEST(Lfo, RandomShapeHoldsValuesForHalfAPeriod)
{
    Lfo lfo;
    lfo.init(2, 48000);
    lfo.shape = Lfo::Shape::random;
    lfo.setRandomSeed(42);
    // 40 Hz: a new value every 600 samples, from the very first block on.
    const auto out = render(lfo, 48000, 64, 40.0f, {0.0f})[0];
    int changes = 0;
    for (std::size_t i = 1; i < out.size(); ++i)
        changes += out[i] != out[i - 1];
    EXPECT_GE(changes, 70);
    EXPECT_LE(changes, 81);
    for (float x : out)
    {
        EXPECT_GE(x, -1.0f);
        EXPECT_LT(x, 1.0f);
    }
}

TEST(Lfo, TempoSyncFollowsTheHostPosition)
{
    Lfo lfo;
    lfo.init(2, 48000);
    lfo.mode = Lfo::Mode::tempoSynced;
    lfo.shape = Lfo::Shape::sawUp;
    // 120 bpm, a period of 4 beats = 96000 samples.
    MusicalContextStruct context;
    context.positionInQuarterNotes = 1.0;
    TransportStateStruct transport;
    transport.playing = true;
    lfo.processContext(context, transport, 0);

    std::vector<float> rate(64, 1.0f), offset(64, 0.25f), out0(64), out1(64);
    lfo.process(out0.data(), 64, 0, Lfo::LfoParameters{rate.data(), nullptr, offset.data()});
    lfo.process(out1.data(), 64, 1, Lfo::LfoParameters{rate.data(), nullptr, offset.data()});
    EXPECT_NEAR(out0[0], -0.5f, 1e-5);
    EXPECT_NEAR(out0[48], 2.0 * (0.25 + 48.0 / 96000) - 1.0, 1e-5);
    EXPECT_NEAR(out1[0], -1.0f, 1e-5);  // one beat behind

    // A count-in before the first bar continues the same cycle backwards.
    context.positionInQuarterNotes = -5.0;
    lfo.processContext(context, transport, 0);
    lfo.process(out0.data(), 64, 0, Lfo::LfoParameters{rate.data()});
    EXPECT_NEAR(out0[0], 2.0 * 0.75 - 1.0, 1e-5);

    // frames moves the position on: half a beat at 120 bpm is 12000 samples.
    context.positionInQuarterNotes = 0.0;
    lfo.processContext(context, transport, 12000);
    lfo.process(out0.data(), 64, 0, Lfo::LfoParameters{rate.data()});
    EXPECT_NEAR(out0[0], 2.0 * (0.5 / 4.0) - 1.0, 1e-5);

    // Stopped, the synchronised period drives the free-running phase: 2 s per cycle.
    transport.playing = false;
    lfo.processContext(context, transport, 0);
    lfo.clear();
    render(lfo, 24000, 64, 1.0f, {0.0f});
    EXPECT_NEAR(lfo.getPhase(), 0.25f, 1e-4);
}

TEST(Lfo, SmoothingFiltersEachOutputOnItsOwnChannel)
{
    Lfo lfo;
    lfo.init(2, 48000);
    lfo.shape = Lfo::Shape::square;
    lfo.smoothing = true;
    const auto out = render(lfo, 4800, 64, 10.0f, {0.0f, 0.5f, 0.0f});
    EXPECT_LT(std::fabs(out[0][0]), 0.1f);  // the step from silence is smoothed
    EXPECT_NEAR(out[0][2000], 1.0f, 0.05f);
    EXPECT_NEAR(out[1][2000], -1.0f, 0.05f);
    EXPECT_EQ(out[2][0], 1.0f);  // no filter state for a third output: left unsmoothed
}
