#include "support/ReverbKernelHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

// The kernel's output for two fixed scenarios was recorded from the plain,
// unoptimised engine. Any speed-up must leave it unchanged within float
// rounding. To record again (only after a deliberate change of the sound):
//   ZORVIK_RECORD_GOLDEN=tests/reverb/ReverbKernelGolden.inc build/tests/engine_tests --gtest_filter='ReverbKernelGolden*'
namespace
{
    using P = ZorvikReverbParameterList;
    using Signal = ReverbKernelHarness::Signal;

    constexpr unsigned long frames = 16384;
    constexpr unsigned long stride = 16;    // every 16th sample is kept
    constexpr unsigned long window = 256;   // and the energy of every 256 frames

    struct Recording
    {
        const float* samples;  // [channel][frame / stride]
        const double* energy;  // [channel][frame / window]
    };

#include "ReverbKernelGolden.inc"

    // Automation as a host sends it, between blocks of changing sizes.
    Signal render(bool heavy)
    {
        ReverbKernelHarness engine(48000.0, 2,
                                   heavy ? std::initializer_list<ReverbKernelHarness::Setting>{
                                               {P::RoomSize, 100}, {P::ReverbTime, 20}, {P::SizeModulationRate, 8},
                                               {P::SizeModulationAmount, 80}, {P::FreqShifterFrequency, 30},
                                               {P::FreqShifterDryWet, 60}, {P::DuckingThreshold, -30},
                                               {P::DuckingAttack, 5}, {P::DuckingRelease, 300}, {P::EffectDryWet, 70},
                                               {P::InputGain, 6}, {P::InputFilterGain, 6}}
                                         : std::initializer_list<ReverbKernelHarness::Setting>{});
        Signal io = makeNoise(2, frames, 0.5f, heavy ? 99 : 7);
        for (unsigned long i = 6000; i < 9000; ++i)
            io[0][i] = io[1][i] = 0.0f;
        const unsigned long sizes[] = {512, 64, 100, 7, 1000, 333};
        unsigned long position = 0;
        for (int block = 0; position < frames; ++block)
        {
            switch (block)
            {
                case 5: engine.kernel.setParameter(P::RoomSize, 20); break;
                case 9: engine.kernel.setParameter(P::ReverbTime, heavy ? 2.0f : 9.0f); break;
                case 14: engine.kernel.setParameter(P::InputFilterType, 1); break;
                case 20: engine.kernel.setParameter(P::FreqShifterFrequency, -70); break;
                case 26: engine.kernel.setParameter(P::Freeze, 1); break;
                case 33: engine.kernel.setParameter(P::Freeze, 0); break;
                case 40: engine.kernel.setParameter(P::EffectDryWet, 35); break;
                case 44: engine.kernel.setParameter(P::HFDamp, 2000); break;
                default: break;
            }
            const unsigned long n = std::min(sizes[block % 6], frames - position);
            engine.processBlock(io, io, position, n);
            position += n;
        }
        return io;
    }

    std::vector<double> energies(const Signal& out)
    {
        std::vector<double> e;
        for (const auto& channel : out)
            for (unsigned long start = 0; start < frames; start += window)
            {
                double sum = 0.0;
                for (unsigned long i = start; i < start + window; ++i)
                    sum += double(channel[i]) * channel[i];
                e.push_back(sum);
            }
        return e;
    }

    void record(std::FILE* file, const char* name, const Signal& out)
    {
        std::fprintf(file, "const float %sSamples[] = {\n", name);
        for (const auto& channel : out)
            for (unsigned long i = 0; i < frames; i += stride)
                std::fprintf(file, "%.9gf,%s", channel[i], (i / stride) % 8 == 7 ? "\n" : " ");
        std::fprintf(file, "};\nconst double %sEnergy[] = {\n", name);
        const std::vector<double> e = energies(out);
        for (std::size_t i = 0; i < e.size(); ++i)
            std::fprintf(file, "%.17g,%s", e[i], i % 4 == 3 ? "\n" : " ");
        std::fprintf(file, "};\n");
    }

    void compare(const Signal& out, const Recording& golden)
    {
        for (int c = 0; c < 2; ++c)
            for (unsigned long i = 0; i < frames; i += stride)
            {
                const float expected = golden.samples[c * (frames / stride) + i / stride];
                ASSERT_NEAR(out[c][i], expected, 1e-5f * (1.0f + std::fabs(expected))) << "channel " << c << " frame " << i;
            }
        const std::vector<double> e = energies(out);
        for (std::size_t i = 0; i < e.size(); ++i)
            ASSERT_NEAR(e[i], golden.energy[i], 1e-5 * (1.0 + golden.energy[i])) << "window " << i;
    }
}

TEST(ReverbKernelGolden, OutputMatchesTheRecording)
{
    const Signal plain = render(false);
    const Signal heavy = render(true);
    if (const char* path = std::getenv("ZORVIK_RECORD_GOLDEN"))
    {
        std::FILE* file = std::fopen(path, "w");
        ASSERT_NE(file, nullptr);
        std::fprintf(file, "// Recorded by ReverbKernelGoldenTest.cpp; see there.\n");
        record(file, "defaults", plain);
        record(file, "heavy", heavy);
        std::fclose(file);
        GTEST_SKIP() << "recorded " << path;
    }
    compare(plain, {defaultsSamples, defaultsEnergy});
    compare(heavy, {heavySamples, heavyEnergy});
}
