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

    std::vector<float> block(TestKernel& kernel, unsigned long index, unsigned long frames)
    {
        const float* buffer = kernel.parameterBuffers[index];
        return std::vector<float>(buffer, buffer + frames);
    }

    // A kernel set to its defaults and initialised, as the processor leaves it.
    struct Prepared
    {
        explicit Prepared(double rate = 44100.0)
        {
            kernel.setDefaults();
            kernel.init(2, rate);
        }
        TestKernel kernel;
    };

    float note(double frequency) { return static_cast<float>(12.0 * std::log2(frequency / 8.175799)); }
}

TEST(DSPKernel, RampLengthIsTwentyMillisecondsInSinglePrecision)
{
    struct Case { double rate; unsigned long frames; };
    for (Case c : {Case{44100.0, 881}, Case{48000.0, 959}, Case{96000.0, 1919}})
    {
        Prepared prepared(c.rate);
        EXPECT_EQ(prepared.kernel.rampLength, c.frames) << c.rate;
        EXPECT_EQ(prepared.kernel.nyquist, static_cast<float>(c.rate / 2.0));
        EXPECT_FLOAT_EQ(prepared.kernel.inverseNyquist, static_cast<float>(2.0 / c.rate));
    }
    for (double bad : {0.0, -44100.0, std::numeric_limits<double>::quiet_NaN()})
    {
        TestKernel kernel;
        kernel.init(2, bad);
        EXPECT_EQ(kernel.rampLength, 0u) << bad;
    }
}

TEST(DSPKernel, FirstBlockHoldsTheDefaultsAndReinitKeepsValues)
{
    Prepared prepared;
    TestKernel& kernel = prepared.kernel;
    kernel.process(64, 0, 0);
    EXPECT_EQ(block(kernel, P::gain, 64), std::vector<float>(64, 0.0f));
    EXPECT_EQ(block(kernel, P::frequency, 64), std::vector<float>(64, NoteDomain::note(400.0f)));
    EXPECT_EQ(block(kernel, P::linearFrequency, 64), std::vector<float>(64, 9000.0f));
    EXPECT_EQ(block(kernel, P::choice, 64), std::vector<float>(64, 20.0f));
    EXPECT_EQ(kernel.lastUpdateIndex, P::unramped);
    EXPECT_EQ(kernel.lastUpdateValue, 1.0f);

    kernel.setParameter(P::gain, 6.0f);
    kernel.process(2000, 0, 0);
    kernel.init(2, 48000.0);
    EXPECT_EQ(kernel.rampLength, 959u);
    kernel.process(64, 0, 0);
    EXPECT_EQ(block(kernel, P::gain, 64), std::vector<float>(64, 6.0f));
}

TEST(DSPKernel, ValuesSetBeforeTheFirstInitAreKept)
{
    // A host may restore its state before the first preparation.
    TestKernel kernel;
    kernel.setDefaults();
    kernel.setParameter(P::gain, -12.0f);
    kernel.init(2, 44100.0);
    kernel.process(32, 0, 0);
    EXPECT_EQ(block(kernel, P::gain, 32), std::vector<float>(32, -12.0f));
    EXPECT_EQ(block(kernel, P::linearFrequency, 32), std::vector<float>(32, 9000.0f));
    EXPECT_EQ(kernel.getParameter(P::gain), -12.0f);
}

TEST(DSPKernel, ChangeBetweenBlocksRampsOverTheRampLength)
{
    Prepared prepared;
    TestKernel& kernel = prepared.kernel;
    kernel.process(64, 0, 0);
    kernel.setParameter(P::gain, 8.81f);
    EXPECT_EQ(kernel.getParameter(P::gain), 8.81f);

    std::vector<float> values;
    for (int b = 0; b < 15; ++b)
    {
        kernel.process(64, 0, 0);
        const auto part = block(kernel, P::gain, 64);
        values.insert(values.end(), part.begin(), part.end());
    }
    for (std::size_t i = 0; i < values.size(); ++i)
    {
        const double expected = i >= 881 ? 8.81 : 8.81 * static_cast<double>(i) / 881.0;
        EXPECT_NEAR(values[i], expected, 1e-4) << i;
    }
    EXPECT_EQ(values.back(), 8.81f);
}

TEST(DSPKernel, ShortRequestsTakeAtLeastTheRampLength)
{
    Prepared prepared;
    TestKernel& kernel = prepared.kernel;
    kernel.process(64, 0, 0);
    kernel.startRamp(P::gain, 10.0f, 0);
    kernel.process(64, 0, 0);
    EXPECT_NEAR(block(kernel, P::gain, 64)[1], 10.0 / 881.0, 1e-6);
    kernel.startRamp(P::gain, 0.0f, 2000);  // longer ramps stay longer
    kernel.process(64, 0, 0);
    const auto values = block(kernel, P::gain, 64);
    EXPECT_NEAR(values[1] - values[0], -(values[0] / 2000.0), 1e-6);
}

TEST(DSPKernel, FrequenciesRampInTheNoteDomainWithinTheirRange)
{
    Prepared prepared;
    TestKernel& kernel = prepared.kernel;
    struct Case { float value; double target; };
    for (Case c : {Case{1000.0f, 1000.0}, Case{10.0f, 20.0}, Case{0.0f, 20.0}, Case{-50.0f, 20.0}, Case{1e9f, 20000.0}})
    {
        kernel.startRamp(P::frequency, c.value, 0);
        kernel.process(1024, 0, 0);
        EXPECT_NEAR(block(kernel, P::frequency, 1024).back(), note(c.target), 2e-4) << c.value;
    }
    kernel.setParameter(P::frequency, 400.0f);
    EXPECT_NEAR(kernel.getParameter(P::frequency), 400.0f, 400.0f * 1e-5);

    // With the linear flag the value stays in hertz, clamped to the range.
    kernel.setParameter(P::linearFrequency, 50000.0f);
    kernel.process(1024, 0, 0);
    EXPECT_EQ(block(kernel, P::linearFrequency, 1024).back(), 18000.0f);
    EXPECT_EQ(kernel.getParameter(P::linearFrequency), 18000.0f);
}

TEST(DSPKernel, ValueListsAndSteppedValuesAreClamped)
{
    Prepared prepared;
    TestKernel& kernel = prepared.kernel;
    struct Case { float value; float entry; float current; };
    for (Case c : {Case{7.6f, 40.0f, 3.0f}, Case{-2.0f, 10.0f, 0.0f}, Case{1.5f, 30.0f, 1.5f}, Case{2.4f, 30.0f, 2.4f}})
    {
        kernel.setParameter(P::choice, c.value);
        kernel.process(1024, 0, 0);
        EXPECT_EQ(block(kernel, P::choice, 1024).back(), c.entry) << c.value;
        EXPECT_EQ(kernel.getParameter(P::choice), c.current) << c.value;
    }
    // A list shorter than the range never reads past its end.
    (*kernel.parameterList)[P::choice]->valueList.resize(2);
    kernel.setParameter(P::choice, 3.0f);
    kernel.process(1024, 0, 0);
    EXPECT_EQ(block(kernel, P::choice, 1024).back(), 20.0f);

    kernel.setParameter(P::stepped, 2.5f);
    kernel.process(1024, 0, 0);
    EXPECT_EQ(block(kernel, P::stepped, 1024).back(), 3.0f);
    kernel.setParameter(P::stepped, -9.0f);
    kernel.process(1024, 0, 0);
    EXPECT_EQ(block(kernel, P::stepped, 1024).back(), -4.0f);
}

TEST(DSPKernel, UnrampedChangesGoStraightToUpdateParameter)
{
    Prepared prepared;
    TestKernel& kernel = prepared.kernel;
    kernel.setParameter(P::unramped, 5.0f);
    EXPECT_EQ(kernel.lastUpdateIndex, P::unramped);
    EXPECT_EQ(kernel.lastUpdateValue, 5.0f);  // as passed
    EXPECT_EQ(kernel.getParameter(P::unramped), 2.0f);  // clamped
}

TEST(DSPKernel, IgnoresNonFiniteValuesAndRejectsBadIndices)
{
    Prepared prepared;
    TestKernel& kernel = prepared.kernel;
    const int updates = kernel.updates;
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()})
        for (unsigned long i = 0; i < P::meter; ++i)
            kernel.setParameter(i, bad);
    EXPECT_EQ(kernel.updates, updates);
    kernel.process(1024, 0, 0);
    EXPECT_EQ(block(kernel, P::gain, 1024).back(), 0.0f);
    EXPECT_EQ(kernel.getParameter(P::linearFrequency), 9000.0f);

    EXPECT_THROW(kernel.setParameter(P::count, 1.0f), std::out_of_range);
    EXPECT_THROW(kernel.getParameter(P::count), std::out_of_range);
}

TEST(DSPKernel, PublishesOutputValuesOnlyAfterInit)
{
    TestKernel kernel;
    EXPECT_EQ(kernel.getOutputValues(P::meter), nullptr);
    kernel.setOutputValue(P::meter, 1.0f);  // nothing to write to yet: ignored
    kernel.init(2, 44100.0);
    std::atomic<float>* values = kernel.getOutputValues(P::meter);
    ASSERT_NE(values, nullptr);
    EXPECT_EQ(values[0], 0.0f);
    kernel.setOutputValue(P::meter, 42.0f);
    kernel.setOutputValue(P::meter, 7.0f, 1);
    kernel.setOutputValue(P::meter, 9.0f, 2);
    EXPECT_EQ(values[0], 42.0f);
    EXPECT_EQ(values[1], 7.0f);
    EXPECT_EQ(kernel.getOutputValues(P::gain), nullptr);
    kernel.init(2, 96000.0);
    EXPECT_EQ(kernel.getOutputValues(P::meter), values);  // made once
}

TEST(DSPKernel, OversizedBlocksAreClampedToTheBuffers)
{
    Prepared prepared;
    TestKernel& kernel = prepared.kernel;
    kernel.setParameter(P::gain, 12.0f);
    kernel.process(100000, 0, 0);
    EXPECT_EQ(block(kernel, P::gain, DSPKernel::maxFrames).back(), 12.0f);
}

TEST(FilterDSPKernel, SetBuffersCopiesTheBusLists)
{
    TestKernel kernel;
    BufferList in, out;
    std::vector<BufferList*> inputs{&in}, outputs{&out, &in};
    kernel.setBuffers(inputs, outputs);
    const auto* storage = kernel.inputs.data();
    kernel.setBuffers(inputs, outputs);
    EXPECT_EQ(kernel.inputs.data(), storage);  // no reallocation per block
    EXPECT_EQ(kernel.inputs, inputs);
    EXPECT_EQ(kernel.outputs, outputs);
    kernel.setBuffers(kernel.inputs, kernel.outputs);
    EXPECT_EQ(kernel.outputs, outputs);
}
