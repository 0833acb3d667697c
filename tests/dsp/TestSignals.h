#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

// Deterministic test signals shared by the DSP, engine and UI tests.
namespace TestSignals
{
    inline std::vector<float> noise(std::size_t n, unsigned seed = 777)
    {
        std::vector<float> v(n);
        for (auto& x : v)
            x = static_cast<float>((seed = seed * 1664525u + 1013904223u) >> 8) / float(1u << 24) * 2.0f - 1.0f;
        return v;
    }

    inline std::vector<float> sine(double cyclesPerSample, std::size_t n)
    {
        std::vector<float> v(n);
        for (std::size_t i = 0; i < n; ++i)
            v[i] = static_cast<float>(std::sin(2.0 * M_PI * cyclesPerSample * double(i)));
        return v;
    }

    // Largest magnitude; infinity when any value is not finite.
    inline double largest(const std::vector<float>& v)
    {
        double peak = 0.0;
        for (float x : v)
            peak = std::isfinite(x) ? std::max(peak, double(std::fabs(x))) : INFINITY;
        return peak;
    }
}
