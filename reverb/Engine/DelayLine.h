#pragma once

#include "DelayRead.h"
#include "DelayWrite.h"

#include "Common/ProcessBlock/MultiChannelProcessBlock.h"

#include <array>
#include <memory>
#include <vector>

struct DelayLineParameters
{
    float delay = 0.0f;                // ms, used when no delay buffer is given
    const float* delayBuffer = nullptr; // ms per sample
    float feedback = 0.0f;             // used when no feedback buffer is given
    const float* feedbackBuffer = nullptr;
    bool write = true;        // store the slice into the line
    bool recirculate = false; // without feedback, store (or hand back) the delayed signal
};

// A per-channel circular delay with a fractional, per-sample delay read by cubic
// interpolation, optional feedback through an overridable hook, and a choice of
// whether the slice is written. A delay of d samples sounds d + 65 samples late,
// and never less than 64 + 65.
class DelayLine : public MultiChannelProcessBlock<DelayLineParameters>
{
public:
    static constexpr unsigned long chunkLength = 64;

    explicit DelayLine(float maximumDelayMs);

    void init(int channelCount, double rate) override;
    void clear() override;

    // In place on io. Any frame count: longer calls run in chunks of 64 frames,
    // each read before it is written. A channel the line does not have is left
    // untouched.
    void process(float* io, unsigned long frames, unsigned long channel,
                 DelayLineParameters parameters) override;
    void process(float* io, unsigned long frames, unsigned long channel,
                 const float* delayBuffer, const float* feedbackBuffer, bool write,
                 bool recirculate);

    // Reads frames samples (delay in ms per sample) without writing. A longer
    // read gives what reads of 64 frames would, each followed by the write of
    // its frames, for delays of at least the read's length.
    void read(const float* delayMs, float* out, unsigned long frames, unsigned long channel);
    // Stores frames samples into the line.
    void write(const float* samples, unsigned long frames, unsigned long channel);

    // Shapes the recirculated signal before the feedback gain; nothing here.
    virtual void preFeedbackProcess(float* buffer, unsigned long frames, unsigned long channel);

    float getMaximumDelay() const { return maximumDelay; }
    int channelCount() const { return static_cast<int>(writes.size()); }
    const DelayWrite& getWrite(unsigned long channel) const { return *writes[channel]; }

protected:
    // Offset, within the caller's buffers, of the chunk the hook is called for.
    unsigned long hookOffset = 0;

private:
    struct Chunk
    {
        float* io;
        unsigned long frames;
        unsigned long offset;    // of io within the caller's buffers
        const float* delayMs;    // null: the scalar delay
        float delay;
        const float* feedback;   // per sample, or null
        float scalarFeedback;
        bool write;
        bool recirculate;
    };

    void processChunk(const Chunk& chunk, unsigned long channel);
    void toSeconds(const float* delayMs, float delay, unsigned long frames);
    void applyFeedback(const Chunk& chunk, unsigned long channel);

    float maximumDelay; // ms
    std::vector<std::unique_ptr<DelayWrite>> writes;
    std::vector<std::unique_ptr<DelayRead>> reads;
    std::array<float, chunkLength> seconds{};
    std::array<float, chunkLength> delayed{};
    std::array<float, chunkLength> work{};
};
