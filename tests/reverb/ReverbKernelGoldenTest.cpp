#include "support/ReverbKernelHarness.h"

#include "Common/Math/Accelerate/VectorMaths.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// The kernel's output, bit for bit, for fixed settings, rates and block sizes,
// recorded from the plain engine: any speed-up must leave every sample as it
// was, on every vector-maths path the processor can run. Each case keeps a hash of all output samples and the last frame of both
// channels (to show how far a changed output has drifted). To record again
// (only after a deliberate change of the sound):
//   ZORVIK_RECORD_GOLDEN=tests/reverb/ReverbKernelGolden.inc build/tests/engine_tests --gtest_filter='ReverbKernelGolden*'
namespace
{
    using P = ZorvikReverbParameterList;
    using Signal = ReverbKernelHarness::Signal;
    using Settings = std::initializer_list<ReverbKernelHarness::Setting>;

    constexpr unsigned long frames = 16384;

    struct Recording
    {
        std::uint64_t hash;
        float last[2];
    };

#include "ReverbKernelGolden.inc"

    const Settings heavy{{P::RoomSize, 100}, {P::ReverbTime, 20}, {P::SizeModulationRate, 8},
                         {P::SizeModulationAmount, 80}, {P::FreqShifterFrequency, 30},
                         {P::FreqShifterDryWet, 60}, {P::DuckingThreshold, -30},
                         {P::DuckingAttack, 5}, {P::DuckingRelease, 300}, {P::EffectDryWet, 70},
                         {P::InputGain, 6}, {P::InputFilterGain, 6}};
    const Settings frozen{{P::Freeze, 1}, {P::SizeModulationAmount, 40}};
    const Settings fullShift{{P::RoomSize, 60}, {P::SizeModulationRate, 3}, {P::SizeModulationAmount, 100},
                             {P::FreqShifterFrequency, -45}, {P::FreqShifterDryWet, 100}};
    const Settings settings[] = {{}, heavy, frozen, fullShift};
    const char* const settingNames[] = {"default", "heavy", "frozen", "full shift"};
    const double rates[] = {44100.0, 48000.0, 96000.0};
    const unsigned long blockSizes[] = {1, 64, 100, 512, 4096};

    // FNV-1a over the bits of every sample, channel after channel.
    Recording summary(const Signal& out)
    {
        Recording r{14695981039346656037ull, {out[0].back(), out[1].back()}};
        for (const auto& channel : out)
            for (float sample : channel)
            {
                std::uint32_t bits;
                std::memcpy(&bits, &sample, sizeof bits);
                for (int byte = 0; byte < 4; ++byte)
                    r.hash = (r.hash ^ ((bits >> (8 * byte)) & 0xFFu)) * 1099511628211ull;
            }
        return r;
    }

    // Automation as a host sends it, between blocks of changing sizes.
    Signal renderAutomated(bool isHeavy)
    {
        ReverbKernelHarness engine(48000.0, 2, isHeavy ? heavy : Settings{});
        Signal io = makeNoise(2, frames, 0.5f, isHeavy ? 99 : 7);
        for (unsigned long i = 6000; i < 9000; ++i)
            io[0][i] = io[1][i] = 0.0f;
        const unsigned long sizes[] = {512, 64, 100, 7, 1000, 333};
        unsigned long position = 0;
        for (int block = 0; position < frames; ++block)
        {
            switch (block)
            {
                case 5: engine.kernel.setParameter(P::RoomSize, 20); break;
                case 9: engine.kernel.setParameter(P::ReverbTime, isHeavy ? 2.0f : 9.0f); break;
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

    // Every setting at every rate and block size, in that order, then the two automated runs.
    std::vector<std::pair<std::string, Recording>> renderAll()
    {
        std::vector<std::pair<std::string, Recording>> cases;
        for (std::size_t s = 0; s < std::size(settings); ++s)
            for (double rate : rates)
                for (unsigned long block : blockSizes)
                {
                    // Noise with a gap, so that the tail rings on its own for a while.
                    Signal in = makeNoise(2, frames, 0.5f, static_cast<std::uint32_t>(s + 1));
                    for (unsigned long i = frames / 2; i < frames; ++i)
                        in[0][i] = in[1][i] = 0.0f;
                    ReverbKernelHarness engine(rate, 2, settings[s]);
                    cases.emplace_back(std::string(settingNames[s]) + " at " + std::to_string(int(rate)) + " Hz in blocks of "
                                           + std::to_string(block),
                                       summary(engine.run(in, block)));
                }
        cases.emplace_back("default, automated", summary(renderAutomated(false)));
        cases.emplace_back("heavy, automated", summary(renderAutomated(true)));
        return cases;
    }
}

TEST(ReverbKernelGolden, EverySampleMatchesTheRecording)
{
    const auto cases = renderAll();
    if (const char* path = std::getenv("ZORVIK_RECORD_GOLDEN"))
    {
        std::FILE* file = std::fopen(path, "w");
        ASSERT_NE(file, nullptr);
        std::fprintf(file, "// Recorded by ReverbKernelGoldenTest.cpp; see there.\nconst Recording recordings[] = {\n");
        for (const auto& c : cases)
            std::fprintf(file, "    {0x%016llxull, {%af, %af}}, // %s\n", static_cast<unsigned long long>(c.second.hash),
                         c.second.last[0], c.second.last[1], c.first.c_str());
        std::fprintf(file, "};\n");
        std::fclose(file);
        GTEST_SKIP() << "recorded " << path;
    }
    ASSERT_EQ(cases.size(), std::size(recordings));
    const VectorMaths::Path chosen = VectorMaths::current();
    for (VectorMaths::Path path : {VectorMaths::Path::reference, VectorMaths::Path::avx2Fma})
    {
        if (!VectorMaths::canRun(path))
            continue;
        VectorMaths::use(path);
        const auto out = path == chosen ? cases : renderAll();
        for (std::size_t i = 0; i < out.size(); ++i)
            EXPECT_EQ(out[i].second.hash, recordings[i].hash)
                << "vector path " << int(path) << ", " << out[i].first << ": last frame " << out[i].second.last[0]
                << ", " << out[i].second.last[1] << ", recorded " << recordings[i].last[0] << ", " << recordings[i].last[1];
    }
    VectorMaths::use(chosen);
}
