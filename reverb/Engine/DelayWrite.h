#pragma once

#include <vector>

// One channel's storage of a delay line: a circle of `size` samples followed by
// a copy of its first four, so that the four-point read never needs a second
// wrap test. The circle holds the line's length plus one slice of 64 samples.
class DelayWrite
{
public:
    static constexpr int sliceLength = 64;
    static constexpr int mirrorLength = 4;
    // The read keeps at least one slice plus its four taps inside the stored
    // history, so every line holds at least this many samples.
    static constexpr int minimumLength = 68;

    DelayWrite(float sampleRate, float maximumDelayMs);

    // length = trunc(maximumDelayMs * sampleRate / 1000), rounded up to a
    // multiple of 4, at least minimumLength.
    static int lengthFor(float sampleRate, float maximumDelayMs);

    // Appends frames samples at the write index (any count; older samples are
    // overwritten as the circle turns) and keeps the mirrored tail current.
    void write(const float* samples, unsigned long frames);
    // Silences the circle; the write index stays where it is.
    void clear();

    float getSampleRate() const { return sampleRate; }
    int getSize() const { return size; }
    int getWriteIndex() const { return writeIndex; }
    const float* data() const { return buffer.data(); }

private:
    void updateMirror();

    float sampleRate;
    float maximumDelay; // ms
    int size;           // samples in the circle
    std::vector<float> buffer; // size + 4
    int writeIndex = 4; // always in [0, size)
};
