#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>
#include <optional>

// Text that arrives as bytes from outside: file names, file contents, the
// environment, the command line, the network. A juce::String may only be made
// from valid UTF-8 (the framework sizes its buffer from the decoded text and then
// copies the raw bytes), and a name written into an XML document must hold only
// characters that XML 1.0 can carry, or the document cannot be read back.
class SafeText
{
public:
    // Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF and no
    // sequence cut short.
    static bool isValidUtf8(const char* data, size_t size);

    // The bytes as a string, or nothing when they are not valid UTF-8.
    static std::optional<juce::String> fromUtf8(const char* data, size_t size);
    static std::optional<juce::String> fromUtf8(const char* zeroTerminated);

    // Every character is one that XML 1.0 can carry: tab, line feed, carriage
    // return, U+0020-U+D7FF, U+E000-U+FFFD and U+10000-U+10FFFF.
    static bool isXmlText(const juce::String& text);
};
