#include "DelayLineDamped.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace
{
    // |in + mix (lowpass(in) - in)| at frequency f, the low-pass from the
    // bilinear transform with K = tan(pi fc / fs) and Q = 10^(-3/20).
    double dampingMagnitude(double f, double cutoff, double rate, double mix)
    {
        const double k = std::tan(M_PI * cutoff / rate);
        const double q = std::pow(10.0, -3.0 / 20.0);
        const double norm = 1.0 / (1.0 + k / q + k * k);
        const double b0 = k * k * norm;
        const double a1 = 2 * (k * k - 1) * norm, a2 = (1 - k / q + k * k) * norm;
        const std::complex<double> z1 = std::polar(1.0, -2 * M_PI * f / rate);
        const std::complex<double> h = b0 * (1.0 + z1) * (1.0 + z1) / (1.0 + a1 * z1 + a2 * z1 * z1);
        return std::abs(1.0 + mix * (h - 1.0));
    }

    // Steady-state amplitude (from the RMS) of a sine through the hook, 64 frames per call.
    double measure(double f, double rate, float cutoff, float mix)
    {
        DelayLineDamped line(400.0f);
        line.init(1, rate);
        std::fill(line.getCutoffBuffer(), line.getCutoffBuffer() + 64, cutoff);
        std::fill(line.getMixBuffer(), line.getMixBuffer() + 64, mix);
        double sum = 0.0;
        int count = 0;
        std::vector<float> x(64);
        const int slices = int(rate / 64);
        for (int k = 0; k < slices; ++k)
        {
            for (int j = 0; j < 64; ++j)
                x[j] = float(std::sin(2 * M_PI * f * (k * 64 + j) / rate));
            line.preFeedbackProcess(x.data(), 64, 0);
            for (int j = 0; k > slices / 2 && j < 64; ++j, ++count)
                sum += double(x[j]) * x[j];
        }
        return std::sqrt(2.0 * sum / count);
    }
}

TEST(DelayLineDamped, BlendsTheLowPassByTheMix)
{
    for (double f : {100.0, 2000.0, 8000.0, 16000.0})
        for (float mix : {0.0f, 0.7f, 1.0f})
            EXPECT_NEAR(measure(f, 48000.0, 3000.0f, mix), dampingMagnitude(f, 3000.0, 48000.0, mix), 2e-3)
                << f << " Hz, mix " << mix;
    // 18 kHz of damping lies above Nyquist at 22.05 kHz and near it at 32 kHz.
    for (double rate : {22050.0, 32000.0})
        EXPECT_LT(measure(5000.0, rate, 18000.0f, 1.0f), 1.5) << rate;
}

// The four lines damped side by side give the single-line hook's values bit
// for bit: different cutoffs and mixes per line, odd lengths (lane tails),
// a cutoff change mid-run, and values that the hook's state clearing catches.
TEST(DelayLineDamped, FourLinesSideBySideEqualOneAtATimeExactly)
{
    std::vector<std::unique_ptr<DelayLineDamped>> single, lanes;
    for (int k = 0; k < 8; ++k)
    {
        (k < 4 ? single : lanes).push_back(std::make_unique<DelayLineDamped>(400.0f));
        (k < 4 ? single : lanes).back()->init(1, 44100.0);
    }
    DelayLineDamped* laneLines[4] = {lanes[0].get(), lanes[1].get(), lanes[2].get(), lanes[3].get()};
    std::uint32_t seed = 12345;
    auto noise = [&seed] { seed = seed * 1664525u + 1013904223u; return float(int(seed >> 8) - (1 << 23)) / float(1 << 23); };

    for (unsigned long frames : {64ul, 1ul, 7ul, 33ul, 64ul, 4ul, 0ul, 64ul})
    {
        std::vector<std::vector<float>> a(4, std::vector<float>(64)), b(4);
        float* buffers[4];
        for (int k = 0; k < 4; ++k)
        {
            for (float& v : a[k])
                v = noise() * (frames == 7 ? 1e-17f : 1.0f);
            b[k] = a[k];
            buffers[k] = b[k].data();
            const float cutoff = 500.0f + 3000.0f * float(k) + float(frames) * 10.0f;
            for (DelayLineDamped* line : {single[k].get(), lanes[k].get()})
            {
                std::fill(line->getCutoffBuffer(), line->getCutoffBuffer() + 64, cutoff);
                std::fill(line->getMixBuffer(), line->getMixBuffer() + 64, 0.25f * float(k + 1));
            }
            single[k]->preFeedbackProcess(a[k].data(), frames, 0);
        }
        DelayLineDamped::preFeedbackProcess4(laneLines, buffers, frames);
        for (int k = 0; k < 4; ++k)
            for (int j = 0; j < 64; ++j)
                ASSERT_EQ(std::memcmp(&a[k][j], &b[k][j], sizeof(float)), 0)
                    << "line " << k << ", frame " << j << ", " << frames << " frames";
    }
}
