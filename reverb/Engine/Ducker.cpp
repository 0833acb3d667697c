#include "Ducker.h"

#include "Common/Math/Accelerate/SignalProcessing.h"

#include <algorithm>
#include <cmath>

Ducker::Ducker()
    : meter(std::make_unique<PeakMeter>()),
      gains(static_cast<std::size_t>(channels), 0.0f),
      gainBuffer(bufferLength, 0.0f)
{
}

void Ducker::init(int channelCount, double rate)
{
    ProcessBlock::init(channelCount, rate);
    meter->init(channelCount, rate);
    // The wet signal starts silent and fades in at the release rate.
    gains.assign(static_cast<std::size_t>(std::max(channelCount, 0)), 0.0f);
    std::fill(gainBuffer.begin(), gainBuffer.end(), 0.0f);
}

void Ducker::clear()
{
    std::fill(gainBuffer.begin(), gainBuffer.end(), 0.0f);
    std::fill(gains.begin(), gains.end(), 0.0f);
}

float Ducker::getGain(unsigned long channel) const
{
    return channel < gains.size() ? gains[channel] : 0.0f;
}

void Ducker::process(float* wet, const float* dry, unsigned long frames, unsigned long channel,
                     DuckerParameters parameters)
{
    if (channel >= gains.size())
        return;
    for (unsigned long offset = 0; offset < frames; offset += bufferLength)
    {
        const unsigned long n = std::min(bufferLength, frames - offset);
        processChunk(wet + offset, dry + offset, n, channel, parameters);
    }
}

void Ducker::processChunk(float* wet, const float* dry, unsigned long frames,
                          unsigned long channel, const DuckerParameters& parameters)
{
    float& gain = gains[channel];
    float target = targetGain(detectLevel(dry, frames), parameters);
    // A target that is not a number leaves the gain where it is, so nothing latches.
    if (std::isnan(target))
        target = gain;
    const float diff = target - gain;
    const float slope = diff * rampRate(diff, parameters);

    // The slope is re-aimed every slice at the whole remaining distance; with
    // times shorter than a slice the ramp runs past the target and is held only
    // by the [0, 1] clamp.
    float* ramp = gainBuffer.data();
    SignalProcessing::ramp(gain, slope, ramp, frames);
    SignalProcessing::clip(ramp, 0.0f, 1.0f, ramp, frames);
    gain = std::clamp(ramp[frames - 1] + slope, 0.0f, 1.0f);

    SignalProcessing::powTwo(ramp, frames);
    SignalProcessing::mul(wet, ramp, wet, frames);
    meter->process(ramp, frames, channel, {});
}

float Ducker::detectLevel(const float* dry, unsigned long frames) const
{
    double level = 0.0;
    if (detectorMode == rmsDetector)
    {
        // Summed in double so that loud but finite input cannot overflow.
        double sum = 0.0;
        for (unsigned long j = 0; j < frames; ++j)
            sum += static_cast<double>(dry[j]) * dry[j];
        level = std::sqrt(sum / static_cast<double>(frames));
    }
    else if (detectorMode == peakDetector)
    {
        for (unsigned long j = 0; j < frames; ++j)
            level = std::max(level, std::fabs(static_cast<double>(dry[j])));
    }
    // Non-finite input counts as silence, as it does at the engine's entry.
    return std::isfinite(level) ? static_cast<float>(level) : 0.0f;
}

float Ducker::targetGain(float level, const DuckerParameters& parameters) const
{
    const float ratio = parameters.ratio > 0.0f ? parameters.ratio : 1.0f;
    const double threshold = parameters.threshold;
    const auto thr = static_cast<float>(std::exp(((threshold + 100.0) - 100.0)
                                                 * 0.11512925464970002));
    const float compressed = (level - thr) / ratio + thr;
    const double gain = std::max(static_cast<double>(compressed), 0.001)
                        / std::max(static_cast<double>(level), 0.001);
    if (std::isnan(compressed))
        return compressed; // an unusable threshold: the caller holds the gain
    return std::min(1.0f, static_cast<float>(gain));
}

float Ducker::rampRate(float diff, const DuckerParameters& parameters) const
{
    // The gain falls with the attack time and rises with the release time.
    float time = diff < 0.0f ? parameters.attack : parameters.release;
    if (time == 0.0f)
        return 1.0f;
    time = std::fmax(time, 0.01f); // a time that is not a number takes the shortest one
    const double rate = 1.0 / (static_cast<double>(time) * sampleRate * 0.0010000000474974513);
    return std::isfinite(rate) ? static_cast<float>(rate) : 1.0f;
}
