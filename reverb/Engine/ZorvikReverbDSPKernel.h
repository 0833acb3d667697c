#pragma once

#include "Common/FilterDSPKernel.h"

#include <memory>
#include <vector>

class BiquadFilter;
class CustomReverb;
class DelayLine;
class Ducker;
class Gain;
class Lfo;
namespace ZorvikDSP
{
    class DryWet;
}

// The reverb's signal graph: input gain, input filter, pre-delay, modulated early
// reflections and a four-line feedback network with a frequency-shifted write
// path, a ducker keyed by the dry input, and the final dry/wet mix.
//
// The engine always runs two channels. With one host channel the input feeds
// both and the output is their mean. Host blocks of any length are processed in
// pieces of at most 4096 frames, each in slices of at most 64 frames.
// Non-finite input samples are taken as 0.
class ZorvikReverbDSPKernel : public FilterDSPKernel
{
public:
    static constexpr unsigned long sliceLength = 64;
    static constexpr unsigned long bufferLength = 4096;
    static constexpr int engineChannels = 2;
    // Output value 16 before the ducker's first measurement: no gain reduction.
    static constexpr float initialMeterValue = 100.0f;

    ZorvikReverbDSPKernel();
    ~ZorvikReverbDSPKernel() override;

    void setup() override;
    // frames may exceed 4096; offset is added to every host buffer position.
    void process(unsigned long frames, unsigned long offset, long unused) override;
    // Every parameter is read from its per-sample buffer: nothing to do here.
    void updateParameter(unsigned long index, float value) override;

private:
    struct Slice;

    void processPiece(unsigned long frames, unsigned long offset, long unused);
    void processSlice(const Slice& slice);
    void prepareSlice(const Slice& slice);
    void readInput(const Slice& slice);
    void processInputChains(const Slice& slice);
    void applyInputGain(float* signal, unsigned long frames, float* decibels);
    void processNetwork(const Slice& slice);
    void duckAndMix(const Slice& slice);
    bool hostIsMono() const;
    float* parameterBuffer(unsigned long index, unsigned long offset);

    std::unique_ptr<Gain> gain;
    std::unique_ptr<DelayLine> preDelay;
    std::unique_ptr<BiquadFilter> inputFilter;
    std::unique_ptr<Ducker> ducker;
    std::unique_ptr<CustomReverb> reverb;
    std::unique_ptr<ZorvikDSP::DryWet> dryWet;
    std::unique_ptr<Lfo> lfo;

    std::vector<float> dry[engineChannels];
    std::vector<float> wet[engineChannels];
    std::vector<float> dampingMix;   // percent
    std::vector<float> lfoOutputs[4];
    std::vector<float> lfoPhaseOffsets[4];
    std::vector<float> ratio;
    float inputCutoff = 0.0f;  // Hz, for the current slice
};
