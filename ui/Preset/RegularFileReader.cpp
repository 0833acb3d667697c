#include "Preset/RegularFileReader.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
bool isRegular(const struct stat& info)
{
    return S_ISREG(info.st_mode);
}

// At most maximumBytes from the descriptor; nothing when there is more or a read fails.
std::optional<juce::MemoryBlock> readAtMost(int descriptor, size_t maximumBytes)
{
    juce::MemoryOutputStream content;
    char chunk[16384];
    for (;;)
    {
        const auto count = ::read(descriptor, chunk, sizeof(chunk));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return std::nullopt;
        if (count == 0)
            return content.getMemoryBlock();
        if (content.getDataSize() + static_cast<size_t>(count) > maximumBytes)
            return std::nullopt;
        content.write(chunk, static_cast<size_t>(count));
    }
}
} // namespace

std::optional<juce::MemoryBlock> RegularFileReader::read(const juce::File& file, size_t maximumBytes)
{
    const auto* path = file.getFullPathName().toRawUTF8();
    struct stat info {};
    // Checked before opening, so that no device is ever opened, and again on the open
    // file, in case the name was replaced in between. O_NONBLOCK keeps a FIFO from
    // blocking the open.
    if (::stat(path, &info) != 0 || !isRegular(info))
        return std::nullopt;
    const int descriptor = ::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return std::nullopt;
    std::optional<juce::MemoryBlock> content;
    // A file that says it is too long is refused unread.
    if (::fstat(descriptor, &info) == 0 && isRegular(info) && static_cast<uintmax_t>(info.st_size) <= maximumBytes)
        content = readAtMost(descriptor, maximumBytes);
    ::close(descriptor);
    return content;
}
