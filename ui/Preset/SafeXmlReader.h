#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>
#include <memory>

// Reads XML from bytes that come from outside (host state blocks, preset files)
// with expat, within fixed bounds, and builds the juce::XmlElement the rest of the
// code uses. Only XML's predefined entities and character references are expanded:
// a DOCTYPE may name an external DTD (which is never read) but may not declare
// anything itself. Text after the root element is ignored. Anything malformed or
// beyond the limits yields no element.
class SafeXmlReader
{
public:
    // Far beyond any state or preset: a state holds about twenty elements three deep.
    static constexpr size_t maximumBytes = 1 << 20;      // the whole document
    static constexpr int maximumDepth = 32;              // nested elements
    static constexpr int maximumNodes = 4096;            // elements, attributes and text runs together
    static constexpr size_t maximumTextBytes = 1 << 16;  // one text run, attribute value or name

    static std::unique_ptr<juce::XmlElement> parse(const void* data, size_t size);

    // As parse, for a document that the framework's own XML reader will read after
    // this check: the whole document must be valid UTF-8, whatever encoding it
    // declares, and it may hold no DOCTYPE and no processing instruction (the
    // framework's reader fetches a named DTD, and loops on an instruction before text).
    static std::unique_ptr<juce::XmlElement> parsePlain(const void* data, size_t size);

    // The XML of a state block in the plug-in framework's binary form: "VC2!", the
    // text's length as a 32-bit little-endian number, then the UTF-8 text. A length
    // beyond the bytes given makes the block unreadable.
    static std::unique_ptr<juce::XmlElement> parseBinaryState(const void* data, size_t size);

private:
    static std::unique_ptr<juce::XmlElement> parse(const void* data, size_t size, bool plain);
};
