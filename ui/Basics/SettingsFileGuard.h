#pragma once

#include <juce_data_structures/juce_data_structures.h>

#include <cstddef>
#include <memory>

// Opens the per-user settings file as a juce::PropertiesFile, checking it first.
// The framework reads the file in the PropertiesFile constructor with no bounds:
// a FIFO blocks it, and its XML reader can loop, recurse, read past its buffers or
// read the files a DOCTYPE names. So the file is read here once, as a regular file
// of bounded size, and handed to the framework only when its content is what the
// framework reads safely: the binary form (magic "PROP"), the compressed binary
// form (magic "CPRP" and a complete zlib stream) or plain XML. Anything else is
// moved aside, keeping its bytes, as "<name>.bad", ".bad2", ... and a fresh file
// is started; when it cannot be moved aside there is no settings file at all.
class SettingsFileGuard
{
public:
    // Generous for a file that holds a handful of short values.
    static constexpr size_t maximumFileBytes = 1 << 20;
    static constexpr size_t maximumUnpackedBytes = 1 << 20;  // the compressed form's content
    static constexpr int maximumValues = 1024;                // pairs read, or XML elements in the root
    static constexpr int maximumSetAside = 100;               // ".bad" to ".bad100"
    // The framework first reads only an XML file's first 8 KiB, to check the root's
    // name, and reads past them when they end inside a character or a reference: the
    // root's start tag must end within them.
    static constexpr size_t maximumRootStartTagEnd = 8192;

    // The settings in the file, or a fresh set when the file is missing or was moved
    // aside; nullptr when a file that may not be read could not be moved aside.
    static std::unique_ptr<juce::PropertiesFile> open(const juce::File& file,
                                                      const juce::PropertiesFile::Options& options);

    // Whether the framework may read a settings file with this content.
    static bool isReadable(const void* data, size_t size);

    // Renames the entry (whatever it is) to the first free name of ".bad", ".bad2",
    // ... ".bad<maximumSetAside>", never replacing one; false when that fails.
    static bool setAside(const juce::File& file);
};
