#pragma once

#include <juce_core/juce_core.h>

#include <vector>

// The names of a folder's entries, read with the system's own calls rather than
// the framework's directory iterator, which turns every name into a string
// unchecked. A name that is not valid UTF-8 is left out.
class FolderListing
{
public:
    static std::vector<juce::String> names(const juce::File& folder);
};
