// A host state block: restore it, save the state again, process a block.
#include "FuzzProcessor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto& processor = fuzzProcessor();
    processor.parameters.replaceState(processor.defaultState.createCopy());
    processor.setStateInformation(data, static_cast<int>(size));
    juce::MemoryBlock saved;
    processor.getStateInformation(saved);
    processor.processNoise();
    return 0;
}
