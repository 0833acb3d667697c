#include "UI/VersionHelper.h"

#include <locale>
#include <sstream>

namespace
{
    constexpr size_t maximumDigits = 6;
    constexpr size_t maximumReplyLength = 64;

    bool isDigit(char c) { return c >= '0' && c <= '9'; }
    bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

    std::string trimmed(const std::string& text)
    {
        const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
        size_t begin = 0;
        size_t end = text.size();
        while (begin < end && isSpace(text[begin]))
            ++begin;
        while (end > begin && isSpace(text[end - 1]))
            --end;
        return text.substr(begin, end - begin);
    }
}

void VersionHelper::parse(int* components, const std::string& text)
{
    components[0] = components[1] = components[2] = 0;
    std::istringstream stream(text);
    stream.imbue(std::locale::classic());
    int value = 0;
    if (!(stream >> value))
        return;
    components[0] = value;
    for (int i = 1; i < 3; ++i)
    {
        char separator = 0;
        if (!stream.get(separator) || !(stream >> value))
            return;
        components[i] = value;
    }
}

bool VersionHelper::lessThanVersion(const std::string& a, const std::string& b)
{
    int left[3];
    int right[3];
    parse(left, a);
    parse(right, b);
    for (int i = 0; i < 3; ++i)
    {
        if (left[i] < right[i])
            return true;
        if (left[i] > right[i])
            return false;
    }
    return false;
}

bool VersionHelper::isVersionText(const std::string& text)
{
    const auto version = trimmed(text);
    if (version.empty() || version.size() > maximumReplyLength)
        return false;

    size_t i = 0;
    for (int component = 0; component < 3; ++component)
    {
        const size_t start = i;
        while (i < version.size() && isDigit(version[i]))
            ++i;
        if (i == start || i - start > maximumDigits)
            return false;
        if (i == version.size() || version[i] != '.' || component == 2)
            break;
        ++i;
    }
    if (i == version.size())
        return true;

    if (version[i] != '-' && version[i] != '+')
        return false;
    for (++i; i < version.size(); ++i)
    {
        const char c = version[i];
        if (!isDigit(c) && !isLetter(c) && c != '.' && c != '-' && c != '+')
            return false;
    }
    return true;
}

bool VersionHelper::replyNamesNewerVersion(const std::string& reply, const std::string& currentVersion)
{
    if (!isVersionText(reply))
        return false;
    return lessThanVersion(currentVersion, trimmed(reply));
}
