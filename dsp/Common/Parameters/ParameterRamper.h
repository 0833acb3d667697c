#pragma once

#include <atomic>
#include <cstdint>

// Turns a parameter's changes into linear ramps and renders them, one block at
// a time, into a buffer of per-sample values.
//
// Threads: requestRamp and getLastValue may be called from any thread. A request
// is handed over in one atomic word and counted in the change counter; the audio
// thread starts the ramp in applyRequest at the start of its next block. Every
// other operation belongs to the thread that processes blocks.
class ParameterRamper
{
public:
    static constexpr unsigned long bufferSize = 4096;

    ParameterRamper() = default;
    ParameterRamper(const ParameterRamper&) = delete;
    ParameterRamper& operator=(const ParameterRamper&) = delete;

    // Any thread.
    void requestRamp(float value, unsigned long frames, bool integer);
    float getLastValue() const;
    bool hasValue() const;

    // Audio thread.
    // Ramps from the present value to value (rounded when integer, halves away
    // from zero) over frames frames; 0 frames jumps. Non-finite values are ignored.
    void startRamp(float value, unsigned long frames, bool integer);
    // Starts the ramp last requested, if a request arrived since the last call.
    bool applyRequest();
    // Takes the last requested value at once, without a ramp.
    void jumpToRequest();
    // Renders the next frames values (at most bufferSize); changed is set when
    // the buffer was rewritten and left alone otherwise.
    float* getAndStep(unsigned long frames, bool& changed);
    void resetCounters();

    float getEndValue() const { return endValue; }
    float getStep() const { return step; }
    std::uint64_t getRemaining() const { return remaining; }

private:
    void beginRamp(float value, unsigned long frames, bool integer);
    void storeRequest(float value, unsigned long frames, bool integer);

    // The last value handed over (bits 0-31), its ramp length (bits 32-61), the
    // integer flag (bit 62) and "a value was set" (bit 63).
    std::atomic<std::uint64_t> request{0};
    float endValue = 0.0f;
    float step = 0.0f;  // decrease per frame: value = endValue + remaining * step
    std::uint64_t remaining = 0;
    std::atomic<std::uint32_t> changeCounter{0};
    std::uint32_t seenCounter = 0;
    bool filled = false;
    std::uint64_t filledLength = 0;
    float output[bufferSize];
};
