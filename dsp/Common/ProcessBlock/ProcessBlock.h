#pragma once

// The parameters of a block that takes none.
struct ProcessBlockParameters
{
};

// The shape of every DSP block: initialised once per prepare, then called per
// slice on the audio thread. The owner sets the fields when it builds a block;
// the defaults are those the reverb builds its blocks with.
class ProcessBlock
{
public:
    ProcessBlock() = default;
    virtual ~ProcessBlock() = default;

    // Blocks own buffers and per-channel states: never copied.
    ProcessBlock(const ProcessBlock&) = delete;
    ProcessBlock& operator=(const ProcessBlock&) = delete;

    virtual void init(int channelCount, double rate);
    virtual void clear() = 0;

    double sampleRate = 44100.0;
    int channels = 2;
    unsigned long maximumSlice = 64; // frames
};
