#pragma once

#include "ZorvikReverbDSPKernel.h"
#include "ZorvikReverbParameterList.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

// Drives the reverb kernel the way the processor does: parameters set before
// the first init (so that they apply without a ramp), then setup, then blocks.
class ReverbKernelHarness
{
public:
    using Signal = std::vector<std::vector<float>>;  // [channel][frame]
    using Setting = std::pair<unsigned long, float>;

    explicit ReverbKernelHarness(double sampleRate, int hostChannels = 2,
                                 std::initializer_list<Setting> settings = {})
        : hostChannels(hostChannels)
    {
        for (const Setting& s : settings)
            kernel.setParameter(s.first, s.second);
        kernel.init(hostChannels, sampleRate);
        kernel.setup();
    }

    // Processes input in place, as the processor does, in blocks of blockSize
    // frames or of the given sizes in turn.
    Signal run(const Signal& input, std::vector<unsigned long> blockSizes)
    {
        Signal io = input;
        const unsigned long total = io[0].size();
        std::size_t next = 0;
        for (unsigned long position = 0; position < total;)
        {
            const unsigned long n = std::min(blockSizes[next++ % blockSizes.size()], total - position);
            processBlock(io, io, position, n);
            position += n;
        }
        return io;
    }

    Signal run(const Signal& input, unsigned long blockSize)
    {
        return run(input, std::vector<unsigned long>{blockSize});
    }

    void processBlock(Signal& in, Signal& out, unsigned long position, unsigned long frames)
    {
        for (int c = 0; c < hostChannels; ++c)
        {
            inputs.channels[c] = in[c].data() + position;
            outputs.channels[c] = out[c].data() + position;
        }
        kernel.setBuffers(inputList, outputList);
        kernel.process(frames, 0, 0);
    }

    float meter() const { return kernel.getOutputValues(ZorvikReverbParameterList::DuckerMeter)[0]; }

    ZorvikReverbDSPKernel kernel;
    int hostChannels;

private:
    BufferList inputs, outputs;
    std::vector<BufferList*> inputList{&inputs};
    std::vector<BufferList*> outputList{&outputs};
};

// Deterministic white noise in [-amplitude, amplitude).
inline ReverbKernelHarness::Signal makeNoise(int channels, unsigned long frames, float amplitude,
                                             std::uint32_t seed = 12345)
{
    ReverbKernelHarness::Signal signal(channels, std::vector<float>(frames));
    for (auto& channel : signal)
        for (float& sample : channel)
        {
            seed = seed * 1664525u + 1013904223u;
            sample = amplitude * (static_cast<float>(seed >> 8) / 8388608.0f - 1.0f);
        }
    return signal;
}

inline ReverbKernelHarness::Signal makeImpulse(int channels, unsigned long frames)
{
    ReverbKernelHarness::Signal signal(channels, std::vector<float>(frames, 0.0f));
    for (auto& channel : signal)
        channel[0] = 1.0f;
    return signal;
}

inline float peakOf(const ReverbKernelHarness::Signal& signal)
{
    float peak = 0.0f;
    for (const auto& channel : signal)
        for (float sample : channel)
            peak = std::isfinite(sample) ? std::max(peak, std::fabs(sample)) : INFINITY;
    return peak;
}
