#pragma once

// A straightforward delay for the tests: it keeps everything ever written and
// reads it by cubic Lagrange interpolation, in double precision.

#include <algorithm>
#include <cmath>
#include <vector>

namespace reference
{
    // Every engine delay sounds this many samples after the delay asked for.
    constexpr double fixedLatency = 65.0;

    // Cubic Lagrange interpolation of a history at continuous time tau, through
    // the nodes ceil(tau) + 1, ceil(tau), ceil(tau) - 1, ceil(tau) - 2; samples
    // before the start are 0.
    inline double lagrange(const std::vector<double>& x, double tau)
    {
        const double top = std::ceil(tau);
        const double nodes[4] = {top + 1, top, top - 1, top - 2};
        double sum = 0.0;
        for (int k = 0; k < 4; ++k)
        {
            double weight = 1.0;
            for (int m = 0; m < 4; ++m)
                if (m != k)
                    weight *= (tau - nodes[m]) / (nodes[k] - nodes[m]);
            const double n = nodes[k];
            const double value =
                n >= 0 && n < static_cast<double>(x.size()) ? x[static_cast<size_t>(n)] : 0.0;
            sum += weight * value;
        }
        return sum;
    }

    // Reads at t - 65 - p with p in samples held in [64, longest].
    struct Delay
    {
        double sampleRate = 48000.0;
        double longest = 1e9; // samples
        std::vector<double> history;

        double read(double delayMs) const
        {
            double p = delayMs * 0.001 * sampleRate;
            p = std::min(std::max(p, 64.0), longest);
            return lagrange(history, static_cast<double>(history.size()) - fixedLatency - p);
        }
        void write(double value) { history.push_back(value); }
    };
}
