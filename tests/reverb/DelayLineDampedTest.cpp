#include "DelayLineDamped.h"

#include "dsp/TestSignals.h"

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

    // Steady-state amplitude (from the RMS of the second half second) of a sine
    // through the hook, 64 frames per call.
    double measure(double f, double rate, float cutoff, float mix)
    {
        DelayLineDamped line(400.0f);
        line.init(1, rate);
        std::fill(line.getCutoffBuffer(), line.getCutoffBuffer() + 64, cutoff);
        std::fill(line.getMixBuffer(), line.getMixBuffer() + 64, mix);
        auto x = TestSignals::sine(f / rate, static_cast<std::size_t>(rate / 64) * 64);
        for (std::size_t o = 0; o < x.size(); o += 64)
            line.preFeedbackProcess(x.data() + o, 64, 0);
        double sum = 0.0;
        for (std::size_t i = x.size() / 2; i < x.size(); ++i)
            sum += double(x[i]) * x[i];
        return std::sqrt(4.0 * sum / double(x.size()));
    }
}

TEST(DelayLineDamped, BlendsTheLowPassByTheMix)
{
    for (double f : {100.0, 2000.0, 8000.0, 16000.0})
        for (float mix : {0.0f, 0.7f, 1.0f})
            EXPECT_NEAR(measure(f, 48000.0, 3000.0f, mix), dampingMagnitude(f, 3000.0, 48000.0, mix), 2e-3)
                << f << " Hz, mix " << mix;
}
