#include "Preset/SafeXmlReader.h"

#include "Preset/SafeText.h"

#include <expat.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace
{
// Builds the element tree from expat's callbacks. Whitespace-only text between
// elements is dropped, text around comments and processing instructions joins
// into one run, and a CDATA section is a text run of its own.
class TreeBuilder
{
public:
    TreeBuilder(XML_Parser xmlParser, bool plainMarkup) : parser(xmlParser), plain(plainMarkup)
    {
        XML_SetUserData(parser, this);
        XML_SetElementHandler(parser, startElement, endElement);
        XML_SetCharacterDataHandler(parser, characters);
        XML_SetCdataSectionHandler(parser, startCdata, endCdata);
        XML_SetStartDoctypeDeclHandler(parser, startDoctype);
        XML_SetEntityDeclHandler(parser, entityDeclaration);
        XML_SetSkippedEntityHandler(parser, skippedEntity);
        XML_SetProcessingInstructionHandler(parser, processingInstruction);
        XML_SetParamEntityParsing(parser, XML_PARAM_ENTITY_PARSING_NEVER);
    }

    bool isComplete() const { return complete && !refused; }
    std::unique_ptr<juce::XmlElement> takeRoot() { return std::move(root); }

private:
    static TreeBuilder& of(void* data) { return *static_cast<TreeBuilder*>(data); }

    bool stopped() const { return refused || complete; }

    void refuse()
    {
        refused = true;
        XML_StopParser(parser, XML_FALSE);
    }

    // Counts one more node; false (and the parse refused) beyond the limit.
    bool countNode()
    {
        if (++nodes <= SafeXmlReader::maximumNodes)
            return true;
        refuse();
        return false;
    }

    bool fits(const XML_Char* value)
    {
        if (std::strlen(value) <= SafeXmlReader::maximumTextBytes)
            return true;
        refuse();
        return false;
    }

    void flushText(bool keepWhitespace)
    {
        const auto content = juce::String::fromUTF8(text.data(), static_cast<int>(text.size()));
        text.clear();
        if ((keepWhitespace || content.containsNonWhitespaceChars()) && !open.empty() && countNode())
            open.back()->addTextElement(content);
    }

    static void XMLCALL startElement(void* data, const XML_Char* name, const XML_Char** attributes)
    {
        auto& self = of(data);
        if (self.stopped())
            return;
        self.flushText(false);
        if (static_cast<int>(self.open.size()) >= SafeXmlReader::maximumDepth || !self.countNode()
            || !self.fits(name))
            return self.refuse();

        auto element = std::make_unique<juce::XmlElement>(juce::String::fromUTF8(name));
        for (auto** attribute = attributes; attribute[0] != nullptr; attribute += 2)
        {
            if (!self.countNode() || !self.fits(attribute[0]) || !self.fits(attribute[1]))
                return;
            element->setAttribute(juce::Identifier(juce::String::fromUTF8(attribute[0])),
                                  juce::String::fromUTF8(attribute[1]));
        }
        auto* added = element.get();
        if (self.open.empty())
            self.root = std::move(element);
        else
            self.open.back()->addChildElement(element.release());
        self.open.push_back(added);
    }

    static void XMLCALL endElement(void* data, const XML_Char*)
    {
        auto& self = of(data);
        if (self.stopped())
            return;
        self.flushText(false);
        self.open.pop_back();
        if (self.open.empty())
        {
            // The root is whole; whatever follows it is not read.
            self.complete = true;
            XML_StopParser(self.parser, XML_FALSE);
        }
    }

    static void XMLCALL characters(void* data, const XML_Char* s, int length)
    {
        auto& self = of(data);
        if (self.stopped())
            return;
        if (self.text.size() + static_cast<size_t>(length) > SafeXmlReader::maximumTextBytes)
            return self.refuse();
        self.text.append(s, static_cast<size_t>(length));
    }

    static void XMLCALL startCdata(void* data)
    {
        auto& self = of(data);
        if (!self.stopped())
            self.flushText(false);
    }

    static void XMLCALL endCdata(void* data)
    {
        auto& self = of(data);
        if (!self.stopped())
            self.flushText(true);
    }

    // An external DTD is named only; declarations inside the document are refused.
    static void XMLCALL startDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*,
                                     int hasInternalSubset)
    {
        if (hasInternalSubset != 0 || of(data).plain)
            of(data).refuse();
    }

    static void XMLCALL processingInstruction(void* data, const XML_Char*, const XML_Char*)
    {
        if (of(data).plain)
            of(data).refuse();
    }

    static void XMLCALL entityDeclaration(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                                          const XML_Char*, const XML_Char*, const XML_Char*)
    {
        of(data).refuse();
    }

    static void XMLCALL skippedEntity(void* data, const XML_Char*, int)
    {
        of(data).refuse();
    }

    XML_Parser parser;
    std::unique_ptr<juce::XmlElement> root;
    std::vector<juce::XmlElement*> open;
    std::string text;
    bool plain;
    int nodes = 0;
    bool refused = false;
    bool complete = false;
};

struct ParserDeleter
{
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

bool isLeadingSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
} // namespace

std::unique_ptr<juce::XmlElement> SafeXmlReader::parse(const void* data, size_t size)
{
    return parse(data, size, false);
}

std::unique_ptr<juce::XmlElement> SafeXmlReader::parsePlain(const void* data, size_t size)
{
    if (data == nullptr || !SafeText::isValidUtf8(static_cast<const char*>(data), size))
        return {};
    return parse(data, size, true);
}

std::unique_ptr<juce::XmlElement> SafeXmlReader::parse(const void* data, size_t size, bool plain)
{
    if (data == nullptr || size > maximumBytes)
        return {};

    // A byte-order mark and blank lines before the declaration were always accepted.
    const auto* begin = static_cast<const char*>(data);
    const auto* end = begin + size;
    if (size >= 3 && std::memcmp(begin, "\xEF\xBB\xBF", 3) == 0)
        begin += 3;
    begin = std::find_if_not(begin, end, isLeadingSpace);
    if (begin == end)
        return {};

    std::unique_ptr<std::remove_pointer_t<XML_Parser>, ParserDeleter> parser(XML_ParserCreate(nullptr));
    if (parser == nullptr)
        return {};
    TreeBuilder builder(parser.get(), plain);
    XML_Parse(parser.get(), begin, static_cast<int>(end - begin), XML_TRUE);
    if (!builder.isComplete())
        return {};
    return builder.takeRoot();
}

std::unique_ptr<juce::XmlElement> SafeXmlReader::parseBinaryState(const void* data, size_t size)
{
    constexpr size_t headerSize = 8;
    if (data == nullptr || size <= headerSize)
        return {};
    const auto* bytes = static_cast<const char*>(data);
    if (std::memcmp(bytes, "VC2!", 4) != 0)
        return {};
    const size_t length = juce::ByteOrder::littleEndianInt(bytes + 4);
    if (length == 0 || length > size - headerSize)
        return {};
    // The text ends at its terminating zero byte.
    const auto* text = bytes + headerSize;
    const auto* textEnd = std::find(text, text + length, '\0');
    return parse(text, static_cast<size_t>(textEnd - text));
}
