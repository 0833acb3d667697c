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

    // Every stride-th sample, then the energy of every window, channel after channel.
    std::pair<std::vector<float>, std::vector<double>> summary(const Signal& out)
    {
        std::pair<std::vector<float>, std::vector<double>> s;
        for (const auto& channel : out)
            for (unsigned long i = 0; i < frames; i += stride)
                s.first.push_back(channel[i]);
        for (const auto& channel : out)
            for (unsigned long start = 0; start < frames; start += window)
            {
                double sum = 0.0;
                for (unsigned long i = start; i < start + window; ++i)
                    sum += double(channel[i]) * channel[i];
                s.second.push_back(sum);
            }
        return s;
    }

    void record(std::FILE* file, const char* name, const Signal& out)
    {
        const auto s = summary(out);
        std::fprintf(file, "const float %sSamples[] = {\n", name);
        for (std::size_t i = 0; i < s.first.size(); ++i)
            std::fprintf(file, "%.9gf,%s", s.first[i], i % 8 == 7 ? "\n" : " ");
        std::fprintf(file, "};\nconst double %sEnergy[] = {\n", name);
        for (std::size_t i = 0; i < s.second.size(); ++i)
            std::fprintf(file, "%.17g,%s", s.second[i], i % 4 == 3 ? "\n" : " ");
        std::fprintf(file, "};\n");
    }

    void compare(const Signal& out, const Recording& golden)
    {
        const auto s = summary(out);
        for (std::size_t i = 0; i < s.first.size(); ++i)
            ASSERT_NEAR(s.first[i], golden.samples[i], 1e-5f * (1.0f + std::fabs(golden.samples[i]))) << "sample " << i * stride;
        for (std::size_t i = 0; i < s.second.size(); ++i)
            ASSERT_NEAR(s.second[i], golden.energy[i], 1e-5 * (1.0 + golden.energy[i])) << "window " << i;
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
