// State blocks and preset files from outside: everything written before reads as
// it always did, and broken, hostile or special input never hangs, crashes or
// changes anything.
#include "PluginTestSupport.h"

#include "Preset/SafeXmlReader.h"

#include <BinaryData.h>

#include <sys/stat.h>

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
};

class HostileInput : public PresetFolderTest
{
protected:
    juce::String userPresetNames()
    {
        ReverbProcessor processor;
        juce::StringArray names;
        for (const auto* preset : processor.presetLists[0])
            names.add(preset->name);
        return names.joinIntoString(", ");
    }
};
} // namespace

TEST_F(HostileInput, FilesAndStatesWrittenBeforeReadExactlyAsBefore)
{
    auto expectSame = [](const std::unique_ptr<juce::XmlElement>& before,
                         const std::unique_ptr<juce::XmlElement>& now, const juce::String& what) {
        ASSERT_NE(before, nullptr) << what;
        ASSERT_NE(now, nullptr) << what;
        EXPECT_TRUE(now->isEquivalentTo(before.get(), false)) << what;
    };

    juce::ZipFile archive(new juce::MemoryInputStream(BinaryData::Presets_zip,
                                                      static_cast<size_t>(BinaryData::Presets_zipSize), false),
                          true);
    ASSERT_EQ(archive.getNumEntries(), 28);
    for (int i = 0; i < archive.getNumEntries(); ++i)
    {
        juce::MemoryBlock content;
        std::unique_ptr<juce::InputStream>(archive.createStreamForEntry(i))->readIntoMemoryBlock(content);
        expectSame(juce::XmlDocument::parse(content.toString()), SafeXmlReader::parse(content.getData(), content.getSize()),
                   archive.getEntry(i)->filename);
    }

    // A user preset with a name to escape, written and saved as the plug-in does.
    const juce::String userName = juce::CharPointer_UTF8("Tom & Jerry's Caf\xc3\xa9 <1>");
    write(userName + ".rbprs", "<plist version=\"1.0\"><dict><key>RoomSize</key><real>7</real></dict></plist>");
    ReverbProcessor processor;
    ASSERT_TRUE(processor.setPreset(userName, true));
    setPlainValue(processor, "ReverbTime", 4.25f);
    juce::MemoryOutputStream file;
    std::unique_ptr<juce::XmlElement>(processor.presetParser->presetFromValueTree(
                                          processor.parameters.copyState(), processor.kernel->parameterList.get()))
        ->writeTo(file, {});
    expectSame(juce::XmlDocument::parse(file.toString()), SafeXmlReader::parse(file.getData(), file.getDataSize()),
               "preset file");

    for (const auto& preset : { userName, juce::String("HALL") })
    {
        processor.setPreset(preset, false);
        const auto block = saveState(processor);
        expectSame(juce::AudioProcessor::getXmlFromBinary(block.getData(), static_cast<int>(block.getSize())),
                   SafeXmlReader::parseBinaryState(block.getData(), block.getSize()), preset);
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
// only regular files (links to them included) are read.
TEST_F(HostileInput, OnlyRegularFilesInThePresetFolderAreRead)
{
    write("Good.rbprs", "<plist>" + dict + "</plist>");
    ASSERT_EQ(mkfifo(folder.getChildFile("Fifo.rbprs").getFullPathName().toRawUTF8(), 0600), 0);
    ASSERT_TRUE(juce::File("/dev/zero").createSymbolicLink(folder.getChildFile("Zero.rbprs"), true));
    ASSERT_TRUE(folder.getChildFile("Good.rbprs").createSymbolicLink(folder.getChildFile("Linked.rbprs"), true));
    EXPECT_EQ(userPresetNames(), "GOOD, LINKED");
}
