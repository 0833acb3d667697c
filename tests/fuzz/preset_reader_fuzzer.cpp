// A preset file in the user folder: read it with the folder, apply it, process a block.
#include "FuzzProcessor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto& processor = fuzzProcessor();
    const auto folder = EffectProcessor::getUserPresetFolder();
    folder.createDirectory();
    folder.getChildFile("Fuzz.rbprs").replaceWithData(data, size);
    processor.retrieveUserPresets();
    processor.setPreset("FUZZ", true);
    processor.processNoise();
    return 0;
}
