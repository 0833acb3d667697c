#include "Basics/SettingsFileGuard.h"

#include "Preset/RegularFileReader.h"
#include "Preset/SafeText.h"
#include "Preset/SafeXmlReader.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace
{
// The content of the binary form after its magic, read as the framework's loop
// reads it: an int count, then, while the count lasts and bytes remain, a key and
// a value, each up to a zero byte or the end. Each string becomes a juce::String,
// so it must be valid UTF-8. The framework never writes a count that is cut short
// or negative, and its loop's decrement would overflow on the lowest one.
bool isReadablePayload(const char* data, size_t size)
{
    if (size < 4)
        return false;
    auto remaining = static_cast<int>(juce::ByteOrder::littleEndianInt(data));
    if (remaining < 0)
        return false;

    size_t offset = 4;
    const auto readString = [&]
    {
        const auto* begin = data + offset;
        const auto* end = std::find(begin, data + size, '\0');
        offset = static_cast<size_t>(end - data) + (end < data + size ? 1 : 0);
        return SafeText::isValidUtf8(begin, static_cast<size_t>(end - begin));
    };
    for (int values = 0; --remaining >= 0 && offset < size;)
        if (++values > SettingsFileGuard::maximumValues || !readString() || !readString())
            return false;
    return true;
}

// The whole zlib stream (the framework's own format: zlib header, window bits 15),
// or nothing when it is cut short, corrupt, needs a dictionary or unpacks to more
// than the limit.
std::optional<std::vector<char>> unpack(const char* data, size_t size)
{
    std::vector<char> unpacked(SettingsFileGuard::maximumUnpackedBytes + 1);
    z_stream stream {};
    if (inflateInit(&stream) != Z_OK)
        return std::nullopt;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
    stream.avail_in = static_cast<uInt>(size);
    stream.next_out = reinterpret_cast<Bytef*>(unpacked.data());
    stream.avail_out = static_cast<uInt>(unpacked.size());
    const int result = inflate(&stream, Z_FINISH);
    const size_t produced = unpacked.size() - stream.avail_out;
    inflateEnd(&stream);
    if (result != Z_STREAM_END || produced > SettingsFileGuard::maximumUnpackedBytes)
        return std::nullopt;
    unpacked.resize(produced);
    return unpacked;
}

// Where the root element's start tag of a well-formed document ends, with no
// DOCTYPE or processing instruction before it: past a byte-order mark, an XML
// declaration, white space and comments, then up to the first '>' outside quotes.
size_t endOfRootStartTag(std::string_view text)
{
    size_t at = text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    for (;;)
    {
        at = text.find('<', at);
        if (at == std::string_view::npos)
            return text.size();
        if (text.compare(at, 5, "<?xml") == 0)
            at = text.find("?>", at);
        else if (text.compare(at, 4, "<!--") == 0)
            at = text.find("-->", at);
        else
            break;
    }
    char quote = 0;
    for (; at < text.size(); ++at)
    {
        const char c = text[at];
        if (quote != 0)
            quote = c == quote ? 0 : quote;
        else if (c == '"' || c == '\'')
            quote = c;
        else if (c == '>')
            return at + 1;
    }
    return text.size();
}

// Whether the name is taken by anything, a dangling link included. A name that
// cannot be looked up counts as missing: the framework sees no file there either.
bool exists(const juce::File& file)
{
    struct stat info {};
    return ::lstat(file.getFullPathName().toRawUTF8(), &info) == 0;
}

bool isReadableFile(const juce::File& file)
{
    const auto content = RegularFileReader::read(file, SettingsFileGuard::maximumFileBytes);
    return content.has_value() && SettingsFileGuard::isReadable(content->getData(), content->getSize());
}

// Leaves errno at EEXIST when the target is taken.
bool renameWithoutReplacing(const char* from, const char* to)
{
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the flag: only a name taken between the check and the
    // rename can still be replaced.
    struct stat info {};
    if (::lstat(to, &info) == 0)
    {
        errno = EEXIST;
        return false;
    }
    return errno == ENOENT && ::rename(from, to) == 0;
}
} // namespace

bool SettingsFileGuard::isReadable(const void* data, size_t size)
{
    const auto* bytes = static_cast<const char*>(data);
    if (size >= 4 && std::memcmp(bytes, "PROP", 4) == 0)
        return isReadablePayload(bytes + 4, size - 4);
    if (size >= 4 && std::memcmp(bytes, "CPRP", 4) == 0)
    {
        const auto unpacked = unpack(bytes + 4, size - 4);
        return unpacked.has_value() && isReadablePayload(unpacked->data(), unpacked->size());
    }
    const auto root = SafeXmlReader::parsePlain(data, size);
    return root != nullptr && root->getNumChildElements() <= maximumValues
           && endOfRootStartTag({ bytes, size }) <= maximumRootStartTagEnd;
}

bool SettingsFileGuard::setAside(const juce::File& file)
{
    const auto path = file.getFullPathName();
    for (int n = 1; n <= maximumSetAside; ++n)
    {
        const auto aside = path + ".bad" + (n > 1 ? juce::String(n) : juce::String());
        if (renameWithoutReplacing(path.toRawUTF8(), aside.toRawUTF8()))
            return true;
        if (errno != EEXIST)
            return false;
    }
    return false;
}

std::unique_ptr<juce::PropertiesFile> SettingsFileGuard::open(const juce::File& file,
                                                              const juce::PropertiesFile::Options& options)
{
    if (exists(file) && !isReadableFile(file) && !setAside(file))
        return nullptr;
    auto settings = std::make_unique<juce::PropertiesFile>(file, options);
    if (settings->isValidFile())
        return settings;

    // The framework could not read what passed the check (XML whose root is not
    // PROPERTIES, say). Having loaded no change, it writes nothing when destroyed.
    settings.reset();
    if (!setAside(file))
        return nullptr;
    return std::make_unique<juce::PropertiesFile>(file, options);
}
