#include "Common/ProcessBlock/Filters/BiquadFilter.h"

#include "dsp/TestSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

using namespace TestSignals;

namespace
{
    // Magnitude of the analog prototype 1 / (s^2 + s/Q + 1) (or s^2 / ... for the
    // high-pass) seen through the bilinear transform with K = tan(pi fc / fs).
    double sectionMagnitude(double f, double cutoff, double fs, bool highPass)
    {
        const double K = std::tan(M_PI * cutoff / fs), Q = std::pow(10.0, -3.0 / 20);
        const std::complex<double> z = std::polar(1.0, 2.0 * M_PI * f / fs), s = (z - 1.0) / (z + 1.0) / K;
        return std::abs((highPass ? s * s : 1.0) / (s * s + s / Q + 1.0));
    }

    // Amplitude of a steady sine from its RMS over whole cycles.
    double amplitude(const std::vector<float>& v, std::size_t start)
    {
        double sum = 0.0;
        for (std::size_t i = start; i < v.size(); ++i)
            sum += double(v[i]) * v[i];
        return std::sqrt(2.0 * sum / double(v.size() - start));
    }

    std::vector<float> filtered(BiquadFilter& filter, std::vector<float> signal, BiquadFilterParameters p)
    {
        filter.process(signal.data(), signal.size(), 0, p);
        return signal;
    }
}

TEST(BiquadFilter, CascadeFollowsTheSectionMagnitudeResponse)
{
    for (bool highPass : {false, true})
        for (double f : {200.0, 1000.0, 2000.0, 6000.0})
        {
            BiquadFilter filter(highPass ? BiquadFilterType::highPass : BiquadFilterType::lowPass, 2);
            filter.init(1, 48000);
            const auto out = filtered(filter, sine(f / 48000, 24000), {1000.0f, nullptr, -3.0f});
            const double expected = std::pow(sectionMagnitude(f, 1000, 48000, highPass), 2);
            EXPECT_NEAR(amplitude(out, 12000), expected, 1e-3 + 0.005 * expected) << highPass << " " << f;
        }
}

TEST(BiquadFilter, OutputDoesNotDependOnHowTheBlockIsCut)
{
    const auto input = noise(10000);
    const BiquadFilterParameters settings{3000.0f, nullptr, 6.0f, nullptr, 0.0f, nullptr};
    BiquadFilter whole(BiquadFilterType::lowShelf, 3), pieces(BiquadFilterType::lowShelf, 3);
    whole.init(1, 44100);
    pieces.init(1, 44100);
    const auto expected = filtered(whole, input, settings);

    auto actual = input;
    std::size_t offset = 0;
    for (std::size_t length : {1u, 7u, 64u, 100u, 4096u, 5000u, 732u})
    {
        pieces.process(actual.data() + offset, length, 0, settings);
        offset += length;
    }
    EXPECT_EQ(actual, expected);
}

TEST(BiquadFilter, FrequencyAndQBuffersAreFollowedEverySlice)
{
    std::vector<float> frequencies(256), qs(256, 0.0f);
    for (std::size_t i = 0; i < frequencies.size(); ++i)
        frequencies[i] = 500.0f + 20.0f * float(i);
    const auto input = noise(256);

    BiquadFilter followed, stepped;
    followed.init(1, 44100);
    stepped.init(1, 44100);
    const auto actual = filtered(followed, input, {0.0f, frequencies.data(), 0.0f, qs.data()});
    auto expected = input;
    for (std::size_t offset = 0; offset < 256; offset += 64)
        stepped.processFilter(expected.data() + offset, 64, 0, frequencies[offset], 0.0f, 0.0f);
    EXPECT_EQ(actual, expected);
}

TEST(BiquadFilter, NewSampleRateRecomputesCoefficients)
{
    BiquadFilter filter(BiquadFilterType::highPass, 1);
    filter.init(2, 44100);
    std::vector<float> buffer(64, 0.0f);
    filter.processFilter(buffer.data(), 64, 0, 1000.0f, 0.0f, 0.0f);
    filter.init(2, 96000);
    filter.processFilter(buffer.data(), 64, 1, 1000.0f, 0.0f, 0.0f);

    BiquadCoefficients expected;
    expected.sampleRate = 96000.0f;
    expected.calculateParams(1000.0f, 0.0f, 0.0f, BiquadFilterType::highPass);
    EXPECT_EQ(filter.getCoefficients().a1, expected.a1);
    EXPECT_EQ(filter.getCoefficients().b0, expected.b0);
}

TEST(BiquadFilter, FrequenciesNearNyquistStayStable)
{
    for (auto type : {BiquadFilterType::highPass, BiquadFilterType::lowPass, BiquadFilterType::peak})
        for (float frequency : {18000.0f, 20000.0f})
        {
            BiquadFilter filter(type, 2);
            filter.init(1, 32000);
            const auto out = filtered(filter, noise(32000), {frequency, nullptr, 3.0f, nullptr, 6.0f});
            EXPECT_LT(largest(out), 20.0) << static_cast<int>(type) << " at " << frequency;  // non-finite fails too
        }

    // From 44.1 kHz up a 20 kHz setting is used as it is.
    BiquadFilter filter(BiquadFilterType::lowPass, 1);
    filter.init(1, 44100);
    filtered(filter, std::vector<float>(16), {20000.0f});
    BiquadCoefficients expected;
    expected.calculateParams(20000.0f, 0.0f, 0.0f, BiquadFilterType::lowPass);
    EXPECT_EQ(filter.getCoefficients().a1, expected.a1);
}

TEST(BiquadFilter, ChangingTheShapeClearsTheHistory)
{
    BiquadFilter filter(BiquadFilterType::lowPass, 1);
    filter.init(1, 44100);
    std::vector<float> impulse(64, 0.0f);
    impulse[0] = 1.0f;
    filtered(filter, impulse, {500.0f});

    filter.setType(BiquadFilterType::lowPass);
    EXPECT_GT(largest(filtered(filter, std::vector<float>(64), {500.0f})), 1e-4);  // the tail rings on
    filter.setType(BiquadFilterType::highPass);
    EXPECT_EQ(largest(filtered(filter, std::vector<float>(64), {500.0f})), 0.0);
}
