#include "LookAndFeel/CommonLookAndFeel.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <locale>
#include <sstream>

namespace
{
    constexpr uint32_t rateInHertzFlag = 16;

    enum Unit
    {
        plainNumber = 0,
        percent = 3,
        seconds = 4,
        milliseconds = 5,
        degrees = 6,
        rate = 7,
        hertz = 8,
        decibels = 10
    };

    std::string withUnit(float value, int decimals, const char* unit)
    {
        return CommonLookAndFeel::stringWithDecimals(value, decimals) + unit;
    }

    std::string durationText(float milliseconds)
    {
        if (milliseconds >= 1000.0f)
            return withUnit(milliseconds / 1000.0f, 1, "s");
        return withUnit(milliseconds, 0, "ms");
    }
}

juce::Font CommonLookAndFeel::getValueFont() const
{
    return Zorvik::getFontLight().withHeight(20.0f);
}

bool CommonLookAndFeel::parseLeadingFloat(const std::string& text, float& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    while (first != last && std::isspace(static_cast<unsigned char>(*first)))
        ++first;
    if (first != last && *first == '+')
        ++first;
    const auto result = std::from_chars(first, last, value, std::chars_format::general);
    return result.ec == std::errc();
}

std::string CommonLookAndFeel::stringWithDecimals(float value, int decimals)
{
    std::ostringstream stream;
    stream.imbue(std::locale::classic());
    stream.setf(std::ios::fixed);
    stream.precision(decimals);
    stream << value;
    return stream.str();
}

std::string CommonLookAndFeel::updateValueText(std::string text) const
{
    float value = 0.0f;
    if (! parseLeadingFloat(text, value) || ! std::isfinite(value))
        return text;

    switch (unitCode)
    {
        case plainNumber: return withUnit(value, 1, "");
        case percent: return withUnit(value, 0, "%");
        case seconds: return withUnit(value, 1, "s");
        case milliseconds: return durationText(value);
        case degrees: return withUnit(value, 0, "\xc2\xb0");
        case rate:
        {
            if ((flags & rateInHertzFlag) != 0)
                return withUnit(value, 2, "Hz");
            const auto period = static_cast<float>(1000.0 / static_cast<double>(value));
            if (! std::isfinite(period))
                return text;
            return durationText(period);
        }
        case hertz: return withUnit(value, (value > -10.0f && value < 10.0f) ? 1 : 0, "Hz");
        case decibels: return withUnit(value, 0, "dB");
        default: return text;
    }
}
