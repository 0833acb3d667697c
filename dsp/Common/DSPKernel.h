#pragma once

#include "Common/MusicalContextStruct.h"
#include "Common/Parameters/ParameterBufferList.h"
#include "Common/Parameters/ParameterList.h"
#include "Common/TransportStateStruct.h"

#include <atomic>
#include <map>
#include <memory>

// The audio side of a product: takes parameter changes, ramps them over 20 ms
// and renders them into per-sample buffers once per block.
//
// Threads: init and setup run while no block is processed; process on the audio
// thread; setParameter, startRamp and getParameter on any thread (a change is
// handed to the parameter's ramper and starts at the next block). updateParameter
// is called on the thread that made the change. Output values are written by the
// audio thread and may be read by any thread through getOutputValues.
class DSPKernel
{
public:
    // The most frames one process call may be given; callers split longer blocks.
    static constexpr unsigned long maxFrames = 4096;

    DSPKernel() = default;
    virtual ~DSPKernel();
    DSPKernel(const DSPKernel&) = delete;
    DSPKernel& operator=(const DSPKernel&) = delete;

    virtual void setup() {}
    // Starts the ramps requested since the last block; products call it first
    // and then checkOutBuffers on their parameter list.
    virtual void process(unsigned long frames, unsigned long offset, long);
    virtual void handleMIDIEvent(unsigned char* message, long long time);
    // Receives the changes of unramped parameters, on the caller's thread.
    virtual void updateParameter(unsigned long index, float value) = 0;
    // Throws std::out_of_range for an index past the list. Non-finite values are ignored.
    virtual void startRamp(unsigned long index, float value, unsigned long frames);

    void init(int channels, double sampleRate);
    void setParameter(unsigned long index, float value);
    float getParameter(unsigned long index);
    void reset();

    // The two values published for an output parameter; null before the first
    // init or for an index without output values.
    std::atomic<float>* getOutputValues(int index) const;
    // Audio thread: publishes one value of an output parameter (slot 0 or 1).
    void setOutputValue(int index, float value, int slot = 0);

    std::unique_ptr<ParameterList> parameterList;  // set by the product, owned
    ParameterBufferList parameterBuffers;
    MusicalContextStruct musicalContext;
    TransportStateStruct transportState;
    float inverseNyquist = 0.0f;
    float nyquist = 0.0f;
    int channels = 0;
    std::atomic<unsigned long> rampLength{0};  // 0 before init: changes jump
    std::atomic<bool> initialised{false};
    double sampleRate = 0.0;
    // Output parameter index -> two values; made by the first init, fixed afterwards.
    std::map<int, std::unique_ptr<std::atomic<float>[]>> outputValues;

private:
    void initialiseParameterValues();
};
