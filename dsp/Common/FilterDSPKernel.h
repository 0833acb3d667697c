#pragma once

#include "Common/BufferList.h"
#include "Common/DSPKernel.h"

#include <vector>

// A kernel of an effect: adds the input and output channel pointers, one
// BufferList per bus, handed in before every block. The BufferLists belong to the caller.
class FilterDSPKernel : public DSPKernel
{
public:
    FilterDSPKernel();

    // Copies both lists into the kernel; no allocation for up to 8 buses.
    void setBuffers(const std::vector<BufferList*>& newInputs, const std::vector<BufferList*>& newOutputs);

    std::vector<BufferList*> inputs;
    std::vector<BufferList*> outputs;
};
