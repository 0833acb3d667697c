#include "DelayLineDamped.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
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
