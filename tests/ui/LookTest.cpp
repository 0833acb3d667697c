#include "LookAndFeel/ButtonLookAndFeel.h"
#include "LookAndFeel/ComboBoxLookAndFeel.h"
#include "LookAndFeel/PresetButtonLookAndFeel.h"
#include "UiTestSupport.h"

using namespace UiTest;

TEST(ButtonGlyphs, KnownGlyphsLieInsideTheBoxAndUnknownNamesDrawNothing)
{
    // A 60 x 40 box: left 9, right 51, top line 10, bottom line 30.
    EXPECT_EQ(ButtonLookAndFeel::glyphPath("sqr", 60, 40).getBounds(), juce::Rectangle<float>(9, 10, 42, 20));
    for (const char* name : { "saw", "tri", "rand", "sin", "lowshelf", "hipass", "lowpass", "bandpass", "notch", "stop",
                              "rampUpAndDown", "rampDown", "rampUp" })
    {
        const auto path = ButtonLookAndFeel::glyphPath(name, 60, 40);
        EXPECT_FALSE(path.isEmpty()) << name;
        EXPECT_TRUE(juce::Rectangle<float>(0, 0, 60, 40).contains(path.getBounds())) << name;
    }
    EXPECT_TRUE(ButtonLookAndFeel::glyphPath("Saw", 60, 40).isEmpty());
    EXPECT_TRUE(ButtonLookAndFeel::glyphPath("", 60, 40).isEmpty());
}

TEST(PresetButtonLook, RoundedCornersAndFixedFonts)
{
    PresetButtonLookAndFeel look;
    juce::TextButton button("SAVE");
    button.setSize(80, 30);
    button.setColour(juce::TextButton::buttonColourId, Zorvik::green);
    button.setColour(juce::TextButton::buttonOnColourId, Zorvik::red);
    button.setColour(juce::TextButton::textColourOnId, juce::Colours::white);
    const auto fillAt = [&](bool highlighted, bool down) {
        juce::Image image(juce::Image::ARGB, 80, 30, true);
        juce::Graphics g(image);
        g.fillAll(Zorvik::background);
        look.drawButtonBackground(g, button, Zorvik::mauve, highlighted, down);
        EXPECT_TRUE(near(image.getPixelAt(0, 29), Zorvik::background)); // outside the rounded corner
        EXPECT_TRUE(near(image.getPixelAt(40, 0), juce::Colours::white, 130)); // half of the outline
        return image.getPixelAt(10, 15);
    };
    EXPECT_TRUE(near(fillAt(false, false), Zorvik::green));
    EXPECT_TRUE(near(fillAt(false, true), Zorvik::red));
    EXPECT_TRUE(near(fillAt(true, false), Zorvik::green.brighter(0.08f)));
}

TEST(ComboBoxLook, PopupIsADarkPanelTintedByTheHighlightColour)
{
    ComboBoxLookAndFeel look;
    look.highlightColour = Zorvik::green;
    juce::Image image(juce::Image::ARGB, 100, 200, true);
    juce::Graphics g(image);
    look.drawPopupMenuBackground(g, 100, 200);
    EXPECT_TRUE(near(image.getPixelAt(50, 0), over(Zorvik::background, Zorvik::green, 0.25f)));
    EXPECT_TRUE(near(image.getPixelAt(50, 199), over(Zorvik::background, Zorvik::green, 0.05f)));

    look.drawPopupMenuItem(g, { 0, 20, 100, 20 }, false, true, false, true, false, "A", "", nullptr, nullptr);
    look.drawPopupMenuItem(g, { 0, 40, 100, 20 }, false, true, true, false, false, "B", "", nullptr, nullptr);
    EXPECT_TRUE(near(image.getPixelAt(5, 30), Zorvik::green));
    const auto row = over(Zorvik::background, Zorvik::green, 0.25f - 0.2f * 50.0f / 200.0f);
    EXPECT_TRUE(near(image.getPixelAt(5, 50), over(row, Zorvik::green, 0.5f), 4));
}
