#include "Common/ProcessBlock/Filters/BiquadFilter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <stdexcept>
#include <vector>

namespace
{
    std::vector<float> noise(std::size_t n, unsigned seed = 777)
    {
        std::vector<float> v(n);
        for (auto& x : v)
        {
            seed = seed * 1664525u + 1013904223u;
            x = static_cast<float>(seed >> 8) / float(1u << 24) * 2.0f - 1.0f;
        }
        return v;
    }

    std::vector<float> sine(double f, double fs, std::size_t n)
    {
        std::vector<float> v(n);
        for (std::size_t i = 0; i < n; ++i)
            v[i] = static_cast<float>(std::sin(2.0 * M_PI * f * double(i) / fs));
        return v;
    }

    double peakFrom(const std::vector<float>& v, std::size_t start)
    {
        double peak = 0.0;
        for (std::size_t i = start; i < v.size(); ++i)
            peak = std::max(peak, double(std::fabs(v[i])));
        return peak;
    }

    // Amplitude of a steady sine from its RMS over whole cycles.
    double amplitudeFrom(const std::vector<float>& v, std::size_t start)
    {
        double sum = 0.0;
        for (std::size_t i = start; i < v.size(); ++i)
            sum += double(v[i]) * v[i];
        return std::sqrt(2.0 * sum / double(v.size() - start));
    }

    bool allFinite(const std::vector<float>& v)
    {
        for (float x : v)
            if (!std::isfinite(x))
                return false;
        return true;
    }

    // Analog-prototype magnitude of a Butterworth-like section at 48 kHz, from the
    // bilinear transform written independently of the coefficient routine.
    double sectionMagnitude(double f, double cutoff, double fs, bool highPass)
    {
        const double K = std::tan(M_PI * cutoff / fs), Q = std::pow(10.0, -3.0 / 20);
        const std::complex<double> z = std::polar(1.0, 2.0 * M_PI * f / fs);
        const std::complex<double> s = (z - 1.0) / (z + 1.0) / K;  // normalised analog frequency
        const std::complex<double> denominator = s * s + s / Q + 1.0;
        return std::abs((highPass ? s * s : 1.0) / denominator);
    }
}

TEST(BiquadFilter, CascadeFollowsTheSectionMagnitudeResponse)
{
    for (bool highPass : {false, true})
    {
        for (double f : {200.0, 1000.0, 2000.0, 6000.0})
        {
            BiquadFilter filter(highPass ? BiquadFilterType::highPass : BiquadFilterType::lowPass, 2);
            filter.init(1, 48000);
            auto signal = sine(f, 48000, 24000);
            filter.process(signal.data(), signal.size(), 0, BiquadFilterParameters{1000.0f, nullptr, -3.0f});
            const double expected = std::pow(sectionMagnitude(f, 1000, 48000, highPass), 2);
            EXPECT_NEAR(amplitudeFrom(signal, 12000), expected, 1e-3 + 0.005 * expected)
                << (highPass ? "high-pass " : "low-pass ") << f;
        }
    }
}

TEST(BiquadFilter, OutputDoesNotDependOnHowTheBlockIsCut)
{
    const auto input = noise(10000);
    const BiquadFilterParameters settings{3000.0f, nullptr, 6.0f, nullptr, 0.0f, nullptr};

    BiquadFilter whole(BiquadFilterType::lowShelf, 3);
    whole.init(1, 44100);
    auto expected = input;
    whole.process(expected.data(), expected.size(), 0, settings);

    BiquadFilter pieces(BiquadFilterType::lowShelf, 3);
    pieces.init(1, 44100);
    auto actual = input;
    std::size_t offset = 0;
    for (std::size_t length : {1u, 7u, 64u, 100u, 4096u, 5000u, 732u})
    {
        pieces.process(actual.data() + offset, length, 0, settings);
        offset += length;
    }
    ASSERT_EQ(offset, input.size());
    EXPECT_EQ(actual, expected);
}

TEST(BiquadFilter, ParameterBuffersAreSampledAtTheStartOfEverySlice)
{
    const std::size_t n = 256;
    std::vector<float> frequencies(n), qs(n, 0.0f);
    for (std::size_t i = 0; i < n; ++i)
        frequencies[i] = 500.0f + 20.0f * float(i);
    const auto input = noise(n);

    BiquadFilter followed;
    followed.init(1, 44100);
    auto actual = input;
    followed.process(actual.data(), n, 0, frequencies.data(), qs.data(), nullptr);

    BiquadFilter stepped;
    stepped.init(1, 44100);
    auto expected = input;
    for (std::size_t offset = 0; offset < n; offset += 64)
        stepped.processFilter(expected.data() + offset, 64, 0, frequencies[offset], 0.0f, 0.0f);
    EXPECT_EQ(actual, expected);

    // With only a frequency buffer the whole block uses its first value.
    BiquadFilter once;
    once.init(1, 44100);
    auto single = input;
    once.process(single.data(), n, 0, frequencies.data(), nullptr, nullptr);
    BiquadFilter fixed;
    fixed.init(1, 44100);
    auto reference = input;
    fixed.processFilter(reference.data(), n, 0, frequencies[0], 0.0f, 0.0f);
    EXPECT_EQ(single, reference);
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
    EXPECT_EQ(filter.getCoefficients().a2, expected.a2);
    EXPECT_EQ(filter.getCoefficients().b0, expected.b0);
}

TEST(BiquadFilter, FrequenciesNearNyquistStayStable)
{
    for (auto type : {BiquadFilterType::highPass, BiquadFilterType::lowPass, BiquadFilterType::peak,
                      BiquadFilterType::highShelf})
    {
        for (float frequency : {18000.0f, 20000.0f})
        {
            BiquadFilter filter(type, 2);
            filter.init(1, 32000);
            auto signal = noise(32000);
            filter.process(signal.data(), signal.size(), 0, BiquadFilterParameters{frequency, nullptr, 3.0f, nullptr, 6.0f});
            EXPECT_TRUE(allFinite(signal));
            EXPECT_LT(peakFrom(signal, 0), 20.0) << static_cast<int>(type) << " at " << frequency;
            EXPECT_LT(std::fabs(filter.getCoefficients().a2), 1.0f);
        }
    }

    // From 44.1 kHz up a 20 kHz setting is used as it is.
    BiquadFilter filter(BiquadFilterType::lowPass, 1);
    filter.init(1, 44100);
    std::vector<float> buffer(16, 0.0f);
    filter.processFilter(buffer.data(), buffer.size(), 0, 20000.0f, 0.0f, 0.0f);
    BiquadCoefficients expected;
    expected.calculateParams(20000.0f, 0.0f, 0.0f, BiquadFilterType::lowPass);
    EXPECT_EQ(filter.getCoefficients().b0, expected.b0);
    EXPECT_EQ(filter.getCoefficients().a1, expected.a1);
}

TEST(BiquadFilter, ChangingTheShapeClearsTheHistory)
{
    BiquadFilter filter(BiquadFilterType::lowPass, 1);
    filter.init(1, 44100);
    std::vector<float> impulse(64, 0.0f);
    impulse[0] = 1.0f;
    filter.processFilter(impulse.data(), 64, 0, 500.0f, 0.0f, 0.0f);

    std::vector<float> silence(64, 0.0f);
    filter.setType(BiquadFilterType::lowPass);
    filter.processFilter(silence.data(), 64, 0, 500.0f, 0.0f, 0.0f);
    EXPECT_GT(peakFrom(silence, 0), 1e-4);  // the tail rings on

    silence.assign(64, 0.0f);
    filter.setType(BiquadFilterType::highPass);
    filter.processFilter(silence.data(), 64, 0, 500.0f, 0.0f, 0.0f);
    EXPECT_EQ(peakFrom(silence, 0), 0.0);
}

TEST(BiquadFilter, ChannelsAreIndependentAndBoundsChecked)
{
    BiquadFilter filter(BiquadFilterType::lowPass, 2);
    filter.init(2, 44100);
    std::vector<float> left(64, 0.0f), right(64, 0.0f);
    left[0] = 1.0f;
    filter.processFilter(left.data(), 64, 0, 800.0f, 0.0f, 0.0f);
    filter.processFilter(right.data(), 64, 1, 800.0f, 0.0f, 0.0f);
    EXPECT_EQ(peakFrom(right, 0), 0.0);
    EXPECT_THROW(filter.processFilter(right.data(), 64, 2, 800.0f, 0.0f, 0.0f), std::out_of_range);
}
