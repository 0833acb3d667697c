#pragma once

#include "Common/ProcessBlock/ProcessBlock.h"

// The base of the engine's downward compressors; the ducker is the only one.
class LegacyCompressor : public ProcessBlock
{
public:
    ~LegacyCompressor() override;
};
