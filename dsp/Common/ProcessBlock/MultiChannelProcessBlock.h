#pragma once

#include "Common/ProcessBlock/ProcessBlock.h"

// A block that keeps one state per channel and is called once per channel and
// slice, in place.
template <typename P>
class MultiChannelProcessBlock : public ProcessBlock
{
public:
    virtual void process(float* buffer, unsigned long frames, unsigned long channel,
                         P parameters) = 0;
};
