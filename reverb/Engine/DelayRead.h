#pragma once

#include <array>

class DelayWrite;

// One channel's reader of a delay line: a fractional, per-sample delay read by
// four-point (third-order Lagrange) interpolation. A delay of p samples returns
// the signal written p + 65 samples before each output sample. p is held in
// [64, size - 67]: the lower bound keeps the taps in the past for any slice of
// up to 64 frames and does not depend on the slice length, the upper one keeps
// all four taps inside the stored history.
class DelayRead
{
public:
    static constexpr int chunkLength = 64;
    static constexpr int cubic = 2;

    explicit DelayRead(float sampleRate);

    // Reads frames samples (any count) for the slice about to be written at the
    // line's write index. delay holds one delay per sample, in units of
    // unitSeconds (1 for seconds, 0.001 for milliseconds): the position in
    // samples is (delay * unitSeconds) * rate.
    void process(const float* delay, float* out, const DelayWrite& line,
                 unsigned long frames, float unitSeconds = 1.0f);

    // The delay in samples actually used for a request of `samples`.
    static float clampPosition(float samples, int size);

    int getInterpolationMode() const { return interpolationMode; }

private:
    void processChunk(const float* delay, float unitSeconds, float* out, const DelayWrite& line,
                      int writeIndex, int frames);

    void locate(const float* delay, float unitSeconds, int size, int first, int frames);
    // Index of the newest of frame i's four taps (the others precede it).
    int tapIndex(int writeIndex, int i, int size) const
    {
        // With the position in [64, size - 67], k lies in [3 - size, size - 66]
        // before the wrap and in [3, size + 3] after it: all four taps are
        // inside the buffer (the last four entries mirror the first four).
        const int k = writeIndex + i - chunkLength - integer[static_cast<std::size_t>(i)];
        return k < 4 ? k + size : k;
    }
    int interpolateInLanes(const float* delay, float unitSeconds, float* out, const DelayWrite& line,
                           int writeIndex, int frames) const;
    // Frames first to frames - 1 only.
    void gatherTaps(const DelayWrite& line, int writeIndex, int first, int frames);
    void interpolate(float* out, int first, int frames);

    int interpolationMode = cubic;
    float sampleRate;
    // Chosen with the vector-maths path when the reader is made.
    bool eightLanes;
    std::array<float, chunkLength> fraction{};
    std::array<int, chunkLength> integer{};
    std::array<std::array<float, chunkLength>, 4> taps{};
};
