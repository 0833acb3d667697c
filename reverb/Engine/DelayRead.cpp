#include "DelayRead.h"

#include "DelayWrite.h"

#include <algorithm>

DelayRead::DelayRead(float rate) : sampleRate(rate) {}

namespace
{
    // Written so that NaN falls to the lower bound and infinity to the upper.
    inline float clampTo(float samples, float lowest, float highest)
    {
        const float p = samples >= lowest ? samples : lowest;
        return p <= highest ? p : highest;
    }

    inline float highestPosition(int size)
    {
        return static_cast<float>(size - DelayWrite::sliceLength - 3);
    }
}

float DelayRead::clampPosition(float samples, int size)
{
    return clampTo(samples, static_cast<float>(DelayWrite::sliceLength), highestPosition(size));
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
    locate(delaySeconds, line.getSize(), frames);
    gatherTaps(line, writeIndex, frames);
    interpolate(out, frames);
}

// Integer part and fraction of each clamped position.
void DelayRead::locate(const float* delaySeconds, int size, int frames)
{
    const float lowest = static_cast<float>(DelayWrite::sliceLength);
    const float highest = highestPosition(size);
    for (int i = 0; i < frames; ++i)
    {
        const float position = clampTo(delaySeconds[i] * sampleRate, lowest, highest);
        integer[i] = static_cast<int>(position);
        fraction[i] = position - static_cast<float>(integer[i]);
    }
}

void DelayRead::gatherTaps(const DelayWrite& line, int writeIndex, int frames)
{
    const int size = line.getSize();
    const float* buffer = line.data();
    for (int i = 0; i < frames; ++i)
    {
        // With the position in [64, size - 67], k lies in [3 - size, size - 66]
        // before the wrap and in [3, size + 3] after it: all four taps are
        // inside the buffer (the last four entries mirror the first four).
        int k = writeIndex + i - chunkLength - integer[i];
        k += k < 4 ? size : 0;
        taps[0][i] = buffer[k];
        taps[1][i] = buffer[k - 1];
        taps[2][i] = buffer[k - 2];
        taps[3][i] = buffer[k - 3];
    }
}

// Third-order Lagrange interpolation between taps 1 and 2 at the fraction f.
void DelayRead::interpolate(float* out, int frames)
{
    const float* y0 = taps[0].data();
    const float* y1 = taps[1].data();
    const float* y2 = taps[2].data();
    const float* y3 = taps[3].data();
    for (int i = 0; i < frames; ++i)
    {
        const float f = fraction[i];
        const float w = f * -0.1666667f + 0.1666667f;
        out[i] = y1[i] + f * ((y2[i] - y1[i]) - w * (f * (y3[i] - 3.0f * y2[i] + 3.0f * y1[i] - y0[i])
                                                   + 2.0f * y0[i] - 3.0f * y1[i] + y3[i]));
    }
}
