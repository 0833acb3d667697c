#include "Common/ProcessBlock/Filters/BiquadFilter.h"
#include "Common/ProcessBlock/FrequencyShifter/FrequencyShifter.h"
#include "Common/ProcessBlock/Oscillators/Lfo.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace
{
    constexpr unsigned long slice = 64;

    std::vector<float> signal(std::size_t n)
    {
        std::vector<float> v(n);
        for (std::size_t i = 0; i < n; ++i)
            v[i] = static_cast<float>(std::sin(0.01 * double(i)));
        return v;
    }
}

// A stereo slice through a two-stage filter with fixed settings: no coefficient work.
static void BM_BiquadFilterStereoSlice(benchmark::State& state)
{
    BiquadFilter filter(BiquadFilterType::lowShelf, 2);
    filter.init(2, 48000);
    auto left = signal(slice), right = signal(slice);
    const BiquadFilterParameters settings{800.0f, nullptr, 6.0f, nullptr, 0.0f, nullptr};
    for (auto _ : state)
    {
        filter.process(left.data(), slice, 0, settings);
        filter.process(right.data(), slice, 1, settings);
        benchmark::DoNotOptimize(left.data());
        benchmark::DoNotOptimize(right.data());
    }
}
BENCHMARK(BM_BiquadFilterStereoSlice);

// A moving cutoff: the coefficients are recomputed on every slice.
static void BM_BiquadFilterSweepingSlice(benchmark::State& state)
{
    BiquadFilter filter(BiquadFilterType::lowPass, 1);
    filter.init(1, 48000);
    auto buffer = signal(slice);
    std::vector<float> q(slice, -3.0f), frequency(slice, 1000.0f);
    for (auto _ : state)
    {
        frequency[0] = frequency[0] > 8000.0f ? 1000.0f : frequency[0] * 1.01f;
        filter.process(buffer.data(), slice, 0, frequency.data(), q.data(), nullptr);
        benchmark::DoNotOptimize(buffer.data());
    }
}
BENCHMARK(BM_BiquadFilterSweepingSlice);

// The reverb's use: four sine outputs in quarter-cycle steps per slice.
static void BM_LfoFourOutputsSlice(benchmark::State& state)
{
    Lfo lfo;
    lfo.init(4, 48000);
    std::vector<float> rate(slice, 0.5f), amount(slice, 30.0f);
    std::vector<std::vector<float>> offsets, outputs(4, std::vector<float>(slice));
    for (float o : {0.0f, 0.25f, 0.5f, 0.75f})
        offsets.emplace_back(slice, o);
    for (auto _ : state)
    {
        for (unsigned long i = 0; i < 4; ++i)
            lfo.process(outputs[i].data(), slice, i,
                        Lfo::LfoParameters{rate.data(), nullptr, offsets[i].data(), amount.data()});
        benchmark::DoNotOptimize(outputs[3].data());
    }
}
BENCHMARK(BM_LfoFourOutputsSlice);

// Both all-pass paths on four lines for one slice.
static void BM_FrequencyShifterPathsSlice(benchmark::State& state)
{
    FrequencyShifter shifter;
    shifter.coefficients[FrequencyShifter::pathAStage1] = {0.02569f, -0.260502f, -0.260502f, 0.02568f, 1.0f};
    shifter.coefficients[FrequencyShifter::pathAStage2] = {-1.8685f, 0.870686f, 0.870686f, -1.8685f, 1.0f};
    shifter.coefficients[FrequencyShifter::pathBStage1] = {-1.94632f, 0.94657f, 0.94657f, -1.94632f, 1.0f};
    shifter.coefficients[FrequencyShifter::pathBStage2] = {-0.83774f, 0.06338f, 0.06338f, -0.83774f, 1.0f};
    shifter.init(4, 48000);
    auto a = signal(slice), b = signal(slice);
    for (auto _ : state)
    {
        for (unsigned long line = 0; line < 4; ++line)
        {
            shifter.processPathA(a.data(), slice, line);
            shifter.processPathB(b.data(), slice, line);
        }
        benchmark::DoNotOptimize(a.data());
        benchmark::DoNotOptimize(b.data());
    }
}
BENCHMARK(BM_FrequencyShifterPathsSlice);
