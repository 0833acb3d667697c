#include "Common/Math/Accelerate/VectorMaths.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

// Every path this processor can run gives the reference path's results bit
// for bit. The fast test samples every float range densely (the sine's and
// cosine's quadrants and range limits, tanh's three regions, infinities and
// NaN, which make a group of four fall back). The disabled test covers every
// float once; run it after a change to the vector code:
//   build/tests/dsp_tests --gtest_also_run_disabled_tests --gtest_filter='VectorMaths.DISABLED*'
namespace
{
    using Path = VectorMaths::Path;
    using Function = void (*)(const float*, float*, std::size_t);

    std::vector<float> floatsFrom(std::uint64_t first, std::uint64_t count, std::uint64_t stride)
    {
        std::vector<float> values(count);
        for (std::uint64_t i = 0; i < count; ++i)
        {
            const auto bits = static_cast<std::uint32_t>(first + i * stride);
            std::memcpy(&values[i], &bits, sizeof bits);
        }
        return values;
    }

    std::vector<float> resultsOn(Path path, Function function, const std::vector<float>& x)
    {
        VectorMaths::use(path);
        std::vector<float> out(x.size());
        function(x.data(), out.data(), x.size());
        return out;
    }

    void expectEveryPathAgrees(const std::vector<float>& x)
    {
        const Path chosen = VectorMaths::current();
        const std::pair<const char*, Function> functions[] = {
            {"sin", VectorMaths::sin}, {"cos", VectorMaths::cos}, {"tanh", VectorMaths::tanh}};
        for (const auto& [name, f] : functions)
        {
            const std::vector<float> reference = resultsOn(Path::reference, f, x);
            if (!VectorMaths::canRun(Path::avx2Fma))
                continue;
            const std::vector<float> fast = resultsOn(Path::avx2Fma, f, x);
            for (std::size_t i = 0; i < x.size(); ++i)
                ASSERT_EQ(std::memcmp(&fast[i], &reference[i], sizeof(float)), 0)
                    << name << "(" << x[i] << "): " << fast[i] << " instead of " << reference[i];
        }
        VectorMaths::use(chosen);
    }
}

TEST(VectorMaths, EveryPathGivesTheReferenceResults)
{
    // Every 997th bit pattern, from an odd start, so that all four lane positions see every kind of value.
    expectEveryPathAgrees(floatsFrom(12345, (1ull << 32) / 997, 997));
}

TEST(VectorMaths, DISABLED_EveryPathGivesTheReferenceResultsForEveryFloat)
{
    constexpr std::uint64_t chunk = 1 << 24;
    for (std::uint64_t first = 0; first < (1ull << 32); first += chunk)
        expectEveryPathAgrees(floatsFrom(first, chunk, 1));
}
