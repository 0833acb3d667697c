#include "Basics/UserFolders.h"

#include "Preset/RegularFileReader.h"
#include "Preset/SafeText.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace
{
constexpr size_t maximumUserDirsBytes = 1 << 16;

// Only a path from the root: the framework would also take "~" for the home folder,
// which it looks up unchecked.
bool isAbsolute(const juce::String& path)
{
    return path.startsWithChar('/');
}

// A folder named by outside bytes, when they are valid UTF-8 and an absolute path.
juce::File absoluteFolder(const char* path)
{
    const auto text = SafeText::fromUtf8(path);
    if (!text || !isAbsolute(*text))
        return {};
    return juce::File(*text);
}

juce::StringArray userDirsLines(const juce::File& home)
{
    const auto content = RegularFileReader::read(home.getChildFile(".config/user-dirs.dirs"), maximumUserDirsBytes);
    if (!content)
        return {};
    const auto text = SafeText::fromUtf8(static_cast<const char*>(content->getData()), content->getSize());
    return text ? juce::StringArray::fromLines(*text) : juce::StringArray();
}
} // namespace

juce::File UserFolders::home()
{
    if (const auto fromEnvironment = absoluteFolder(std::getenv("HOME")); fromEnvironment != juce::File())
        return fromEnvironment;
    const auto* account = ::getpwuid(::getuid());
    return account != nullptr ? absoluteFolder(account->pw_dir) : juce::File();
}

juce::File UserFolders::documents()
{
    const auto homeFolder = home();
    if (homeFolder == juce::File())
        return {};
    for (const auto& line : userDirsLines(homeFolder))
    {
        const auto entry = line.trimStart();
        if (!entry.startsWith("XDG_DOCUMENTS_DIR"))
            continue;
        // XDG_DOCUMENTS_DIR="$HOME/Documents" names /home/user/Documents.
        const auto path = entry.replace("$HOME", homeFolder.getFullPathName())
                              .fromFirstOccurrenceOf("=", false, false)
                              .trim()
                              .unquoted();
        if (isAbsolute(path) && juce::File(path).isDirectory())
            return juce::File(path);
    }
    return homeFolder.getChildFile("Documents");
}

juce::File UserFolders::configuration()
{
    if (const auto fromEnvironment = absoluteFolder(std::getenv("XDG_CONFIG_HOME")); fromEnvironment != juce::File())
        return fromEnvironment;
    const auto homeFolder = home();
    return homeFolder != juce::File() ? homeFolder.getChildFile(".config") : juce::File();
}
