// A host state block: restore it, save the state again, process a block. Whatever
// the processor takes, it saves in a form that it takes again with the same values
// and saves again byte for byte.
#include "FuzzProcessor.h"

#include <vector>

namespace
{
std::vector<float> hostValues(EffectProcessor& processor)
{
    std::vector<float> values;
    for (auto* parameter : processor.getParameters())
        values.push_back(parameter->getValue());
    return values;
}

juce::MemoryBlock restoreAndSave(EffectProcessor& processor, const void* data, size_t size)
{
    processor.parameters.replaceState(processor.defaultState.createCopy());
    processor.stateRestored = false;
    processor.setStateInformation(data, static_cast<int>(size));
    juce::MemoryBlock saved;
    processor.getStateInformation(saved);
    return saved;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto& processor = fuzzProcessor();
    const auto saved = restoreAndSave(processor, data, size);
    if (processor.stateRestored)
    {
        const auto values = hostValues(processor);
        const auto again = restoreAndSave(processor, saved.getData(), saved.getSize());
        if (!processor.stateRestored || hostValues(processor) != values || again != saved)
            std::abort();
    }
    processor.processNoise();
    return 0;
}
