#pragma once

// A straightforward delay for the tests: it keeps everything ever written and
// reads it by cubic Lagrange interpolation, in double precision.

#include <algorithm>
#include <cmath>
#include <vector>

namespace reference
{
    // Reads at t - 65 - p, p in samples held in [64, longest]: every engine delay
    // sounds 65 samples after the delay asked for, and never sooner than one slice.
    struct Delay
    {
        double sampleRate = 48000.0;
        double longest = 1e9;
        std::vector<double> history;

        double read(double delayMs) const
        {
            const double p = std::clamp(delayMs * 0.001 * sampleRate, 64.0, longest);
            const double tau = static_cast<double>(history.size()) - 65.0 - p;
            // Lagrange nodes ceil(tau) + 1 .. ceil(tau) - 2; samples before the start are 0.
            const double top = std::ceil(tau);
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
            {
                const double n = top + 1 - k;
                double weight = 1.0;
                for (int m = 0; m < 4; ++m)
                    if (m != k)
                        weight *= (tau - (top + 1 - m)) / (m - k);
                if (n >= 0 && n < static_cast<double>(history.size()))
                    sum += weight * history[static_cast<size_t>(n)];
            }
            return sum;
        }
        void write(double value) { history.push_back(value); }
    };
}
