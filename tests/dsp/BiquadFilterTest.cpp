#include "Common/ProcessBlock/Filters/BiquadFilter.h"

#include "dsp/TestSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

using namespace TestSignals;

namespace
{
    std::vector<float> filtered(BiquadFilter& filter, std::vector<float> signal, BiquadFilterParameters p)
    {
        filter.process(signal.data(), signal.size(), 0, p);
        return signal;
    }
}

TEST(BiquadFilter, CascadeFollowsTheAnalogPrototypeThroughTheBilinearTransform)
{
    for (bool highPass : {false, true})
        for (double f : {200.0, 1000.0, 6000.0})
        {
            BiquadFilter filter(highPass ? BiquadFilterType::highPass : BiquadFilterType::lowPass, 2);
            filter.init(1, 48000);
            const auto out = filtered(filter, sine(f / 48000, 24000), {1000.0f, nullptr, -3.0f});
            // 1 / (s^2 + s/Q + 1), or s^2 / ..., with s from z and K = tan(pi fc / fs); two sections.
            const double K = std::tan(M_PI * 1000 / 48000), Q = std::pow(10.0, -3.0 / 20);
            const std::complex<double> z = std::polar(1.0, 2.0 * M_PI * f / 48000), s = (z - 1.0) / (z + 1.0) / K;
            const double expected = std::pow(std::abs((highPass ? s * s : 1.0) / (s * s + s / Q + 1.0)), 2);
            double sum = 0.0;
            for (std::size_t i = 12000; i < out.size(); ++i)
                sum += double(out[i]) * out[i];
            EXPECT_NEAR(std::sqrt(sum / 6000.0), expected, 1e-3 + 0.005 * expected) << highPass << " " << f;
        }
}

TEST(BiquadFilter, OutputDoesNotDependOnHowTheBlockIsCutAndBuffersAreFollowedEverySlice)
{
    const BiquadFilterParameters shelf{3000.0f, nullptr, 6.0f, nullptr, 0.0f, nullptr};
    BiquadFilter whole(BiquadFilterType::lowShelf, 3), pieces(BiquadFilterType::lowShelf, 3), stepped,
        followed(BiquadFilterType::highPass);
    for (BiquadFilter* filter : {&whole, &pieces, &stepped, &followed})
        filter->init(1, 44100);
    auto actual = noise(10000);
    const auto expected = filtered(whole, actual, shelf);
    std::size_t offset = 0;
    for (std::size_t length : {1u, 7u, 64u, 100u, 4096u, 5000u, 732u})
        pieces.process(actual.data() + offset, length, 0, shelf), offset += length;
    EXPECT_EQ(actual, expected);

    std::vector<float> frequencies(256), qs(256, 0.0f), input = noise(256);
    for (std::size_t i = 0; i < frequencies.size(); ++i)
        frequencies[i] = 500.0f + 20.0f * float(i);
    filtered(followed, input, {500.0f});
    followed.setType(BiquadFilterType::lowPass);  // a new shape starts from silence
    const auto actualFollowed = filtered(followed, input, {0.0f, frequencies.data(), 0.0f, qs.data()});
    for (std::size_t start = 0; start < 256; start += 64)
        stepped.processFilter(input.data() + start, 64, 0, frequencies[start], 0.0f, 0.0f);
    EXPECT_EQ(actualFollowed, input);
}

TEST(BiquadFilter, NewRateRecomputesAndFrequenciesAreHeldBelowNyquist)
{
    auto expected = [](float frequency, float rate) {
        BiquadCoefficients c;
        c.sampleRate = rate;
        c.calculateParams(frequency, 0.0f, 0.0f, BiquadFilterType::lowPass);
        return c;
    };
    BiquadFilter filter(BiquadFilterType::lowPass, 1);
    filter.init(2, 44100);
    std::vector<float> buffer(64, 0.0f);
    filter.processFilter(buffer.data(), 64, 0, 1000.0f, 0.0f, 0.0f);
    filter.init(2, 96000);  // same settings, new rate: the cached coefficients are stale
    filter.processFilter(buffer.data(), 64, 1, 1000.0f, 0.0f, 0.0f);
    EXPECT_EQ(filter.getCoefficients().a1, expected(1000.0f, 96000.0f).a1);

    // 20 kHz at 32 kHz is held at 0.49 of the rate; from 44.1 kHz up it is used as it is.
    for (float rate : {32000.0f, 44100.0f})
    {
        BiquadFilter lowPass(BiquadFilterType::lowPass, 2);
        lowPass.init(1, rate);
        EXPECT_LT(largest(filtered(lowPass, noise(32000), {20000.0f})), 20.0);
        EXPECT_EQ(lowPass.getCoefficients().a1, expected(std::min(20000.0f, 0.49f * rate), rate).a1) << rate;
        EXPECT_EQ(lowPass.getCoefficients().b0, expected(std::min(20000.0f, 0.49f * rate), rate).b0) << rate;
    }
}
