#pragma once

// The host's transport, copied in before each block.
struct TransportStateStruct
{
    bool playing = false;
    double positionInSamples = 0.0;
    double loopStart = 0.0;  // quarter notes
    double loopEnd = 0.0;    // quarter notes
};
