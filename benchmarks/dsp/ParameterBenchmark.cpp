#include "Common/Parameters/ParameterList.h"
#include "Common/Parameters/ParameterRamper.h"

#include <benchmark/benchmark.h>

namespace
{
    // Eighteen ramped parameters, as many as the reverb has.
    class BenchmarkList : public ParameterList
    {
    public:
        BenchmarkList() : ParameterList(18)
        {
            for (Parameter* p : *this)
                p->ramper = new ParameterRamper();
        }
        std::vector<unsigned long> getFavourites() override { return {}; }
    };

    // One block's parameter work; every ramper restarts a ramp each block when ramping.
    void parameterBlock(benchmark::State& state, bool ramping)
    {
        BenchmarkList list;
        ParameterBufferList buffers;
        const auto frames = static_cast<unsigned long>(state.range(0));
        float target = 1.0f;
        for (auto _ : state)
        {
            if (ramping)
                for (Parameter* p : list)
                    p->ramper->requestRamp(target, 881, false);
            list.prepareParameters(881);
            list.checkOutBuffers(frames, &buffers);
            benchmark::DoNotOptimize(buffers[17]);
            target = -target;
        }
    }
}

static void BM_ParameterBlockIdle(benchmark::State& state) { parameterBlock(state, false); }
static void BM_ParameterBlockRamping(benchmark::State& state) { parameterBlock(state, true); }
BENCHMARK(BM_ParameterBlockIdle)->Arg(64)->Arg(512);
BENCHMARK(BM_ParameterBlockRamping)->Arg(64)->Arg(512);
