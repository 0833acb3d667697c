#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>
#include <optional>

// Reads a whole file that is a regular file (links are followed) of at most a
// given size. FIFOs, devices, sockets and folders are refused without being read
// or waited for; so is a file whose size is beyond the limit (without being read),
// or that turns out to be longer than the limit while it is read.
class RegularFileReader
{
public:
    static std::optional<juce::MemoryBlock> read(const juce::File& file, size_t maximumBytes);
};
