#include "Preset/FolderListing.h"

#include "Preset/SafeText.h"

#include <dirent.h>

#include <cstring>

std::vector<juce::String> FolderListing::names(const juce::File& folder)
{
    std::vector<juce::String> result;
    DIR* directory = ::opendir(folder.getFullPathName().toRawUTF8());
    if (directory == nullptr)
        return result;
    while (const auto* entry = ::readdir(directory))
    {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        if (auto name = SafeText::fromUtf8(entry->d_name))
            result.push_back(*name);
    }
    ::closedir(directory);
    return result;
}
