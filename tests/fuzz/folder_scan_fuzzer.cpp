// Preset files whose names are made from the input's bytes (split at the bytes no
// name can hold): the scan lists them without harm, and every preset it lists can be
// chosen and named in a state that restores it again.
#include "FuzzProcessor.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace
{
void writePreset(const juce::File& folder, const std::string& name)
{
    if (name.empty() || name == "." || name == ".." || name.size() > 240)
        return;
    static const std::string content = "<plist><dict><key>RoomSize</key><real>12</real></dict></plist>";
    const auto path = folder.getFullPathName().toStdString() + "/" + name + ".rbprs";
    const int descriptor = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
    if (descriptor >= 0 && ::write(descriptor, content.data(), content.size()) >= 0)
        ::close(descriptor);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto& processor = fuzzProcessor();
    const auto folder = EffectProcessor::getUserPresetFolder();
    // Not the framework's own recursive delete: it reads the names unchecked.
    std::error_code ignored;
    std::filesystem::remove_all(folder.getFullPathName().toStdString(), ignored);
    folder.createDirectory();
    std::string name;
    for (size_t i = 0; i <= size; ++i)
    {
        if (i < size && data[i] != 0 && data[i] != '/')
            name += static_cast<char>(data[i]);
        else
            writePreset(folder, std::exchange(name, {}));
    }

    processor.retrieveUserPresets();
    for (size_t row = 0; row < processor.presetLists[0].size(); ++row)
    {
        processor.currentPresetType = 0;
        processor.setPreset(static_cast<int>(row));
        const auto listed = processor.presetLists[0][row]->name;
        juce::MemoryBlock saved;
        processor.getStateInformation(saved);
        processor.setStateInformation(saved.getData(), static_cast<int>(saved.getSize()));
        if (!processor.restoredPresetFound || processor.currentPreset->name != listed)
            std::abort();
    }
    return 0;
}
