#pragma once

#include <memory>
#include <vector>

// One line of a delay group with its nominal delay and the per-sample delay
// (ms) it is read with in the current slice.
template <typename T>
struct DelayGroupEntry
{
    static constexpr unsigned long bufferLength = 4096;

    DelayGroupEntry(std::unique_ptr<T> delayLine, float baseTimeMs)
        : line(std::move(delayLine)), baseTime(baseTimeMs), delayBuffer(bufferLength, baseTimeMs)
    {
    }

    std::unique_ptr<T> line;
    float baseTime; // ms
    std::vector<float> delayBuffer;
};
