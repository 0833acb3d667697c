#include "DelayRead.h"

#include "DelayWrite.h"

#include <algorithm>

DelayRead::DelayRead(float rate) : sampleRate(rate) {}

float DelayRead::clampPosition(float samples, int size)
{
    const float lowest = static_cast<float>(DelayWrite::sliceLength);
    const float highest = static_cast<float>(size - DelayWrite::sliceLength - 3);
    // Written so that NaN falls to the lower bound and infinity to the upper.
    float p = samples >= lowest ? samples : lowest;
    p = p <= highest ? p : highest;
    return p;
}

void DelayRead::process(const float* delaySeconds, float* out, const DelayWrite& line,
                        unsigned long frames)
{
    // Reading does not move the line: a longer read continues from a virtual
    // write index one chunk further on.
    int writeIndex = line.getWriteIndex();
    while (frames > 0)
    {
        const int count = static_cast<int>(std::min<unsigned long>(frames, chunkLength));
        processChunk(delaySeconds, out, line, writeIndex, count);
        delaySeconds += count;
        out += count;
        frames -= static_cast<unsigned long>(count);
        writeIndex = (writeIndex + count) % line.getSize();
    }
}

void DelayRead::processChunk(const float* delaySeconds, float* out, const DelayWrite& line,
                             int writeIndex, int frames)
{
    const int size = line.getSize();
    const float* buffer = line.data();

    for (int i = 0; i < frames; ++i)
    {
        position[i] = clampPosition(delaySeconds[i] * sampleRate, size);
        integer[i] = static_cast<int>(position[i]);
        fraction[i] = position[i] - static_cast<float>(integer[i]);
    }

    for (int i = 0; i < frames; ++i)
    {
        // With the position in [64, size - 67], k lies in [3 - size, size - 66]
        // before the wrap and in [3, size + 3] after it: all four taps are
        // inside the buffer (the last four entries mirror the first four).
        int k = writeIndex + i - chunkLength - integer[i];
        if (k < 4)
            k += size;
        const float y0 = buffer[k];
        const float y1 = buffer[k - 1];
        const float y2 = buffer[k - 2];
        const float y3 = buffer[k - 3];
        const float f = fraction[i];
        const float w = f * -0.1666667f + 0.1666667f;
        out[i] = y1 + f * ((y2 - y1) - w * (f * (y3 - 3.0f * y2 + 3.0f * y1 - y0)
                                            + 2.0f * y0 - 3.0f * y1 + y3));
    }
}
