#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>
#include <optional>

// Reads a whole file that is a regular file (links are followed) of at most a
// given size. FIFOs, devices, sockets and folders are refused without being read
// or waited for; so is a file that turns out to be longer than the limit while it
// is read, whatever its size said.
class RegularFileReader
{
public:
    static std::optional<juce::MemoryBlock> read(const juce::File& file, size_t maximumBytes);
};
