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

TEST(ValueText, NumbersGetTheirUnitAndFixedDecimals)
{
    EXPECT_EQ(valueText(0, "3"), "3.0");
    EXPECT_EQ(valueText(0, "-2.26"), "-2.3");
    EXPECT_EQ(valueText(3, "100"), "100%");
    EXPECT_EQ(valueText(3, "12.6"), "13%");
    EXPECT_EQ(valueText(4, "3.2"), "3.2s");
    EXPECT_EQ(valueText(6, "45.4"), "45\xc2\xb0");
    EXPECT_EQ(valueText(10, "-6.0"), "-6dB");
    EXPECT_EQ(valueText(10, "-6.4 dB"), "-6dB");
    EXPECT_EQ(valueText(7, "1.5"), "1.50Hz");
}

TEST(ValueText, MillisecondsSwitchToSecondsOnTheRawValue)
{
    EXPECT_EQ(valueText(5, "10"), "10ms");
    EXPECT_EQ(valueText(5, "999.6"), "1000ms");
    EXPECT_EQ(valueText(5, "1000"), "1.0s");
    EXPECT_EQ(valueText(5, "1500"), "1.5s");
}

TEST(ValueText, RatesWithoutTheHertzFlagShowTheirPeriod)
{
    EXPECT_EQ(valueText(7, "0.5", rateShownAsPeriod), "2.0s");
    EXPECT_EQ(valueText(7, "4", rateShownAsPeriod), "250ms");
    EXPECT_EQ(valueText(7, "1", rateShownAsPeriod), "1.0s");
    // A rate of 0 has no period: the text stays as it was.
    EXPECT_EQ(valueText(7, "0", rateShownAsPeriod), "0");
}

TEST(ValueText, FrequenciesKeepOneDecimalBelowTenAndNeverTurnIntoKilohertz)
{
    EXPECT_EQ(valueText(8, "9.96"), "10.0Hz");
    EXPECT_EQ(valueText(8, "10"), "10Hz");
    EXPECT_EQ(valueText(8, "-10"), "-10Hz");
    EXPECT_EQ(valueText(8, "-9.5"), "-9.5Hz");
    EXPECT_EQ(valueText(8, "12000"), "12000Hz");
}

TEST(ValueText, OtherUnitsKeepTheirText)
{
    for (int unit : { 1, 2, 9, 11, 12, 13, 14, 99, -1 })
        EXPECT_EQ(valueText(unit, "1.2345"), "1.2345") << unit;
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
    EXPECT_EQ(CommonLookAndFeel::stringWithDecimals(-0.125f, 2), "-0.12");
    float parsed = 0.0f;
    ASSERT_TRUE(CommonLookAndFeel::parseLeadingFloat("0.75", parsed));
    EXPECT_EQ(parsed, 0.75f);
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

TEST(ValueText, SliderTextComesFromTheSlidersOwnValueText)
{
    SliderLookAndFeel look;
    look.unitCode = 10;
    juce::Slider slider;
    slider.setRange(-30.0, 12.0, 0.01);
    slider.setValue(-6.0, juce::dontSendNotification);
    EXPECT_EQ(look.textValue(slider), "-6dB");
}
