#pragma once

#include "DelayGroup.h"
#include "DelayLine.h"

#include <vector>

// Four cascaded reflection taps (mono lines of up to 1000 ms) that turn the
// stereo wet signal into its early reflections.
class EarlyReflections : public DelayGroup<DelayLine>
{
public:
    static constexpr unsigned long bufferLength = 4096;
    static constexpr float maximumDelayMs = 1000.0f;
    static constexpr std::array<float, lineCount> reflectionInitTimes{19.392f, 16.364f, 7.645f,
                                                                       4.2546f};
    static constexpr float modulationDepthMs = 1.2f;

    EarlyReflections();

    // Mono lines; the channel count is stored as 1.
    void init(int channelCount, double rate) override;

    // delay_i[j] = |size[j] * base_i + 1.2 * lfo_i[j]| ms.
    void setDelayTimes(const float* size, const float* const* lfo, unsigned long frames);

    // In place: left and right become the reflections' left and right outputs.
    // Frames up to bufferLength.
    void process(float* left, float* right, unsigned long frames);

private:
    std::vector<float> cascade;
    std::vector<float> tap;
};
