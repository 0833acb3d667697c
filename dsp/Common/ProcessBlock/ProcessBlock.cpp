#include "Common/ProcessBlock/ProcessBlock.h"

void ProcessBlock::init(int channelCount, double rate)
{
    channels = channelCount;
    sampleRate = rate;
}
