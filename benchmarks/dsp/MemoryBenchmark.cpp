#include "Common/Math/Memory.h"

#include <benchmark/benchmark.h>

#include <vector>

static void BM_MemoryCopy4096(benchmark::State& state)
{
    std::vector<float> from(4096, 1.0f), to(4096);
    for (auto _ : state)
    {
        Memory::copy(from.data(), to.data(), from.size());
        benchmark::DoNotOptimize(to.data());
    }
}
BENCHMARK(BM_MemoryCopy4096);
