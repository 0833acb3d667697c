#pragma once

#include <juce_core/juce_core.h>

#include <functional>
#include <memory>

// Writes and deletes user preset files. A preset file is replaced only once its
// new content is completely on disk: the document goes to a temporary file beside
// it, whose size is checked after flushing, and only then takes the file's place.
class UserPresetFiles
{
public:
    UserPresetFiles();

    // Writes the document, with its XML declaration, to the file. False when the
    // content did not reach the disk completely; an existing file is then untouched.
    bool write(const juce::XmlElement& document, const juce::File& file) const;

    // Deletes the file; false when it could not be deleted.
    bool remove(const juce::File& file) const;

    // How a file is opened for writing and how one is deleted. Replaceable, so that
    // full or failing disks can be simulated.
    std::function<std::unique_ptr<juce::FileOutputStream>(const juce::File&)> openStream;
    std::function<bool(const juce::File&)> deleteFile;

private:
    bool writeCompletely(const juce::MemoryBlock& content, const juce::File& file) const;
};
