#pragma once

// DelayRead's interpolation eight frames at a time with AVX2, for processors
// that have it: the same operations in the same order as the four-lane code,
// so the results are the same bit for bit.
class DelayReadAvx2
{
public:
    // What a chunk's read needs: the line, where its newest taps start, and
    // the range the positions are clamped to.
    struct Line
    {
        const float* buffer;
        int size;
        int firstTap;  // the write index less the chunk length
        float lowest;
        float highest;
    };

    // Interpolates from frame 0 on, eight frames at a time; returns the frames done.
    static int interpolate(const float* delay, float scale, float rate, const Line& line, float* out, int frames);
};
