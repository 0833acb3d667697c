#include "ZorvikReverbDSPKernel.h"

#include "CustomReverb.h"
#include "DelayLine.h"
#include "DryWet.h"
#include "Ducker.h"
#include "ZorvikReverbParameterList.h"

#include "Common/Math/Accelerate/SignalProcessing.h"
#include "Common/Math/Memory.h"
#include "Common/ProcessBlock/Filters/BiquadFilter.h"
#include "Common/ProcessBlock/Mix/Gain.h"
#include "Common/ProcessBlock/Oscillators/Lfo.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace
{
    using P = ZorvikReverbParameterList;

    constexpr float preDelayMaximumMs = 400.0f;
    constexpr float duckerRatio = 30.0f;

    float finiteOrZero(float sample)
    {
        return std::isfinite(sample) ? sample : 0.0f;
    }

    // Larger magnitudes are no signal: the network's loop drops them as well,
    // and its reflections could take them past the float range.
    constexpr float largestWet = 1e15f;

    // A finite input can still overflow on its way through the gain, the filter
    // or the pre-delay: what comes out non-finite, or too large for the
    // network, counts as silence, as non-finite input does. A select rather
    // than a branch, so the loop runs in vector lanes; NaN fails the comparison.
    void zeroBadWet(float* signal, unsigned long frames)
    {
        for (unsigned long j = 0; j < frames; ++j)
            signal[j] = std::fabs(signal[j]) <= largestWet ? signal[j] : 0.0f;
    }

    // Whether every value equals the first (a NaN first value never does).
    bool isConstant(const float* values, unsigned long frames)
    {
        if (frames == 0)
            return true;
        unsigned long j = 1;
#if defined(__SSE2__)
        // cmpneq is true for unequal or unordered lanes, as != is.
        const __m128 first = _mm_set1_ps(values[0]);
        for (; j + 4 <= frames; j += 4)
            if (_mm_movemask_ps(_mm_cmpneq_ps(_mm_loadu_ps(values + j), first)) != 0)
                return false;
#endif
        for (; j < frames; ++j)
            if (values[j] != values[0])
                return false;
        return true;
    }
}

// One slice of a host block: its frames, its position in the host buffers and
// in the block's parameter buffers.
struct ZorvikReverbDSPKernel::Slice
{
    unsigned long frames;
    unsigned long hostPosition;
    unsigned long parameterOffset;
};

ZorvikReverbDSPKernel::ZorvikReverbDSPKernel()
    : gain(std::make_unique<Gain>()),
      preDelay(std::make_unique<DelayLine>(preDelayMaximumMs)),
      inputFilter(std::make_unique<BiquadFilter>(BiquadFilterType::lowShelf, 1)),
      ducker(std::make_unique<Ducker>()),
      reverb(std::make_unique<CustomReverb>()),
      dryWet(std::make_unique<ZorvikDSP::DryWet>()),
      lfo(std::make_unique<Lfo>()),
      dampingMix(bufferLength, 70.0f),
      ratio(bufferLength, duckerRatio)
{
    channels = engineChannels;
    for (int c = 0; c < engineChannels; ++c)
    {
        dry[c].assign(bufferLength, 0.0f);
        wet[c].assign(bufferLength, 0.0f);
    }
    for (int i = 0; i < 4; ++i)
    {
        lfoOutputs[i].assign(bufferLength, 0.0f);
        lfoPhaseOffsets[i].assign(bufferLength, 0.25f * static_cast<float>(i));
    }
    ducker->setDetectorMode(Ducker::rmsDetector);
    // The size modulation is a sine: the random shape's values are never read.
    lfo->randomRunning = false;
    parameterList = std::make_unique<ZorvikReverbParameterList>();
    // Every parameter's buffer entry exists before the audio thread runs.
    parameterBuffers.checkSize(P::parameterCount - 1);
    SignalProcessing::init();
}

ZorvikReverbDSPKernel::~ZorvikReverbDSPKernel() = default;

void ZorvikReverbDSPKernel::setup()
{
    // The blocks always run in stereo, whatever the host's layout.
    preDelay->init(engineChannels, sampleRate);
    ducker->init(engineChannels, sampleRate);
    inputFilter->init(engineChannels, sampleRate);
    reverb->init(engineChannels, sampleRate);
    dryWet->init(engineChannels, sampleRate);
    gain->init(engineChannels, sampleRate);
    lfo->init(4, sampleRate);
    inputFilter->clear();
    setOutputValue(P::DuckerMeter, initialMeterValue);
}

void ZorvikReverbDSPKernel::updateParameter(unsigned long, float)
{
}

void ZorvikReverbDSPKernel::process(unsigned long frames, unsigned long offset, long unused)
{
    // The parameter and scratch buffers hold 4096 frames: longer host blocks are
    // processed piece by piece, exactly as if the host had sent the pieces.
    do
    {
        const unsigned long piece = std::min(frames, bufferLength);
        processPiece(piece, offset, unused);
        offset += piece;
        frames -= piece;
    } while (frames > 0);
}

void ZorvikReverbDSPKernel::processPiece(unsigned long frames, unsigned long offset, long unused)
{
    DSPKernel::process(frames, offset, unused);
    parameterList->checkOutBuffers(frames, &parameterBuffers);
    if (frames == 0 || inputs.empty() || outputs.empty() || inputs[0] == nullptr || outputs[0] == nullptr
        || outputs[0]->channels[0] == nullptr)
        return;
    for (unsigned long o = 0; o < frames; o += sliceLength)
        processSlice({std::min(sliceLength, frames - o), offset + o, o});
}

float* ZorvikReverbDSPKernel::parameterBuffer(unsigned long index, unsigned long offset)
{
    return parameterBuffers[index] + offset;
}

bool ZorvikReverbDSPKernel::hostIsMono() const
{
    return channels < 2 || outputs[0]->channels[1] == nullptr;
}

void ZorvikReverbDSPKernel::processSlice(const Slice& slice)
{
    prepareSlice(slice);
    readInput(slice);
    processInputChains(slice);
    processNetwork(slice);
    duckAndMix(slice);
    setOutputValue(P::DuckerMeter, ducker->getMeter().getValue(0));
}

// The input filter's settings and the four size-modulation signals: one sine in
// quadrature steps.
void ZorvikReverbDSPKernel::prepareSlice(const Slice& slice)
{
    const unsigned long n = slice.frames;
    const unsigned long o = slice.parameterOffset;
    // The filter takes its settings at the first frame of every 64 frames, that
    // is once per slice: the cutoff is needed at that frame only.
    inputCutoff = 8.175799f * std::exp(0.057762265f * parameterBuffer(P::InputFilterFrequency, o)[0]);
    const bool highPass = std::round(parameterBuffer(P::InputFilterType, o)[0]) == 1.0f;
    inputFilter->setType(highPass ? BiquadFilterType::highPass : BiquadFilterType::lowShelf);

    for (unsigned long i = 0; i < 4; ++i)
    {
        const Lfo::LfoParameters settings{parameterBuffer(P::SizeModulationRate, o), nullptr,
                                          lfoPhaseOffsets[i].data(), parameterBuffer(P::SizeModulationAmount, o)};
        lfo->process(lfoOutputs[i].data(), n, i, settings);
    }
}

// Copies the host input into the dry buffers (a missing channel takes channel 0,
// a non-finite sample becomes 0), then zeroes the host input over the slice.
void ZorvikReverbDSPKernel::readInput(const Slice& slice)
{
    const unsigned long n = slice.frames;
    const int hostChannels = hostIsMono() ? 1 : engineChannels;
    BufferList& in = *inputs[0];
    for (int c = 0; c < engineChannels; ++c)
    {
        const float* source = in.channels[std::min(c, hostChannels - 1)];
        float* target = dry[c].data();
        if (source == nullptr)
        {
            SignalProcessing::clear(target, n);
            continue;
        }
        source += slice.hostPosition;
        for (unsigned long j = 0; j < n; ++j)
            target[j] = finiteOrZero(source[j]);
    }
    for (int c = 0; c < hostChannels; ++c)
        if (in.channels[c] != nullptr)
            SignalProcessing::clear(in.channels[c] + slice.hostPosition, n);
}

// Per channel: input gain, input filter, pre-delay. The channels do not
// interact, so each step runs for both before the next; the filter runs the
// two channels side by side.
void ZorvikReverbDSPKernel::processInputChains(const Slice& slice)
{
    const unsigned long n = slice.frames;
    const unsigned long o = slice.parameterOffset;
    float* signals[engineChannels];
    for (int c = 0; c < engineChannels; ++c)
    {
        signals[c] = wet[c].data();
        Memory::copy(dry[c].data(), signals[c], n);
        applyInputGain(signals[c], n, parameterBuffer(P::InputGain, o));
    }
    inputFilter->processChannels(signals, engineChannels, n, inputCutoff, parameterBuffer(P::InputFilterGain, o)[0],
                                 0.0f);
    for (int c = 0; c < engineChannels; ++c)
    {
        preDelay->process(signals[c], n, static_cast<unsigned long>(c), parameterBuffer(P::PreDelay, o), nullptr,
                          true, false);
        zeroBadWet(signals[c], n);
    }
}

// The gain in dB per sample. While it holds still over the slice its factor is
// computed once, exactly as the gain block computes it per sample.
void ZorvikReverbDSPKernel::applyInputGain(float* signal, unsigned long frames, float* decibels)
{
    if (!isConstant(decibels, frames))
    {
        gain->process(signal, frames, decibels);
        return;
    }
    float factor = 0.0f;
    SignalProcessing::mul_s(decibels, 0.115129255f, &factor, 1);
    SignalProcessing::exp(&factor, &factor, 1);
    if (factor != 1.0f)
        SignalProcessing::mul_s(signal, factor, signal, frames);
}

// Early reflections and the feedback network, in place on the stereo wet signal.
void ZorvikReverbDSPKernel::processNetwork(const Slice& slice)
{
    const unsigned long n = slice.frames;
    const unsigned long o = slice.parameterOffset;
    reverb->setShiftFrequency(parameterBuffer(P::FreqShifterFrequency, o)[0]);
    reverb->setShiftMix(parameterBuffer(P::FreqShifterDryWet, o), n);
    ReverbSliceParameters settings;
    settings.roomSize = parameterBuffer(P::RoomSize, o);
    for (unsigned long i = 0; i < 4; ++i)
        settings.lfo[i] = lfoOutputs[i].data();
    settings.reverbTime = parameterBuffer(P::ReverbTime, o)[0];
    settings.freeze = parameterBuffer(P::Freeze, o)[0] != 0.0f;
    settings.damping = parameterBuffer(P::HFDamp, o);
    settings.dampingMix = dampingMix.data();
    reverb->processSlice(wet[0].data(), wet[1].data(), n, settings);
}

void ZorvikReverbDSPKernel::duckAndMix(const Slice& slice)
{
    const unsigned long n = slice.frames;
    const unsigned long o = slice.parameterOffset;
    const bool mono = hostIsMono();
    const DuckerParameters settings{parameterBuffer(P::DuckingThreshold, o)[0], parameterBuffer(P::DuckingAttack, o)[0],
                                    parameterBuffer(P::DuckingRelease, o)[0], ratio[0]};
    for (int c = 0; c < engineChannels; ++c)
    {
        ducker->process(wet[c].data(), dry[c].data(), n, static_cast<unsigned long>(c), settings);
        float* out = mono ? wet[c].data() : outputs[0]->channels[c] + slice.hostPosition;
        dryWet->process(dry[c].data(), wet[c].data(), out, n, parameterBuffer(P::EffectDryWet, o));
    }
    if (mono)
    {
        float* out = outputs[0]->channels[0] + slice.hostPosition;
        for (unsigned long j = 0; j < n; ++j)
            out[j] = 0.5f * wet[0][j] + 0.5f * wet[1][j];
    }
}
