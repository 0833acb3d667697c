// The settings file as a new instance finds it, with any content. Its bytes must
// stay in place or turn up unchanged in "<name>.bad", and the processor must come
// up with settings that name the product. Opened first through the guard alone,
// which writes nothing, then as the processor opens it, which writes the
// product's name into the file when it is not there yet.
#include "FuzzProcessor.h"

#include "Basics/SettingsFileGuard.h"

#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

namespace
{
std::optional<std::string> contentOf(const juce::File& file)
{
    std::ifstream in(file.getFullPathName().toStdString(), std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string { std::istreambuf_iterator<char>(in), {} };
}

juce::File setAside(const juce::File& file, int n)
{
    return juce::File(file.getFullPathName() + ".bad" + (n > 1 ? juce::String(n) : juce::String()));
}

// The input alone in the settings folder.
void place(const juce::File& file, const std::string& input)
{
    for (int n = 1; ::unlink(setAside(file, n).getFullPathName().toRawUTF8()) == 0;)
        ++n;
    std::ofstream(file.getFullPathName().toStdString(), std::ios::binary | std::ios::trunc)
        .write(input.data(), static_cast<std::streamsize>(input.size()));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto& processor = fuzzProcessor();
    const auto file = EffectProcessor::getSettingsFile();
    const std::string input(reinterpret_cast<const char*>(data), size);
    const juce::String product = "ZORVIK Reverb";

    place(file, input);
    juce::PropertiesFile::Options options;
    options.storageFormat = juce::PropertiesFile::storeAsCompressedBinary;
    bool named = false;
    {
        auto settings = SettingsFileGuard::open(file, options);
        if (settings == nullptr)
            std::abort();
        named = settings->getValue("appName") == product;
    }
    const bool kept = contentOf(file) == input;
    const bool movedAside = !kept && contentOf(setAside(file, 1)) == input && !file.exists();
    if (!kept && !movedAside)
        std::abort();

    place(file, input);
    delete processor.settings;
    processor.settings = nullptr;
    processor.setupAppProperties();
    if (processor.settings == nullptr || processor.settings->getValue("appName") != product
        || setAside(file, 1).exists() != movedAside || (kept && named && contentOf(file) != input))
        std::abort();
    return 0;
}
