// The reverb kernel at 48 kHz stereo against JUCE's juce::dsp::Reverb on the same
// input. Each benchmark reports the time per frame and the realtime factor
// (seconds of audio rendered per second of CPU time); the program ends with a
// summary of the kernel's realtime factor and its ratio to JUCE's reverb.
#include "ZorvikReverbDSPKernel.h"
#include "ZorvikReverbParameterList.h"

#include <juce_dsp/juce_dsp.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>
#include <xmmintrin.h>

namespace
{
    using P = ZorvikReverbParameterList;

    constexpr double sampleRate = 48000.0;
    constexpr unsigned long inputFrames = 48000;

    enum Setting { defaults, heavy };

    // One second of stereo noise at about -12 dBFS, looped by every benchmark.
    const std::vector<float>& noise(int channel)
    {
        static const auto signals = [] {
            std::vector<std::vector<float>> s(2, std::vector<float>(inputFrames));
            std::uint32_t seed = 2024;
            for (auto& c : s)
                for (float& x : c)
                {
                    seed = seed * 1664525u + 1013904223u;
                    x = 0.25f * (static_cast<float>(seed >> 8) / 8388608.0f - 1.0f);
                }
            return s;
        }();
        return signals[static_cast<std::size_t>(channel)];
    }

    void applySetting(ZorvikReverbDSPKernel& kernel, Setting setting)
    {
        if (setting != heavy)
            return;
        const std::pair<unsigned long, float> values[] = {
            {P::RoomSize, 100}, {P::ReverbTime, 20}, {P::SizeModulationRate, 8}, {P::SizeModulationAmount, 80},
            {P::FreqShifterFrequency, 30}, {P::FreqShifterDryWet, 60}, {P::DuckingThreshold, -30},
            {P::DuckingAttack, 5}, {P::DuckingRelease, 300}, {P::EffectDryWet, 70}};
        for (const auto& v : values)
            kernel.setParameter(v.first, v.second);
    }

    // The processor runs every block with denormals flushed.
    struct DenormalsOff
    {
        DenormalsOff() : saved(_mm_getcsr()) { _mm_setcsr(saved | 0x8040); }
        ~DenormalsOff() { _mm_setcsr(saved); }
        unsigned int saved;
    };

    void setCounters(benchmark::State& state, unsigned long blockFrames)
    {
        const double frames = static_cast<double>(state.iterations()) * static_cast<double>(blockFrames);
        state.counters["time_per_frame"] = benchmark::Counter(frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
        state.counters["realtime_factor"] = benchmark::Counter(frames / sampleRate, benchmark::Counter::kIsRate);
        state.SetItemsProcessed(static_cast<std::int64_t>(frames));
    }

    void BM_ZorvikReverbKernel(benchmark::State& state, Setting setting)
    {
        const auto blockFrames = static_cast<unsigned long>(state.range(0));
        DenormalsOff denormals;
        ZorvikReverbDSPKernel kernel;
        applySetting(kernel, setting);
        kernel.init(2, sampleRate);
        kernel.setup();
        std::vector<float> io[2] = {std::vector<float>(blockFrames), std::vector<float>(blockFrames)};
        BufferList buffers;
        buffers.channels[0] = io[0].data();
        buffers.channels[1] = io[1].data();
        std::vector<BufferList*> bus{&buffers};
        unsigned long position = 0;
        for (auto _ : state)
        {
            if (position + blockFrames > inputFrames)
                position = 0;
            for (int c = 0; c < 2; ++c)
                std::copy_n(noise(c).begin() + static_cast<long>(position), blockFrames, io[c].begin());
            kernel.setBuffers(bus, bus);
            kernel.process(blockFrames, 0, 0);
            benchmark::DoNotOptimize(io[0].data());
            benchmark::DoNotOptimize(io[1].data());
            position += blockFrames;
        }
        setCounters(state, blockFrames);
    }

    void BM_JuceReverb(benchmark::State& state)
    {
        const auto blockFrames = static_cast<unsigned long>(state.range(0));
        DenormalsOff denormals;
        juce::dsp::Reverb reverb;
        juce::dsp::Reverb::Parameters parameters;
        parameters.roomSize = 0.8f;
        parameters.damping = 0.5f;
        parameters.wetLevel = 0.5f;
        parameters.dryLevel = 0.5f;
        parameters.width = 1.0f;
        reverb.setParameters(parameters);
        reverb.prepare({sampleRate, static_cast<juce::uint32>(blockFrames), 2});
        juce::AudioBuffer<float> io(2, static_cast<int>(blockFrames));
        unsigned long position = 0;
        for (auto _ : state)
        {
            if (position + blockFrames > inputFrames)
                position = 0;
            for (int c = 0; c < 2; ++c)
                std::copy_n(noise(c).begin() + static_cast<long>(position), blockFrames, io.getWritePointer(c));
            juce::dsp::AudioBlock<float> block(io);
            reverb.process(juce::dsp::ProcessContextReplacing<float>(block));
            benchmark::DoNotOptimize(io.getReadPointer(0));
            position += blockFrames;
        }
        setCounters(state, blockFrames);
    }

    // Repeated, so that the summary can take each one's best run on a busy machine.
    constexpr int repetitions = 5;
    BENCHMARK_CAPTURE(BM_ZorvikReverbKernel, default, defaults)->Arg(64)->Arg(512)->Repetitions(repetitions);
    BENCHMARK_CAPTURE(BM_ZorvikReverbKernel, heavy, heavy)->Arg(64)->Arg(512)->Repetitions(repetitions);
    BENCHMARK(BM_JuceReverb)->Arg(64)->Arg(512)->Repetitions(repetitions);

    // Console output as usual, plus the realtime factors kept for the summary.
    class SummaryReporter : public benchmark::ConsoleReporter
    {
    public:
        void ReportRuns(const std::vector<Run>& runs) override
        {
            ConsoleReporter::ReportRuns(runs);
            for (const Run& run : runs)
            {
                const auto found = run.counters.find("realtime_factor");
                if (found != run.counters.end() && run.run_type == Run::RT_Iteration)
                {
                    double& best = factors[run.run_name.function_name + "/" + run.run_name.args];
                    best = std::max(best, found->second.value);
                }
            }
        }

        void printSummary() const
        {
            std::printf("\nRealtime factor at 48 kHz stereo, best of %d runs (higher is faster; target >= 300 at 512 frames):\n",
                        repetitions);
            for (const char* frames : {"64", "512"})
            {
                const double juce = lookup(std::string("BM_JuceReverb/") + frames);
                for (const char* setting : {"default", "heavy"})
                {
                    const double kernel = lookup(std::string("BM_ZorvikReverbKernel/") + setting + "/" + frames);
                    if (kernel > 0.0 && juce > 0.0)
                        std::printf("  %4s frames, %-7s: kernel %8.1fx realtime, JUCE reverb %8.1fx, kernel/JUCE %.3f\n",
                                    frames, setting, kernel, juce, kernel / juce);
                }
            }
        }

    private:
        double lookup(const std::string& name) const
        {
            const auto found = factors.find(name);
            return found == factors.end() ? 0.0 : found->second;
        }

        std::map<std::string, double> factors;
    };
}

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printSummary();
    benchmark::Shutdown();
    return 0;
}
