#pragma once

#include "Common/Parameters/Parameter.h"
#include "Common/Parameters/ParameterBufferList.h"

#include <vector>

// The ordered parameter records of a product; a record's index is its
// identifier. The list owns its records. Products derive from it and fill the rows.
class ParameterList : public std::vector<Parameter*>
{
public:
    explicit ParameterList(int count);
    virtual ~ParameterList();
    ParameterList(const ParameterList&) = delete;
    ParameterList& operator=(const ParameterList&) = delete;

    virtual std::vector<unsigned long> getFavourites() = 0;
    virtual std::vector<unsigned long> getUnrandomizable();

    // Audio thread, at the start of every block: starts the ramps requested
    // since the last block.
    void prepareParameters(unsigned long rampLength);
    // Audio thread, next: renders every ramped parameter's values for the block
    // (at most 4096 frames) and publishes the rewritten buffers.
    void checkOutBuffers(unsigned long frames, ParameterBufferList* buffers);
};
