#include "LookAndFeel/ButtonLookAndFeel.h"
#include "LookAndFeel/ComboBoxLookAndFeel.h"
#include "LookAndFeel/PresetButtonLookAndFeel.h"
#include "UI/Controls/DropdownList/CustomArrowButton.h"
#include "UiTestSupport.h"

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

    juce::Image blank(int width, int height, juce::Colour fill)
    {
        juce::Image image(juce::Image::ARGB, width, height, true);
        juce::Graphics(image).fillAll(fill);
        return image;
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
    float top = 40.0f, bottom = 0.0f;
    for (const auto& p : sine)
        top = std::min(top, p.y), bottom = std::max(bottom, p.y);
    EXPECT_NEAR(top, 10.0f, 0.01f);
    EXPECT_NEAR(bottom, 30.0f, 0.01f);
    EXPECT_NEAR(sine.back().x, 15.0f + 70.0f * 199.0f / 200.0f, 1e-4f);
    EXPECT_LT(sine.back().y, 20.0f);

    for (const char* name : { "tri", "isaw", "sqr", "lowpass", "hipass", "bandpass", "notch", "lowshelf", "stop",
                              "rampUpAndDown", "rampDown", "rampUp" })
    {
        const auto path = ButtonLookAndFeel::glyphPath(name, 60, 40);
        EXPECT_FALSE(path.isEmpty()) << name;
        EXPECT_TRUE(juce::Rectangle<float>(0, 0, 60, 40).contains(path.getBounds())) << name;
    }
    EXPECT_TRUE(ButtonLookAndFeel::glyphPath("Saw", 60, 40).isEmpty());
    EXPECT_TRUE(ButtonLookAndFeel::glyphPath("", 60, 40).isEmpty());
}

TEST(ComboBoxLook, PopupIsADarkPanelTintedByTheHighlightColourWithWhiteCentredItems)
{
    ComboBoxLookAndFeel look;
    look.highlightColour = Zorvik::green;
    auto image = blank(100, 200, juce::Colours::transparentBlack);
    juce::Graphics g(image);
    look.drawPopupMenuBackground(g, 100, 200);
    EXPECT_TRUE(near(image.getPixelAt(50, 0), over(Zorvik::background, Zorvik::green, 0.25f)));
    EXPECT_TRUE(near(image.getPixelAt(50, 199), over(Zorvik::background, Zorvik::green, 0.05f)));

    // The current item is filled, the hovered one half-tinted, a plain one not at all.
    const auto rowColour = image.getPixelAt(2, 70);
    look.drawPopupMenuItem(g, { 0, 20, 100, 20 }, false, true, false, true, false, "A", "", nullptr, nullptr);
    look.drawPopupMenuItem(g, { 0, 40, 100, 20 }, false, true, true, false, false, "B", "", nullptr, nullptr);
    look.drawPopupMenuItem(g, { 0, 60, 100, 20 }, true, false, false, false, true, "C", "X", nullptr, nullptr);
    EXPECT_TRUE(near(image.getPixelAt(2, 30), Zorvik::green));
    EXPECT_TRUE(near(image.getPixelAt(2, 50), over(image.getPixelAt(2, 90), Zorvik::green, 0.5f), 6));
    EXPECT_EQ(image.getPixelAt(2, 70), rowColour);
    // Item texts are white and centred: white only in the middle of the row.
    int whiteInRow = 0;
    for (int x = 0; x < 100; ++x)
        for (int y = 60; y < 80; ++y)
            if (near(image.getPixelAt(x, y), juce::Colours::white, 60))
            {
                ++whiteInRow;
                EXPECT_TRUE(x > 35 && x < 65) << x;
            }
    EXPECT_GT(whiteInRow, 3);
    // A text too long for its row stays inside it.
    look.drawPopupMenuItem(g, { 0, 100, 40, 20 }, false, true, false, false, false, "A VERY LONG OPTION TEXT", "",
                           nullptr, nullptr);
    for (int x = 40; x < 100; ++x)
        EXPECT_FALSE(near(image.getPixelAt(x, 110), juce::Colours::white, 60)) << x;

    // The combo box itself draws nothing and leaves its label where it is.
    juce::ComboBox box;
    juce::Label label;
    label.setBounds(3, 4, 5, 6);
    look.positionComboBoxText(box, label);
    EXPECT_EQ(label.getBounds(), juce::Rectangle<int>(3, 4, 5, 6));
    auto empty = blank(30, 20, juce::Colours::transparentBlack);
    juce::Graphics eg(empty);
    look.drawComboBox(eg, 30, 20, true, 0, 0, 30, 20, box);
    for (int x = 0; x < 30; ++x)
        EXPECT_EQ(empty.getPixelAt(x, 10).getAlpha(), 0);

    const auto light = Zorvik::getFontLight().getTypefaceName();
    for (const auto& font : { look.getPopupMenuFont(), look.getComboBoxFont(box) })
    {
        EXPECT_EQ(font.getHeight(), 20.0f);
        EXPECT_EQ(font.getTypefaceName(), light);
    }
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
        auto image = blank(80, 30, Zorvik::background);
        juce::Graphics g(image);
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
    CustomArrowButton down("down", 0.25f, Zorvik::blue);
    down.setSize(20, 20);
    const auto bottom = points(down.arrowForState(false));
    EXPECT_TRUE(std::any_of(bottom.begin(), bottom.end(), [](P q) { return q.getDistanceFrom({ 8.5f, 17 }) < 1e-3f; }));

    // The flat side lies along x = 0 at rest and along x = 1 while pressed.
    right.setColor(Zorvik::red);
    auto image = render(right, "arrow-right");
    EXPECT_TRUE(near(image.getPixelAt(0, 9), Zorvik::red));
    EXPECT_TRUE(near(image.getPixelAt(5, 9), Zorvik::red));
    right.mouseDown(mouseEvent(right, { 5, 9 }));
    image = render(right, "arrow-right-pressed");
    EXPECT_FALSE(near(image.getPixelAt(0, 9), Zorvik::red, 40));
    EXPECT_TRUE(near(image.getPixelAt(6, 10), Zorvik::red));
    right.mouseUp(mouseEvent(right, { 5, 9 }));
}
