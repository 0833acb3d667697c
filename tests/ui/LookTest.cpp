#include "LookAndFeel/ButtonLookAndFeel.h"
#include "LookAndFeel/ComboBoxLookAndFeel.h"
#include "LookAndFeel/PresetButtonLookAndFeel.h"
#include "UI/Controls/DropdownList/CustomArrowButton.h"
#include "UiTestSupport.h"

#include <algorithm>
#include <cmath>

using namespace UiTest;

namespace
{
    using P = juce::Point<float>;

    // The points a path passes through: sub-path starts, line ends and curve ends.
    std::vector<P> points(const juce::Path& path)
    {
        std::vector<P> result;
        juce::Path::Iterator it(path);
        while (it.next())
            if (it.elementType == juce::Path::Iterator::startNewSubPath || it.elementType == juce::Path::Iterator::lineTo)
                result.emplace_back(it.x1, it.y1);
            else if (it.elementType == juce::Path::Iterator::cubicTo)
                result.emplace_back(it.x3, it.y3);
        return result;
    }

    // colour painted at alpha over base.
    juce::Colour over(juce::Colour base, juce::Colour colour, float alpha)
    {
        return base.overlaidWith(colour.withAlpha(alpha));
    }
}

// A 60 x 40 box: glyph frame from x 9 to 51, bottom line y 30, top line y 10.
TEST(ButtonGlyphs, GlyphsFollowTheirWorkedFrame)
{
    EXPECT_EQ(points(ButtonLookAndFeel::glyphPath("saw", 60, 40)), (std::vector<P> { { 9, 30 }, { 51, 10 }, { 51, 30 } }));

    // Random steps: whole-pixel heights 400, 753, 104, 333, 912, 543 thousandths of the
    // glyph height above the bottom line, six equal steps across.
    const auto steps = points(ButtonLookAndFeel::glyphPath("rand", 60, 40));
    ASSERT_EQ(steps.size(), 13u);
    EXPECT_EQ(steps[0], P(9, 20));
    const float ys[] = { 22, 15, 28, 24, 12, 20 };
    const float xs[] = { 9, 16, 23, 30, 37, 44, 51 };
    for (size_t i = 0; i < 6; ++i)
    {
        EXPECT_EQ(steps[1 + 2 * i], P(xs[i], ys[i])) << i;
        EXPECT_EQ(steps[2 + 2 * i], P(xs[i + 1], ys[i])) << i;
    }

    // The sine starts at mid height going up, swings between the two lines and runs
    // slightly more than one period, its last point at 199/200 of the width.
    const auto sine = points(ButtonLookAndFeel::glyphPath("sin", 100, 40));
    ASSERT_EQ(sine.size(), 201u);
    EXPECT_LT(sine[0].getDistanceFrom({ 15, 20 }), 1e-4f);
    EXPECT_LT(sine[2].y, 20.0f);
    const auto [top, bottom] = std::minmax_element(sine.begin(), sine.end(), [](P a, P b) { return a.y < b.y; });
    EXPECT_NEAR(top->y, 10.0f, 0.01f);
    EXPECT_NEAR(bottom->y, 30.0f, 0.01f);
    EXPECT_NEAR(sine.back().x, 15.0f + 70.0f * 199.0f / 200.0f, 1e-4f);
    EXPECT_LT(sine.back().y, 20.0f);

    for (const char* name : { "tri", "isaw", "sqr", "lowpass", "hipass", "bandpass", "notch", "lowshelf", "stop",
                              "rampUpAndDown", "rampDown", "rampUp" })
    {
        const auto bounds = ButtonLookAndFeel::glyphPath(name, 60, 40).getBounds();
        EXPECT_TRUE(! bounds.isEmpty() && juce::Rectangle<float>(0, 0, 60, 40).contains(bounds)) << name;
    }
    EXPECT_TRUE(ButtonLookAndFeel::glyphPath("Saw", 60, 40).isEmpty());
    EXPECT_TRUE(ButtonLookAndFeel::glyphPath("", 60, 40).isEmpty());
}

// Grey, a box and its outline are drawn at 40 % while the text stays opaque; a tab off
// with custom colours is shaded by a faint vertical gradient of its off colour.
TEST(ButtonLook, GreyBoxesAreFaintAndShadedOffTabsUseTheirOffColours)
{
    ButtonLookAndFeel look;
    juce::ToggleButton button;
    button.setSize(60, 40);
    const auto draw = [&](bool on) {
        button.setToggleState(on, juce::dontSendNotification);
        juce::Image image(juce::Image::ARGB, 60, 40, true);
        juce::Graphics g(image);
        g.fillAll(Zorvik::background);
        look.drawToggleButton(g, button, false, false);
        return image;
    };
    const auto count = [](const juce::Image& image, juce::Colour colour) {
        int n = 0;
        for (int y = 6; y < 34; ++y)
            for (int x = 0; x < 60; ++x)
                n += near(image.getPixelAt(x, y), colour, 30) ? 1 : 0;
        return n;
    };
    look.isGrey = true;
    const auto grey = draw(true);
    EXPECT_TRUE(near(grey.getPixelAt(3, 3), over(Zorvik::background, Zorvik::blue, 0.4f)));
    EXPECT_GT(count(grey, juce::Colours::black), 5);
    EXPECT_TRUE(near(draw(false).getPixelAt(0, 20), over(Zorvik::background, Zorvik::blue, 0.4f)));

    look.isGrey = false;
    look.useCustomColours = look.offGradient = true;
    look.drawOutline = false;
    look.offColour = Zorvik::blue;
    look.offTextColour = juce::Colours::white;
    const auto tab = draw(false);
    EXPECT_TRUE(near(tab.getPixelAt(30, 0), over(Zorvik::background, Zorvik::blue.darker(1.5f), 0.2f)));
    EXPECT_TRUE(near(tab.getPixelAt(0, 39), over(Zorvik::background, Zorvik::blue, 0.2f), 4));
    EXPECT_GT(count(tab, juce::Colours::white), 5);
}

TEST(ComboBoxLook, PopupIsADarkPanelTintedByTheHighlightColourWithWhiteCentredItems)
{
    ComboBoxLookAndFeel look;
    look.highlightColour = Zorvik::green;
    juce::Image image(juce::Image::ARGB, 100, 200, true);
    juce::Graphics g(image);
    look.drawPopupMenuBackground(g, 100, 200);
    EXPECT_TRUE(near(image.getPixelAt(50, 0), over(Zorvik::background, Zorvik::green, 0.25f)));
    EXPECT_TRUE(near(image.getPixelAt(50, 199), over(Zorvik::background, Zorvik::green, 0.05f)));

    // The current item is filled, the hovered one half-tinted, a plain one not at all;
    // texts are white and centred, and a text too long for its row stays inside it.
    const auto plainRow = image.getPixelAt(2, 70);
    look.drawPopupMenuItem(g, { 0, 20, 100, 20 }, false, true, false, true, false, "A", "", nullptr, nullptr);
    look.drawPopupMenuItem(g, { 0, 40, 100, 20 }, false, true, true, false, false, "B", "", nullptr, nullptr);
    look.drawPopupMenuItem(g, { 0, 60, 100, 20 }, true, false, false, false, true, "C", "X", nullptr, nullptr);
    look.drawPopupMenuItem(g, { 0, 100, 40, 20 }, false, true, false, false, false, "A VERY LONG OPTION", "", nullptr,
                           nullptr);
    EXPECT_TRUE(near(image.getPixelAt(2, 30), Zorvik::green));
    EXPECT_TRUE(near(image.getPixelAt(2, 50), over(image.getPixelAt(2, 90), Zorvik::green, 0.5f), 6));
    EXPECT_EQ(image.getPixelAt(2, 70), plainRow);
    for (const auto& [row, left, right] : { std::tuple { 60, 35, 65 }, std::tuple { 100, 0, 40 } })
    {
        int white = 0;
        for (int x = 0; x < 100; ++x)
            for (int y = row; y < row + 20; ++y)
                if (near(image.getPixelAt(x, y), juce::Colours::white, 60))
                    white += x > left && x < right ? 1 : 1000;
        EXPECT_GT(white, 3) << row;
        EXPECT_LT(white, 1000) << row;
    }
    juce::ComboBox box;
    for (const auto& font : { look.getPopupMenuFont(), look.getComboBoxFont(box) })
        EXPECT_TRUE(font.getHeight() == 20.0f && font.getTypefaceName() == Zorvik::getFontLight().getTypefaceName());
}

TEST(PresetButtonLook, RoundedButtonsInTheirStateColoursAndFixedFonts)
{
    PresetButtonLookAndFeel look;
    juce::Label label;
    label.setFont(juce::Font(9.0f));
    EXPECT_EQ(look.getLabelFont(label).getHeight(), 25.0f);
    EXPECT_EQ(look.getLabelFont(label).getTypefaceName(), Zorvik::getFontLight().getTypefaceName());

    juce::TextButton button("SAVE");
    EXPECT_EQ(look.getTextButtonFont(button, 80).getHeight(), 22.0f);
    button.setSize(80, 30);
    button.setColour(juce::TextButton::buttonColourId, Zorvik::green);
    button.setColour(juce::TextButton::buttonOnColourId, Zorvik::red);
    button.setColour(juce::TextButton::textColourOnId, juce::Colours::white);
    const auto draw = [&](bool highlighted, bool down) {
        juce::Image image(juce::Image::ARGB, 80, 30, true);
        juce::Graphics g(image);
        g.fillAll(Zorvik::background);
        look.drawButtonBackground(g, button, Zorvik::mauve, highlighted, down);
        EXPECT_TRUE(near(image.getPixelAt(0, 29), Zorvik::background)); // outside the rounded corner
        return image;
    };
    EXPECT_TRUE(near(draw(false, false).getPixelAt(10, 15), Zorvik::green));
    EXPECT_TRUE(near(draw(false, true).getPixelAt(10, 15), Zorvik::red));
    EXPECT_TRUE(near(draw(true, false).getPixelAt(10, 15), Zorvik::green.brighter(0.08f)));
    // Half of the 2-px outline lies inside the button; disabled, it is darker.
    const auto enabledEdge = draw(false, false).getPixelAt(40, 0);
    button.setEnabled(false);
    const auto disabled = draw(false, false);
    EXPECT_TRUE(near(disabled.getPixelAt(10, 15), Zorvik::green));
    EXPECT_LT(disabled.getPixelAt(40, 0).getBrightness(), enabledEdge.getBrightness());
    EXPECT_GT(enabledEdge.getBrightness(), 0.5f);
}

TEST(ArrowButton, ArrowFitsTheButtonMovesWhenPressedAndTakesItsNewColourAtTheNextPaint)
{
    CustomArrowButton right("next", 0.0f, Zorvik::blue);
    right.setBounds(0, 0, 20, 20);
    right.setVisible(true);
    EXPECT_EQ(right.arrowForState(false).getBounds(), juce::Rectangle<float>(0, 0, 17, 17));
    EXPECT_EQ(right.arrowForState(true).getBounds(), juce::Rectangle<float>(1, 1, 17, 17));
    // Pointing right: the tip is the rightmost point, at half height.
    const auto tip = points(right.arrowForState(false));
    EXPECT_TRUE(std::any_of(tip.begin(), tip.end(), [](P q) { return q.getDistanceFrom({ 17, 8.5f }) < 1e-3f; }));

    // The flat side lies along x = 0 at rest and along x = 1 while pressed.
    right.setColor(Zorvik::red);
    auto image = render(right, "arrow-right");
    EXPECT_TRUE(near(image.getPixelAt(0, 9), Zorvik::red));
    EXPECT_TRUE(near(image.getPixelAt(5, 9), Zorvik::red));
    right.mouseDown(mouseEvent(right, { 5, 9 }));
    image = render(right, "arrow-right-pressed");
    EXPECT_FALSE(near(image.getPixelAt(0, 9), Zorvik::red, 40));
    EXPECT_TRUE(near(image.getPixelAt(6, 10), Zorvik::red));
    right.mouseDrag(mouseEvent(right, { 30, 9 }));
    right.mouseUp(mouseEvent(right, { 30, 9 }));
}
