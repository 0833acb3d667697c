#include "Common/Math/Accelerate/SignalProcessing.h"
#include "Common/ProcessBlock/Mix/Gain.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace
{
    std::vector<float> signal(std::size_t n)
    {
        std::vector<float> v(n);
        for (std::size_t i = 0; i < n; ++i)
            v[i] = static_cast<float>(std::sin(0.01 * double(i)));
        return v;
    }
}

static void BM_Biquad512(benchmark::State& state)
{
    const float coefficients[5] = {0.0046f, 0.0092f, 0.0046f, -1.7990f, 0.8175f};
    auto buffer = signal(512);
    BiquadState* section = SignalProcessing::biquad_createState();
    for (auto _ : state)
    {
        SignalProcessing::biquad(buffer.data(), coefficients, buffer.data(), buffer.size(), section);
        section->clearBadStateValue();
        benchmark::DoNotOptimize(buffer.data());
    }
    SignalProcessing::biquad_destroyState(section);
}
BENCHMARK(BM_Biquad512);

static void BM_MulAdd512(benchmark::State& state)
{
    auto a = signal(512), b = signal(512), out = signal(512);
    for (auto _ : state)
    {
        SignalProcessing::mul_add(a.data(), b.data(), out.data(), out.data(), out.size());
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_MulAdd512);

static void BM_GainBuffer512(benchmark::State& state)
{
    auto buffer = signal(512);
    std::vector<float> dB(512, -0.0001f);
    Gain gain;
    for (auto _ : state)
    {
        gain.process(buffer.data(), buffer.size(), dB.data());
        benchmark::DoNotOptimize(buffer.data());
    }
}
BENCHMARK(BM_GainBuffer512);
