#include "LookAndFeel/SliderLookAndFeel.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>

namespace
{
    std::string valueText(int unit, const std::string& text, uint32_t flags = 0xFFFFFFFFu)
    {
        CommonLookAndFeel look;
        look.unitCode = unit;
        look.flags = flags;
        return look.updateValueText(text);
    }

    // A locale that writes 1234.5 as "1.234,5", as many hosts' locales do.
    struct CommaDecimals : std::numpunct<char>
    {
        char do_decimal_point() const override { return ','; }
        char do_thousands_sep() const override { return '.'; }
        std::string do_grouping() const override { return "\3"; }
    };

    // Switches the program's locales for one test and restores them afterwards.
    struct ForeignLocale
    {
        ForeignLocale() : previous(std::locale::global(std::locale(std::locale::classic(), new CommaDecimals)))
        {
            const char* c = std::setlocale(LC_ALL, nullptr);
            previousC = c != nullptr ? c : "C";
            for (const char* name : { "de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8" })
                if (std::setlocale(LC_ALL, name) != nullptr)
                    break;
        }
        ~ForeignLocale()
        {
            std::locale::global(previous);
            std::setlocale(LC_ALL, previousC.c_str());
        }
        std::locale previous;
        std::string previousC;
    };

    constexpr uint32_t rateShownAsPeriod = 0;
}

TEST(ValueText, NumbersGetTheirUnitAndDecimals)
{
    const struct { int unit; const char* text; uint32_t flags; const char* shown; } cases[] = {
        { 0, "-2.26", ~0u, "-2.3" },     { 3, "12.6", ~0u, "13%" },       { 4, "3.2", ~0u, "3.2s" },
        { 6, "45.4", ~0u, "45\xc2\xb0" }, { 10, "-6.4 dB", ~0u, "-6dB" },  { 7, "1.5", ~0u, "1.50Hz" },
        // Milliseconds switch to seconds on the raw value.
        { 5, "999.6", ~0u, "1000ms" },   { 5, "1000", ~0u, "1.0s" },
        // Rates without the hertz flag show their period; a rate of 0 has none.
        { 7, "4", rateShownAsPeriod, "250ms" }, { 7, "0.5", rateShownAsPeriod, "2.0s" }, { 7, "0", rateShownAsPeriod, "0" },
        // Frequencies keep one decimal below ten and never turn into kilohertz.
        { 8, "9.96", ~0u, "10.0Hz" },    { 8, "-9.5", ~0u, "-9.5Hz" },    { 8, "12000", ~0u, "12000Hz" },
        { 1, "1.2345", ~0u, "1.2345" },  { 99, "1.2345", ~0u, "1.2345" }, { -1, "1.2345", ~0u, "1.2345" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(valueText(c.unit, c.text, c.flags), c.shown) << c.unit << " " << c.text;
}

TEST(ValueText, TextThatIsNoNumberIsShownUnchangedAndNothingThrows)
{
    for (const std::string text : { "", "abc", "dB", "-", ".", "nan", "inf", "-inf", "1e50", "0x10" })
        for (int unit = 0; unit <= 13; ++unit)
        {
            std::string result;
            EXPECT_NO_THROW(result = valueText(unit, text, rateShownAsPeriod)) << text << " " << unit;
            if (text != "0x10")
            {
                EXPECT_EQ(result, text) << unit;
            }
        }
    EXPECT_EQ(valueText(3, "  +42"), "42%");
}

TEST(ValueText, DoesNotDependOnTheHostLocale)
{
    const ForeignLocale foreign;
    EXPECT_EQ(valueText(0, "1234.5"), "1234.5");
    EXPECT_EQ(valueText(8, "1234.5"), "1234Hz");
    EXPECT_EQ(valueText(4, "2.5"), "2.5s");
}

TEST(ValueText, ValueNamesAreLookedUpByTruncatedAndClampedIndex)
{
    SliderLookAndFeel look;
    look.valueNames = { "LOW", "HIGH" };
    juce::Slider slider;
    slider.setRange(-5.0, 10.0);
    const std::pair<double, const char*> cases[] = { { 1.0, "HIGH" }, { 0.7, "LOW" }, { 5.0, "HIGH" }, { -3.0, "LOW" } };
    for (const auto& [value, name] : cases)
    {
        slider.setValue(value, juce::dontSendNotification);
        EXPECT_EQ(look.textValue(slider), name) << value;
    }
}

