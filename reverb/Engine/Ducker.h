#pragma once

#include "LegacyCompressor.h"
#include "PeakMeter.h"

#include <memory>
#include <vector>

// The ducking step's settings for one slice.
struct DuckerParameters
{
    float threshold = 0.0f; // dB
    float attack = 0.0f;    // ms
    float release = 0.0f;   // ms
    float ratio = 30.0f;
};

// Lowers a wet signal while its dry key is loud: a hard-knee downward
// compressor whose detector listens to the dry slice and whose gain, squared,
// is applied to the wet slice. The squared gain also feeds the meter.
class Ducker : public LegacyCompressor
{
public:
    static constexpr unsigned long bufferLength = 4096;

    enum DetectorMode
    {
        rmsDetector = 0,
        peakDetector = 1
    };

    Ducker();

    void init(int channelCount, double rate) override;
    void clear() override;

    // One ducking step on one channel: wet is scaled in place, keyed by dry.
    void process(float* wet, const float* dry, unsigned long frames, unsigned long channel,
                 DuckerParameters parameters);

    void setDetectorMode(int mode) { detectorMode = mode; }
    float getGain(unsigned long channel) const;
    const PeakMeter& getMeter() const { return *meter; }

private:
    void processChunk(float* wet, const float* dry, unsigned long frames, unsigned long channel,
                      const DuckerParameters& parameters);
    float detectLevel(const float* dry, unsigned long frames) const;
    float targetGain(float level, const DuckerParameters& parameters) const;
    float rampRate(float diff, const DuckerParameters& parameters) const;

    int detectorMode = rmsDetector;
    std::unique_ptr<PeakMeter> meter;
    std::vector<float> gains;
    std::vector<float> gainBuffer;
};
