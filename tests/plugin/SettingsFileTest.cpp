// The settings file: its place under the XDG configuration folder and its content.
#include "PluginTestSupport.h"

#include "Basics/SettingsFileGuard.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace zorvik_test;

namespace
{
// While set, renameat2 answers as on a file system that lacks RENAME_NOREPLACE.
std::atomic<bool> noReplaceUnsupported { false };
} // namespace

extern "C" int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned int flags) noexcept
{
    if (noReplaceUnsupported && (flags & RENAME_NOREPLACE) != 0)
    {
        errno = EINVAL;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_renameat2, fromFolder, from, toFolder, to, flags));
}

TEST(SettingsFile, LivesInTheConfigurationFolderAndNamesTheProduct)
{
    ScopedHome home;
    const auto dotConfig = home.folder.getChildFile(".config");
    const auto custom = home.folder.getChildFile("elsewhere");
    // XDG_CONFIG_HOME when it is absolute, else ~/.config.
    const std::pair<juce::String, juce::File> cases[] = { { dotConfig.getFullPathName(), dotConfig },
                                                          { custom.getFullPathName(), custom },
                                                          { "relative/path", dotConfig },
                                                          { {}, dotConfig } };
    for (const auto& [config, base] : cases)
    {
        SCOPED_TRACE(config.toStdString());
        if (config.isEmpty())
            unsetenv("XDG_CONFIG_HOME");
        else
            setenv("XDG_CONFIG_HOME", config.toRawUTF8(), 1);
        const auto expected = base.getChildFile("ZORVIK/ZORVIK Reverb/ZORVIK Reverb.settings");
        {
            ReverbProcessor first, second; // two instances share the file
            EXPECT_EQ(first.settings->getFile(), expected);
        }
        juce::PropertiesFile::Options options;
        options.storageFormat = juce::PropertiesFile::storeAsCompressedBinary;
        EXPECT_EQ(juce::PropertiesFile(expected, options).getValue("appName"), "ZORVIK Reverb");
    }
    EXPECT_FALSE(home.folder.getChildFile("ZORVIK").exists()) << "nothing in the home folder itself";
}

namespace
{
using Guard = SettingsFileGuard;
using Pairs = std::vector<std::pair<std::string, std::string>>;
constexpr auto asBinary = juce::PropertiesFile::storeAsBinary;
constexpr auto asCompressed = juce::PropertiesFile::storeAsCompressedBinary;
constexpr auto asXml = juce::PropertiesFile::storeAsXML;

std::string readBytes(const juce::File& file)
{
    std::ifstream in(file.getFullPathName().toStdString(), std::ios::binary);
    return { std::istreambuf_iterator<char>(in), {} };
}

void writeBytes(const juce::File& file, const std::string& bytes)
{
    std::ofstream out(file.getFullPathName().toStdString(), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

juce::File setAside(const juce::File& file, int n)
{
    return juce::File(file.getFullPathName() + ".bad" + (n > 1 ? juce::String(n) : juce::String()));
}

// What a folder entry is: a file with its bytes, a link with its target, or its kind.
std::string describe(const juce::File& entry)
{
    const auto path = entry.getFullPathName().toStdString();
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return "missing";
    char target[256] {};
    if (S_ISLNK(info.st_mode) && ::readlink(path.c_str(), target, sizeof target - 1) >= 0)
        return "link to " + std::string(target);
    if (S_ISREG(info.st_mode))
        return "file " + readBytes(entry);
    return S_ISDIR(info.st_mode) ? "folder" : S_ISFIFO(info.st_mode) ? "fifo" : "other";
}

// The binary form after its magic: the count, then zero-terminated keys and values.
std::string payload(const Pairs& pairs, std::optional<int> count = {})
{
    const auto n = static_cast<uint32_t>(count.value_or(static_cast<int>(pairs.size())));
    std::string bytes { char(n), char(n >> 8), char(n >> 16), char(n >> 24) };
    for (const auto& [key, value] : pairs)
        bytes += key + '\0' + value + '\0';
    return bytes;
}

std::string zlib(const std::string& bytes)
{
    juce::MemoryOutputStream out;
    juce::GZIPCompressorOutputStream(out, 9).write(bytes.data(), bytes.size());
    return { static_cast<const char*>(out.getData()), out.getDataSize() };
}

// The file as the framework writes it.
std::string written(juce::PropertiesFile::StorageFormat format, const Pairs& pairs)
{
    juce::TemporaryFile temporary;
    juce::PropertiesFile::Options options;
    options.storageFormat = format;
    options.millisecondsBeforeSaving = -1;
    juce::PropertiesFile file(temporary.getFile(), options);
    for (const auto& [key, value] : pairs)
        file.setValue(juce::String(key), juce::String(value));
    file.save();
    return readBytes(temporary.getFile());
}

// The product's name and count - 1 more values.
Pairs withValues(int count)
{
    Pairs pairs { { "appName", "ZORVIK Reverb" } };
    for (int i = 1; i < count; ++i)
        pairs.emplace_back("key " + std::to_string(i), "value " + std::to_string(i));
    return pairs;
}

// The product's name and one long value, the binary form's content exactly this long.
Pairs filling(size_t bytes)
{
    Pairs pairs { { "appName", "ZORVIK Reverb" }, { "long", "" } };
    pairs[1].second.assign(bytes - payload(pairs).size(), 'x');
    return pairs;
}

// XML whose root's start tag ends at the given byte, after a comment.
std::string lateRoot(size_t end)
{
    const std::string root = "<PROPERTIES>";
    return "<!--" + std::string(end - 7 - root.size(), ' ') + "-->" + root
           + R"(<VALUE name="appName" val="ZORVIK Reverb"/></PROPERTIES>)";
}

juce::File emptySettingsFolder()
{
    const auto file = EffectProcessor::getSettingsFile();
    file.getParentDirectory().deleteRecursively();
    file.getParentDirectory().createDirectory();
    return file;
}
} // namespace

TEST(SettingsFile, FilesInTheFrameworksFormsAreReadAndKept)
{
    ScopedHome home;
    const auto two = withValues(2), most = withValues(Guard::maximumValues);
    const auto xml = written(asXml, two);
    auto commented = xml;
    commented.replace(commented.find("<PROPERTIES>"), 12, "<!-- mine -->\n<PROPERTIES><!-- and here -->");
    const auto longestFile = filling(Guard::maximumFileBytes - 4);
    const auto longestContent = filling(Guard::maximumUnpackedBytes);
    const std::tuple<const char*, Pairs, std::string> rows[] = {
        { "binary", two, written(asBinary, two) },
        { "compressed", two, written(asCompressed, two) },
        { "XML", two, xml },
        { "XML with comments", two, commented },
        { "root's start tag ending at its limit", withValues(1), lateRoot(Guard::maximumRootStartTagEnd) },
        { "longest file", longestFile, "PROP" + payload(longestFile) },
        { "longest content", longestContent, "CPRP" + zlib(payload(longestContent)) },
        { "most values, binary", most, written(asBinary, most) },
        { "most values, compressed", most, written(asCompressed, most) },
        { "most values, XML", most, written(asXml, most) },
    };
    for (const auto& [label, values, bytes] : rows)
    {
        SCOPED_TRACE(label);
        const auto file = emptySettingsFolder();
        writeBytes(file, bytes);
        {
            ReverbProcessor processor;
            ASSERT_NE(processor.settings, nullptr);
            EXPECT_EQ(processor.settings->getAllProperties().size(), static_cast<int>(values.size()));
            for (const auto& [key, value] : values)
                ASSERT_EQ(processor.settings->getValue(juce::String(key)), juce::String(value)) << key;
        }
        EXPECT_TRUE(readBytes(file) == bytes);
        EXPECT_FALSE(setAside(file, 1).exists());
    }
}

TEST(SettingsFile, AnythingElseIsMovedAsideAndAFreshFileStarted)
{
    ScopedHome home;
    using Make = std::function<void(const juce::File&)>;
    const auto bytes = [](std::string content) -> Make { return [=](auto& file) { writeBytes(file, content); }; };
    const auto link = [](std::string target) -> Make
    { return [=](auto& file) { ASSERT_EQ(::symlink(target.c_str(), file.getFullPathName().toRawUTF8()), 0); }; };
    const auto compressed = written(asCompressed, withValues(2));
    auto wrongChecksum = compressed;
    wrongChecksum.back() ^= 1;
    std::string deep = "<PROPERTIES>";
    for (int i = 0; i < 300000; ++i)
        deep += "<a>";
    const std::pair<const char*, Make> rows[] = {
        { "FIFO", [](auto& file) { ASSERT_EQ(::mkfifo(file.getFullPathName().toRawUTF8(), 0600), 0); } },
        { "folder", [](auto& file) { ASSERT_TRUE(file.createDirectory()); } },
        { "link to a device", link("/dev/zero") },
        { "dangling link", link("nowhere") },
        { "empty", bytes("") },
        { "instruction before text", bytes("<PROPERTIES><?" "?>R") },
        { "well-formed instruction before text", bytes("<PROPERTIES><?x y?>R</PROPERTIES>") },
        { "blank lines only", bytes("\n \n\t") },
        { "invalid UTF-8 in an instruction", bytes("<?<?xml\xF7") },
        { "invalid UTF-8 in an element", bytes("<PROPERTIES>\xFF") },
        { "invalid UTF-8 in a document declared Latin-1",
          bytes("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><PROPERTIES><VALUE name=\"appName\" val=\"\xE9\"/></PROPERTIES>") },
        { "deep nesting", bytes(deep) },
        { "self-referencing entity", bytes(R"(<!DOCTYPE PROPERTIES [<!ENTITY a "&a;">]><PROPERTIES a="&a;"/>)") },
        { "external DTD", bytes(R"(<!DOCTYPE PROPERTIES SYSTEM "/dev/zero"><PROPERTIES/>)") },
        { "other root", bytes("<OTHER/>") },
        { "root's start tag ending too late", bytes(lateRoot(Guard::maximumRootStartTagEnd + 1)) },
        // The framework's first look at the file ends inside a character or a reference.
        { "character cut at 8 KiB", bytes(R"(<PROPERTIES a=")" + std::string(8190 - 15, ' ') + "\u20AC\"/>") },
        { "reference cut at 8 KiB", bytes(R"(<PROPERTIES a=")" + std::string(8189 - 15, ' ') + R"(&#x41;"/>)") },
        { "file too long", bytes("PROP" + payload(filling(Guard::maximumFileBytes - 3))) },
        { "compression bomb", bytes("CPRP" + zlib(payload(filling(Guard::maximumUnpackedBytes + 1)))) },
        { "too many values, binary", bytes(written(asBinary, withValues(Guard::maximumValues + 1))) },
        { "too many values, compressed", bytes(written(asCompressed, withValues(Guard::maximumValues + 1))) },
        { "too many values, XML", bytes(written(asXml, withValues(Guard::maximumValues + 1))) },
        { "compressed stream cut short", bytes(compressed.substr(0, compressed.size() - 5)) },
        { "compressed stream, wrong checksum", bytes(wrongChecksum) },
        { "compressed stream needing a dictionary", bytes(std::string("CPRP\x78\xBB\0\0\0\1\x03\0", 12)) },
        { "invalid UTF-8 in a binary value", bytes("PROP" + payload({ { "appName", "\xC3\x28" } })) },
        { "lowest count", bytes("PROP" + payload(withValues(1), INT_MIN)) },
        { "count cut short", bytes("PROP\1") },
    };
    const auto fresh = written(asCompressed, withValues(1));
    for (const auto& [label, make] : rows)
    {
        SCOPED_TRACE(label);
        const auto file = emptySettingsFolder();
        // A second bad file goes to ".bad2", leaving ".bad" as it was.
        for (int round = 1; round <= 2; ++round)
        {
            make(file);
            const auto bad = describe(file);
            {
                ReverbProcessor processor;
                ASSERT_NE(processor.settings, nullptr);
            }
            EXPECT_TRUE(describe(setAside(file, 1)) == bad);
            EXPECT_TRUE(describe(setAside(file, round)) == bad);
            EXPECT_EQ(readBytes(file), fresh);
            ASSERT_TRUE(file.deleteFile());
        }
        EXPECT_FALSE(setAside(file, 3).exists());
    }
}

// Every name for moving a bad file aside is taken: the framework must not read the
// file, so the processor has none (nothing it does needs one).
TEST(SettingsFile, ABadFileThatCannotBeMovedAsideLeavesNoSettings)
{
    ScopedHome home;
    for (const std::string bad : { "<PROPERTIES>\xFF", "<OTHER/>" })
    {
        SCOPED_TRACE(bad);
        const auto file = emptySettingsFolder();
        for (int n = 1; n <= Guard::maximumSetAside; ++n)
            writeBytes(setAside(file, n), std::to_string(n));
        writeBytes(file, bad);
        EXPECT_EQ(ReverbProcessor().settings, nullptr);
        EXPECT_EQ(readBytes(file), bad);
        for (int n = 1; n <= Guard::maximumSetAside; ++n)
            ASSERT_EQ(readBytes(setAside(file, n)), std::to_string(n));
        EXPECT_FALSE(setAside(file, Guard::maximumSetAside + 1).exists());
    }
}

// On a file system that cannot rename without replacing, a bad file still goes to
// the first free name and never over an earlier one.
TEST(SettingsFile, WithoutNoReplaceRenamesABadFileStillReplacesNone)
{
    ScopedHome home;
    const auto file = emptySettingsFolder();
    noReplaceUnsupported = true;
    for (const std::string bad : { "<PROPERTIES>\xFF", "<OTHER/>" })
    {
        writeBytes(file, bad);
        EXPECT_NE(ReverbProcessor().settings, nullptr);
    }
    noReplaceUnsupported = false;
    EXPECT_EQ(readBytes(setAside(file, 1)), "<PROPERTIES>\xFF");
    EXPECT_EQ(readBytes(setAside(file, 2)), "<OTHER/>");
    EXPECT_EQ(readBytes(file), written(asCompressed, withValues(1)));
}
