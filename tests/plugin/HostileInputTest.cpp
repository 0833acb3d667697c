// State blocks and preset files from outside: everything written before reads as
// it always did, and broken, hostile or special input never hangs, crashes or
// changes anything.
#include "PluginTestSupport.h"

#include "Basics/UserFolders.h"
#include "Preset/PresetReader.h"
#include "Preset/SafeXmlReader.h"

#include <BinaryData.h>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zorvik_test;

namespace
{
juce::MemoryBlock bytes(const std::string& text)
{
    return { text.data(), text.size() };
}

// A state block framed as the host gets it; the length may differ from the text's.
juce::MemoryBlock stateBlock(const std::string& text, std::optional<juce::uint32> length = {})
{
    juce::MemoryOutputStream out;
    out.write("VC2!", 4);
    out.writeInt(static_cast<int>(length.value_or(static_cast<juce::uint32>(text.size()))));
    out.write(text.data(), text.size());
    return out.getMemoryBlock();
}

const std::string laughs = "<!DOCTYPE p [<!ENTITY a \"ha\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                           "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">]>";
const std::string dict = "<dict><key>RoomSize</key><real>12</real></dict>";

// Bodies that once hung the host, read past their end, or would recurse or expand
// without bound. Each is tried as a preset file and inside a state block.
const std::pair<const char*, std::string> hostileXml[] = {
    { "processing instruction before text", "<Parameters><?x?>b</Parameters>" },
    { "character reference cut short", "<Parameters>&#x" },
    { "unknown entity", "<Parameters><PARAM id=\"RoomSize\" value=\"&zz;\"/></Parameters>" },
    { "entities declared in the document", laughs + "<Parameters PresetName=\"&c;\">" + dict + "</Parameters>" },
    { "deep nesting", "<Parameters>" + juce::String::repeatedString("<a>", 200000).toStdString() },
    { "bad UTF-8", "<Parameters PresetName=\"\xFF\"><PARAM id=\"RoomSize\" value=\"12\"/></Parameters>" },
    { "text only", "<Parameters>b</Parameters>" },
    { "blank lines only", "\n \n\t" },
    { "entity a named DTD would declare",
      "<!DOCTYPE Parameters SYSTEM \"p.dtd\"><Parameters><PARAM id=\"RoomSize\" value=\"12\"/>&e;</Parameters>" },
    { "markup inside CDATA", "<Parameters><![CDATA[<PARAM id=\"RoomSize\" value=\"12\"/>]]></Parameters>" },
};

// A document of exactly the given size: head, a comment, tail.
std::string padded(size_t bytes, const std::string& head, const std::string& tail)
{
    return head + "<!--" + std::string(bytes - head.size() - tail.size() - 7, 'x') + "-->" + tail;
}

class HostileInput : public PresetFolderTest
{
protected:
    // A file whose name is the given bytes, as an archive from another system leaves them.
    void writeRaw(const std::string& name, const std::string& content, off_t size = -1)
    {
        folder.createDirectory();
        const auto path = folder.getFullPathName().toStdString() + "/" + name;
        const int descriptor = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
        ASSERT_GE(descriptor, 0) << path;
        EXPECT_EQ(::write(descriptor, content.data(), content.size()), static_cast<ssize_t>(content.size()));
        EXPECT_EQ(::ftruncate(descriptor, size < 0 ? static_cast<off_t>(content.size()) : size), 0);
        ::close(descriptor);
    }
};
} // namespace

// The factory presets read exactly as the framework's own XML reader reads them.
TEST_F(HostileInput, FactoryFilesReadExactlyAsBefore)
{
    juce::ZipFile archive(new juce::MemoryInputStream(BinaryData::Presets_zip,
                                                      static_cast<size_t>(BinaryData::Presets_zipSize), false),
                          true);
    ASSERT_EQ(archive.getNumEntries(), 28);
    for (int i = 0; i < archive.getNumEntries(); ++i)
    {
        juce::MemoryBlock content;
        std::unique_ptr<juce::InputStream>(archive.createStreamForEntry(i))->readIntoMemoryBlock(content);
        const auto before = juce::XmlDocument::parse(content.toString());
        const auto now = SafeXmlReader::parse(content.getData(), content.getSize());
        ASSERT_TRUE(before != nullptr && now != nullptr) << archive.getEntry(i)->filename;
        EXPECT_TRUE(now->isEquivalentTo(before.get(), false)) << archive.getEntry(i)->filename;
    }
}

TEST_F(HostileInput, BrokenStateBlocksChangeNothing)
{
    std::vector<std::pair<std::string, juce::MemoryBlock>> blocks;
    for (const auto& [what, xml] : hostileXml)
        blocks.emplace_back(what, stateBlock(xml));
    const std::string good = "<Parameters PresetName=\"HALL\"><PARAM id=\"RoomSize\" value=\"12\"/></Parameters>";
    blocks.emplace_back("length past the end", stateBlock(good, static_cast<juce::uint32>(good.size() + 1)));
    blocks.emplace_back("length past the end, bad UTF-8", bytes("VC2!\"?> <e e=\"\xFF"));

    ReverbProcessor processor;
    processor.prepareToPlay(44100.0, 256);
    ASSERT_TRUE(processor.setPreset("CATHEDRAL", true));
    setPlainValue(processor, "RoomSize", 33.0f);
    const auto before = saveState(processor);
    // Blocks broken in plainer ways: empty, cut short, not ours, lying about their
    // length, random bytes, far too large.
    blocks.emplace_back("empty", juce::MemoryBlock());
    for (const size_t length : { size_t(1), size_t(4), size_t(8), size_t(9), before.getSize() / 2, before.getSize() - 2 })
        blocks.emplace_back("cut to " + std::to_string(length), juce::MemoryBlock(before.getData(), length));
    blocks.emplace_back("foreign root", stateBlock("<NotOurs a=\"1\"/>"));
    blocks.emplace_back("the meter only", stateBlock("<Parameters><PARAM id=\"DuckerMeter\" value=\"50\"/></Parameters>"));
    blocks.emplace_back("claims two gigabytes", stateBlock(good, 0x7f7f7f7fu));
    juce::MemoryBlock garbage(4096);
    juce::Random(42).fillBitsRandomly(garbage.getData(), garbage.getSize());
    blocks.emplace_back("random bytes", garbage);
    blocks.emplace_back("huge", bytes(std::string(32 * 1024 * 1024, 'x')));
    for (const auto& [what, block] : blocks)
    {
        processor.setStateInformation(block.getData(), static_cast<int>(block.getSize()));
        EXPECT_EQ(saveState(processor), before) << what;
        EXPECT_FALSE(processor.stateRestored) << what;
    }
    juce::AudioBuffer<float> buffer(2, 256);
    fillNoise(buffer, 3);
    process(processor, buffer);
    EXPECT_TRUE(allFinite(buffer));
}

// Skipped, or read as before: a root without pairs is a preset of defaults.
TEST_F(HostileInput, BrokenPresetFilesNeverCarryValues)
{
    for (size_t i = 0; i < std::size(hostileXml); ++i)
        write("Hostile " + juce::String(static_cast<int>(i)) + ".rbprs", hostileXml[i].second);
    write("Cut short.rbprs", "<f>&#x");
    write("Instruction.rbprs", "<a><?x?>b</a>");
    write("Good.rbprs", "<plist>" + dict + "</plist>");
    ReverbProcessor processor;
    for (const auto* preset : processor.presetLists[0])
        if (preset->name == "GOOD")
            EXPECT_FLOAT_EQ(treeValue(preset->state, "RoomSize"), 12.0f);
        else
            EXPECT_TRUE(preset->state.isEquivalentTo(processor.defaultState)) << preset->name;
    EXPECT_TRUE(processor.setPreset("GOOD", false));
}

// A FIFO would block the reading, a link to a device would be read without end:
// only regular files (links to them included) up to the read limit are read, a 2 GB
// file (sparse) is refused by its size alone, and reading stops at the limit.
TEST_F(HostileInput, OnlyRegularFilesUpToTheReadLimitAreRead)
{
    write("Good.rbprs", "<plist>" + dict + "</plist>");
    ASSERT_EQ(mkfifo(folder.getChildFile("Fifo.rbprs").getFullPathName().toRawUTF8(), 0600), 0);
    ASSERT_TRUE(juce::File("/dev/zero").createSymbolicLink(folder.getChildFile("Zero.rbprs"), true));
    ASSERT_TRUE(folder.getChildFile("Good.rbprs").createSymbolicLink(folder.getChildFile("Linked.rbprs"), true));
    const std::string head = "<plist>" + dict, tail = "</plist>";
    write("Inside.rbprs", padded(PresetReader::maximumFileBytes, head, tail));
    write("Beyond.rbprs", padded(PresetReader::maximumFileBytes + 1, head, tail));
    writeRaw("Huge.rbprs", "<plist>", off_t(2) << 30);
    // Regular files whose size says nothing: one yields far more than it says, one fails to read.
    ASSERT_TRUE(juce::File("/proc/self/pagemap").createSymbolicLink(folder.getChildFile("Endless.rbprs"), true));
    ASSERT_TRUE(juce::File("/proc/self/mem").createSymbolicLink(folder.getChildFile("Unreadable.rbprs"), true));
    ReverbProcessor processor;
    juce::StringArray names;
    for (const auto* preset : processor.presetLists[0])
        names.add(preset->name);
    EXPECT_EQ(names.joinIntoString(", "), "GOOD, INSIDE, LINKED");
}

// File names come as bytes. One that is not valid UTF-8 never becomes a string (the
// framework would write past its buffer); one that XML cannot carry is not listed,
// since a state naming it could not be read back. Tabs and line breaks can be
// carried: those presets stay, and a saved state finds them again.
TEST_F(HostileInput, PresetFileNamesAreListedOnlyWhenAStateCanCarryThem)
{
    const std::string preset = "<plist>" + dict + "</plist>";
    for (const char* name : { "A\x80" "B", "\xC0\xAF", "\xED\xA0\x80", "\xFF", "A\xE2\x82", "\xF4\x90\x80\x80",
                              "A\x01" "B", "A\x1F" "B", "A\xEF\xBF\xBE", "A\xEF\xBF\xBF" })
        writeRaw(std::string(name) + ".rbprs", preset);
    for (const char* name : { "Tab\tName", "Line\nBreak", "Carriage\rReturn", "\xC3\xBF", "~root",
                              "Tom & Jerry's Caf\xC3\xA9 <1>" })
        writeRaw(std::string(name) + ".rbprs", preset);

    ReverbProcessor processor;
    ASSERT_EQ(processor.presetLists[0].size(), 6u);
    for (size_t row = 0; row < 6; ++row)
    {
        // Its file is the one in the folder, never one in a home folder ("~root").
        EXPECT_EQ(processor.presetLists[0][row]->file.getParentDirectory(), folder);
        processor.currentPresetType = 0;
        ASSERT_TRUE(processor.setPreset(static_cast<int>(row)));
        const auto block = saveState(processor);
        ReverbProcessor restored;
        restored.setStateInformation(block.getData(), static_cast<int>(block.getSize()));
        ASSERT_TRUE(restored.restoredPresetFound) << processor.currentPreset->name;
        EXPECT_EQ(restored.currentPreset->name, processor.currentPreset->name);
    }

    // Should such a name ever be current, the state leaves it out rather than become unreadable.
    processor.presetLists[0].push_back(new Preset("A\x01" "B", processor.defaultState, true));
    ASSERT_TRUE(processor.setPreset(6));
    const auto block = saveState(processor);
    ReverbProcessor restored;
    restored.setStateInformation(block.getData(), static_cast<int>(block.getSize()));
    EXPECT_TRUE(restored.stateRestored);
    EXPECT_EQ(restored.restoredPresetName, "");
}

// CDATA sections are text, joined with the text around them, as the framework's own
// reader reads them; a byte-order mark and blank lines may come first.
TEST_F(HostileInput, CdataIsTextAsTheFrameworkReadsIt)
{
    const std::string preset = "\xEF\xBB\xBF\n\n<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist><dict>"
                               "<key>RoomSize</key><real><![CDATA[ 12 ]]></real>"
                               "<key>PreDelay</key><real>3<![CDATA[4]]></real>"
                               "<key>HFDamp</key><real><![CDATA[</real><real>900]]></real></dict></plist>";
    const auto before = juce::XmlDocument::parse(juce::String::fromUTF8(preset.data() + 3, int(preset.size() - 3)));
    const auto now = SafeXmlReader::parse(preset.data(), preset.size());
    ASSERT_TRUE(before != nullptr && now != nullptr);
    EXPECT_TRUE(now->isEquivalentTo(before.get(), false));

    write("Cdata.rbprs", preset);
    ReverbProcessor processor;
    ASSERT_EQ(processor.presetLists[0].size(), 1u);
    const auto& state = processor.presetLists[0][0]->state;
    EXPECT_FLOAT_EQ(treeValue(state, "RoomSize"), 12.0f);
    EXPECT_FLOAT_EQ(treeValue(state, "PreDelay"), 34.0f);
    EXPECT_FLOAT_EQ(treeValue(state, "HFDamp"), 9000.0f) << "markup in CDATA is no value";
}

// Every bound of the XML reader, just inside and just beyond.
TEST_F(HostileInput, EveryLimitHoldsAtItsEdge)
{
    const auto repeat = [](const char* text, size_t count) {
        return juce::String::repeatedString(text, static_cast<int>(count)).toStdString();
    };
    // Documents of exactly the given size, depth, node count or text length.
    const auto nested = [&](size_t depth) { return repeat("<a>", depth) + repeat("</a>", depth); };
    const auto nodes = [&](size_t count) { return "<a>" + repeat("<b/>", count - 1) + "</a>"; };
    const auto attribute = [](size_t bytes) { return "<a b=\"" + std::string(bytes, 'x') + "\"/>"; };
    const auto text = [](size_t bytes) { return "<a>" + std::string(bytes, 'x') + "</a>"; };
    constexpr size_t bytes = SafeXmlReader::maximumBytes, depth = SafeXmlReader::maximumDepth,
                     count = SafeXmlReader::maximumNodes, textBytes = SafeXmlReader::maximumTextBytes;
    const std::tuple<const char*, std::string, std::string> edges[] = {
        { "document bytes", padded(bytes, "<a>", "</a>"), padded(bytes + 1, "<a>", "</a>") },
        { "nesting depth", nested(depth), nested(depth + 1) },
        { "nodes", nodes(count), nodes(count + 1) },
        { "attribute bytes", attribute(textBytes), attribute(textBytes + 1) },
        { "text bytes", text(textBytes), text(textBytes + 1) },
    };
    for (const auto& [what, inside, beyond] : edges)
    {
        EXPECT_NE(SafeXmlReader::parse(inside.data(), inside.size()), nullptr) << what;
        EXPECT_EQ(SafeXmlReader::parse(beyond.data(), beyond.size()), nullptr) << what;
    }
}

// The user's folders come from checked bytes: ~/.config/user-dirs.dirs is read only
// as a small regular file (a FIFO there would block every new instance), and an
// environment variable that is not valid UTF-8 is passed over.
TEST_F(HostileInput, TheUserFoldersAreFoundFromCheckedBytes)
{
    const auto userDirs = home.folder.getChildFile(".config/user-dirs.dirs");
    ASSERT_TRUE(home.folder.getChildFile("Docs").createDirectory() && userDirs.getParentDirectory().createDirectory());
    ASSERT_TRUE(userDirs.replaceWithText("XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n"));
    EXPECT_EQ(UserFolders::documents(), home.folder.getChildFile("Docs"));
    ASSERT_TRUE(userDirs.deleteFile());
    ASSERT_EQ(mkfifo(userDirs.getFullPathName().toRawUTF8(), 0600), 0);
    EXPECT_EQ(UserFolders::documents(), home.folder.getChildFile("Documents"));

    setenv("XDG_CONFIG_HOME", "/tmp/\xFF", 1);
    EXPECT_EQ(UserFolders::configuration(), home.folder.getChildFile(".config"));
    setenv("HOME", "/tmp/\xC0\xAF", 1);
    EXPECT_EQ(UserFolders::home(), juce::File(juce::CharPointer_UTF8(::getpwuid(::getuid())->pw_dir)));
}
