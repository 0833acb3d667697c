#pragma once

#include <cstdint>

// The host's tempo, time signature and position, copied in before each block.
struct MusicalContextStruct
{
    double tempo = 120.0;  // beats per minute
    double timeSignatureNumerator = 4.0;
    std::int64_t timeSignatureDenominator = 4;
    double positionInQuarterNotes = 0.0;
};
