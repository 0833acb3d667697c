#pragma once

#include "Common/ProcessBlock/Filters/BiquadCoefficients.h"
#include "Common/ProcessBlock/Filters/BiquadFilterType.h"
#include "Common/ProcessBlock/MultiChannelProcessBlock.h"

#include <cstddef>
#include <vector>

class BiquadState;

struct BiquadFilterParameters
{
    float frequency = 0.0f;            // Hz
    float* frequencyBuffer = nullptr;  // optional, one value per sample
    float q = 0.0f;                    // resonance in dB; the shelf gain in dB for the shelves
    float* qBuffer = nullptr;
    float gain = 0.0f;                 // dB, used by the peak shape
    float* gainBuffer = nullptr;
};

// A cascade of identical second-order sections per channel. Coefficients are
// recomputed only when an input changed; per-sample parameter buffers are read
// at the first frame of each chunk.
class BiquadFilter : public MultiChannelProcessBlock<BiquadFilterParameters>
{
public:
    explicit BiquadFilter(BiquadFilterType type = BiquadFilterType::lowPass, int stages = 1);
    ~BiquadFilter() override;

    void init(int channels, double sampleRate) override;
    void clear() override;
    void process(float* buffer, unsigned long frames, unsigned long channel,
                 BiquadFilterParameters parameters) override;
    void process(float* buffer, unsigned long frames, unsigned long channel,
                 float* frequencyBuffer, float* qBuffer, float* gainBuffer);

    // Filters one chunk with fixed settings.
    void processFilter(float* buffer, unsigned long frames, unsigned long channel,
                       float frequency, float q, float gain);

    // processFilter on channels 0 .. count - 1, channel c on buffers[c] (distinct
    // buffers), with the channels side by side in lanes when the filter has one
    // stage and at most four channels are given; the same results bit for bit.
    void processChannels(float* const buffers[], unsigned long count, unsigned long frames,
                         float frequency, float q, float gain);

    // Four filters, each on its own buffer and channel with fixed settings for
    // one chunk, run side by side: the results of processFilter on each, bit for
    // bit. Filters with more than one stage, or a channel they lack, run alone.
    static void processFilters4(BiquadFilter* const filters[4], float* const buffers[4],
                                unsigned long frames, const unsigned long channels[4],
                                const float frequencies[4], const float qs[4], const float gains[4]);

    // A new shape clears the history; the current one changes nothing.
    void setType(BiquadFilterType newType);
    BiquadFilterType getType() const { return type; }
    int getStages() const { return stages; }
    const BiquadCoefficients& getCoefficients() const { return coefficients; }

    // Highest frequency the filter runs at, as a fraction of the sample rate:
    // at or above Nyquist the sections become unstable.
    static constexpr float maximumFrequencyRatio = 0.49f;

private:
    void destroyStates();
    void updateCoefficients(float frequency, float q, float gain);

    std::vector<BiquadState*> states;  // stage s, channel c at s * channels + c
    BiquadFilterType type;
    int stages;
    float lastFrequency = 0.0f;
    float lastQ = 0.0f;
    float lastGain = 0.0f;
    BiquadFilterType lastType = BiquadFilterType::lowPass;
    bool coefficientsValid = false;
    BiquadCoefficients coefficients;
};
