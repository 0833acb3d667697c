#include "support/TestKernel.h"

#include "Common/Parameters/NoteDomain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

namespace
{
    using P = TestParameterList;

    // A kernel set to its defaults and initialised, as the processor leaves it.
    struct Prepared : TestKernel
    {
        explicit Prepared(double rate = 44100.0)
        {
            setDefaults();
            init(2, rate);
        }

        std::vector<float> run(unsigned long index, unsigned long frames)
        {
            process(frames, 0, 0);
            return std::vector<float>(parameterBuffers[index], parameterBuffers[index] + std::min(frames, maxFrames));
        }

        float settle(unsigned long index, float value)
        {
            setParameter(index, value);
            return run(index, 4096).back();
        }
    };
}

TEST(DSPKernel, ChangesRampFromTheLastValueOverAtLeastTwentyMilliseconds)
{
    // 20 ms in single precision; none for a rate that is not positive and finite.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (auto [rate, frames] : {std::pair{96000.0, 1919ul}, {0.0, 0ul}, {nan, 0ul}})
        EXPECT_EQ(Prepared(rate).rampLength, frames) << rate;
    Prepared kernel;
    EXPECT_EQ(kernel.run(P::choice, 64), std::vector<float>(64, 20.0f));
    kernel.setParameter(P::gain, 8.81f);
    std::vector<float> values;
    for (int b = 0; b < 15; ++b)
    {
        const auto part = kernel.run(P::gain, 64);
        values.insert(values.end(), part.begin(), part.end());
    }
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_NEAR(values[i], i >= 881 ? 8.81 : 8.81 * i / 881.0, 1e-4) << i;

    kernel.startRamp(P::gain, 0.0f, 0);  // shorter requests take the ramp length
    EXPECT_NEAR(kernel.run(P::gain, 64)[1], 8.81 * 880.0 / 881.0, 1e-5);
    kernel.startRamp(P::gain, 12.0f, 2000);  // longer ones keep theirs
    const auto longer = kernel.run(P::gain, 64);
    EXPECT_NEAR(longer[1] - longer[0], (12.0 - longer[0]) / 2000.0, 1e-6);

    kernel.settle(P::gain, 6.0f);
    kernel.init(2, 48000.0);  // a new preparation keeps the values
    EXPECT_EQ(kernel.run(P::gain, 64), std::vector<float>(64, 6.0f));
}

TEST(DSPKernel, ClampsFrequenciesValueListsAndSteps)
{
    Prepared kernel;
    const auto note = [](double f) { return static_cast<float>(12.0 * std::log2(f / 8.175799)); };
    struct Case { unsigned long index; float value; float target; };
    const Case cases[] = {{P::frequency, 1000.0f, note(1000.0)}, {P::frequency, 1e9f, note(20000.0)},
                          {P::choice, 7.6f, 40.0f}, {P::stepped, 2.5f, 3.0f}, {P::gain, 99.0f, 12.0f}};
    for (const Case& c : cases)
        EXPECT_NEAR(kernel.settle(c.index, c.value), c.target, 2e-4) << c.index << " " << c.value;

    EXPECT_NEAR(kernel.getParameter(P::frequency), 20000.0f, 0.5f);  // read back in hertz
    kernel.setParameter(P::choice, 7.6f);
    EXPECT_EQ(kernel.getParameter(P::choice), 3.0f);
    // A list shorter than the range never reads past its end.
    (*kernel.parameterList)[P::choice]->valueList.resize(2);
    EXPECT_EQ(kernel.settle(P::choice, 3.0f), 20.0f);
}

TEST(DSPKernel, IgnoresNonFiniteValuesAndBadIndicesAndClampsOversizedBlocks)
{
    Prepared kernel;
    kernel.setParameter(P::unramped, 5.0f);
    EXPECT_EQ(kernel.lastUpdateValue, 5.0f);            // as passed
    EXPECT_EQ(kernel.getParameter(P::unramped), 2.0f);  // clamped

    const int updates = kernel.updates;
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::infinity()})
        for (unsigned long i = 0; i < P::meter; ++i)
            kernel.setParameter(i, bad);
    EXPECT_EQ(kernel.updates, updates);
    EXPECT_EQ(kernel.run(P::gain, 4096).back(), 0.0f);
    EXPECT_EQ(kernel.getParameter(P::linearFrequency), 9000.0f);
    EXPECT_THROW(kernel.setParameter(P::count, 1.0f), std::out_of_range);
    EXPECT_THROW(kernel.getParameter(P::count), std::out_of_range);

    kernel.setParameter(P::gain, 12.0f);
    EXPECT_EQ(kernel.run(P::gain, 100000).back(), 12.0f);  // clamped to the buffers
}

TEST(DSPKernel, OutputValuesAreMadeOnce)
{
    TestKernel kernel;
    kernel.setOutputValue(P::meter, 1.0f);  // nothing to write to yet
    kernel.init(2, 44100.0);
    std::atomic<float>* values = kernel.getOutputValues(P::meter);
    kernel.setOutputValue(P::meter, 7.0f, 1);
    kernel.setOutputValue(P::meter, 9.0f, 2);  // past the channels: dropped
    kernel.init(2, 96000.0);
    EXPECT_EQ(kernel.getOutputValues(P::meter), values);
    EXPECT_EQ(values[1], 7.0f);
}

// A host may restore its state before the first preparation: those values are
// kept, ramped and unramped alike, and apply from the first block without a ramp.
TEST(DSPKernel, ValuesSetBeforeTheFirstInitAreKept)
{
    TestKernel restored;
    restored.setDefaults();
    restored.setParameter(P::gain, -12.0f);
    restored.setParameter(P::unramped, 2.0f);
    EXPECT_EQ(restored.getOutputValues(P::meter), nullptr);  // nothing to read before init
    restored.init(2, 44100.0);
    EXPECT_EQ(restored.nyquist, 22050.0f);
    EXPECT_EQ(restored.inverseNyquist, 1.0f / 22050.0f);
    restored.process(32, 0, 0);
    EXPECT_EQ(restored.parameterBuffers[P::gain][0], -12.0f);
    EXPECT_EQ(restored.parameterBuffers[P::gain][31], -12.0f);
    EXPECT_EQ(restored.getParameter(P::unramped), 2.0f);
    EXPECT_EQ(restored.lastUpdateValue, 2.0f);

    restored.init(2, 0.0);  // a rate of 0 leaves no infinite inverse
    EXPECT_EQ(restored.inverseNyquist, 0.0f);
}

// Resetting the change counters loses no pending change; MIDI, a default setup
// and values sent to an output change nothing.
TEST(DSPKernel, ResetMidiSetupAndOutputsLeaveTheParametersAsTheyAre)
{
    Prepared kernel;
    kernel.setParameter(P::gain, 6.0f);
    kernel.reset();
    unsigned char noteOn[3] = {0x90, 60, 100};
    kernel.handleMIDIEvent(noteOn, 0);
    kernel.setup();
    (*kernel.parameterList)[P::meter]->flags = ParameterFlag::unramped;
    const int updates = kernel.updates;
    kernel.setParameter(P::meter, 5.0f);
    EXPECT_EQ(kernel.updates, updates);
    EXPECT_EQ(kernel.getParameter(P::meter), 0.0f);
    EXPECT_EQ(kernel.getOutputValues(P::meter)[0], 0.0f);
    EXPECT_EQ(kernel.run(P::gain, 4096)[881], 6.0f);

    TestKernel empty;  // a kernel whose product set no list yet
    empty.parameterList.reset();
    empty.init(2, 48000.0);
    empty.reset();
    empty.DSPKernel::process(64, 0, 0);
    EXPECT_EQ(empty.rampLength, 959u);
}
