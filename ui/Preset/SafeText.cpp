#include "Preset/SafeText.h"

#include <cstring>
#include <limits>

namespace
{
bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the sequence a lead byte starts, with the lowest code point a
// sequence of that length may encode; 0 for a byte that cannot lead.
struct Lead
{
    size_t length;
    char32_t lowest;
};

Lead leadOf(unsigned char byte)
{
    if (byte < 0x80)
        return { 1, 0 };
    if ((byte & 0xE0) == 0xC0)
        return { 2, 0x80 };
    if ((byte & 0xF0) == 0xE0)
        return { 3, 0x800 };
    if ((byte & 0xF8) == 0xF0)
        return { 4, 0x10000 };
    return { 0, 0 };
}

bool isXmlCharacter(juce::juce_wchar c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
           || (c >= 0x10000 && c <= 0x10FFFF);
}
} // namespace

bool SafeText::isValidUtf8(const char* data, size_t size)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size;)
    {
        const auto lead = leadOf(bytes[i]);
        if (lead.length == 0 || lead.length > size - i)
            return false;
        char32_t c = lead.length == 1 ? bytes[i] : (bytes[i] & (0x7F >> lead.length));
        for (size_t k = 1; k < lead.length; ++k)
        {
            if (!isContinuation(bytes[i + k]))
                return false;
            c = (c << 6) | (bytes[i + k] & 0x3F);
        }
        if (c < lead.lowest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        i += lead.length;
    }
    return true;
}

std::optional<juce::String> SafeText::fromUtf8(const char* data, size_t size)
{
    if (data == nullptr || size > static_cast<size_t>(std::numeric_limits<int>::max()) || !isValidUtf8(data, size))
        return std::nullopt;
    return juce::String::fromUTF8(data, static_cast<int>(size));
}

std::optional<juce::String> SafeText::fromUtf8(const char* zeroTerminated)
{
    if (zeroTerminated == nullptr)
        return std::nullopt;
    return fromUtf8(zeroTerminated, std::strlen(zeroTerminated));
}

bool SafeText::isXmlText(const juce::String& text)
{
    for (auto c : text)
        if (!isXmlCharacter(c))
            return false;
    return true;
}
