#include "DelayWrite.h"

#include "Common/Math/Memory.h"

#include <algorithm>
#include <cmath>

namespace
{
    // Keeps every index of the circle exact in single precision (2^24); that
    // is more than 5 minutes at 48 kHz.
    constexpr float longestLength = 16777216.0f - 4096.0f;
}

DelayWrite::DelayWrite(float rate, float maximumDelayMs)
    : sampleRate(rate),
      maximumDelay(maximumDelayMs),
      size(lengthFor(rate, maximumDelayMs) + sliceLength),
      buffer(static_cast<std::size_t>(size + mirrorLength), 0.0f)
{
}

int DelayWrite::lengthFor(float rate, float maximumDelayMs)
{
    float samples = std::trunc(maximumDelayMs * rate * 0.001f);
    if (!(samples >= 1.0f)) // also catches NaN
        samples = 1.0f;
    samples = std::min(samples, longestLength);
    int length = static_cast<int>(samples);
    length = (length + 3) / 4 * 4;
    return std::max(length, minimumLength);
}

void DelayWrite::write(const float* samples, unsigned long frames)
{
    while (frames > 0)
    {
        const unsigned long room = static_cast<unsigned long>(size - writeIndex);
        const unsigned long count = std::min(frames, room);
        Memory::copy(samples, buffer.data() + writeIndex, count);
        samples += count;
        frames -= count;
        writeIndex += static_cast<int>(count);
        if (writeIndex >= size)
            writeIndex = 0;
    }
    updateMirror();
}

void DelayWrite::clear()
{
    std::fill(buffer.begin(), buffer.end(), 0.0f);
}

void DelayWrite::updateMirror()
{
    Memory::copy(buffer.data(), buffer.data() + size, mirrorLength);
}
