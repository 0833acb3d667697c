#pragma once

#include "Common/ProcessBlock/ProcessBlock.h"

// A block that treats one signal in place. P holds the block's controls, each a
// scalar and an optional per-sample buffer.
template <typename P>
class MonoProcessBlock : public ProcessBlock
{
public:
    virtual void process(float* buffer, unsigned long frames, P parameters) = 0;
};
