#include "Preset/UserPresetFiles.h"

UserPresetFiles::UserPresetFiles()
    : openStream([](const juce::File& file) { return std::make_unique<juce::FileOutputStream>(file); }),
      deleteFile([](const juce::File& file) { return file.deleteFile(); })
{
}

bool UserPresetFiles::write(const juce::XmlElement& document, const juce::File& file) const
{
    juce::MemoryOutputStream content;
    document.writeTo(content, {});
    // Its name does not end in the preset extension, so a scan of the folder never
    // lists one that is left behind. It is deleted when it did not take the file's place.
    const juce::TemporaryFile temporary(file.getSiblingFile(file.getFileName() + ".tmp"));
    return writeCompletely(content.getMemoryBlock(), temporary.getFile())
           && temporary.getFile().replaceFileIn(file);
}

bool UserPresetFiles::writeCompletely(const juce::MemoryBlock& content, const juce::File& file) const
{
    {
        auto stream = openStream(file);
        if (stream == nullptr || !stream->openedOk())
            return false;
        const bool written = stream->write(content.getData(), content.getSize());
        stream->flush();
        if (!written || stream->getStatus().failed())
            return false;
    }
    // A short write is not always reported as an error: the size on disk tells.
    return file.getSize() == static_cast<juce::int64>(content.getSize());
}

bool UserPresetFiles::remove(const juce::File& file) const
{
    return deleteFile(file);
}
