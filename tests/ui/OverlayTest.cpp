#include "UI/MakerAddresses.h"
#include "UI/Overlays/AboutOverlay.h"
#include "UiTestSupport.h"

// The panels laid over the window: the dimmed rectangle that a click outside of
// closes, and the about box.
using namespace UiTest;

namespace
{
    juce::Colour over(juce::Colour below, juce::Colour colour, float alpha)
    {
        return below.interpolatedWith(colour, alpha);
    }
}

TEST(OverlayBase, ClicksOutsideTheDimmedRectangleHideIt)
{
    Overlay overlay;
    overlay.setBounds(0, 0, 200, 100);
    EXPECT_EQ(overlay.contentBounds, juce::Rectangle<int>(20, 10, 160, 80));
    const struct { juce::Point<float> at; bool staysOpen; } clicks[] = {
        { { 20, 10 }, true },  { { 179, 89 }, true },  { { 100, 50 }, true },
        { { 180, 50 }, false }, { { 100, 90 }, false }, { { 5, 5 }, false }, { { 19, 50 }, false },
    };
    for (const auto& click : clicks)
    {
        overlay.setVisible(true);
        overlay.mouseDown(mouseEvent(overlay, click.at));
        EXPECT_EQ(overlay.isVisible(), click.staysOpen) << click.at.toString();
    }

    // Only the rectangle is painted, dimmed; the margin shows what lies below.
    const auto picture = render(overlay, "overlay", juce::Colours::white);
    EXPECT_EQ(picture.getPixelAt(10, 50), juce::Colours::white);
    EXPECT_EQ(picture.getPixelAt(100, 95), juce::Colours::white);
    EXPECT_TRUE(near(picture.getPixelAt(21, 11), over(juce::Colours::white, Zorvik::background, 0.85f)));
    EXPECT_TRUE(near(picture.getPixelAt(178, 88), over(juce::Colours::white, Zorvik::background, 0.85f)));

    // Too small for a rectangle: nothing is painted and every click hides it.
    overlay.setBounds(0, 0, 30, 15);
    EXPECT_TRUE(overlay.contentBounds.isEmpty());
    overlay.setVisible(true);
    overlay.mouseDown(mouseEvent(overlay, { 15.0f, 7.0f }));
    EXPECT_FALSE(overlay.isVisible());
    const auto tiny = render(overlay, "overlay-tiny", juce::Colours::white);
    EXPECT_EQ(tiny.getPixelAt(15, 7), juce::Colours::white);
}

TEST(AboutBox, ShowsLogoNameVersionAndLinkInItsLayout)
{
    juce::Image logo(juce::Image::ARGB, 72, 72, true);
    juce::Graphics(logo).fillAll(Zorvik::orange);
    std::unique_ptr<juce::Component> owner = std::make_unique<AboutOverlay>(logo);
    auto& about = dynamic_cast<AboutOverlay&>(*owner);
    about.setBounds(0, 0, 692, 300);

    EXPECT_EQ(about.nameLabel->getText(), "ZORVIK Reverb");
    EXPECT_EQ(about.versionLabel->getText(), "version 1.2.0");
    EXPECT_EQ(about.websiteLink->getButtonText(), MakerAddresses::webSiteText);
    EXPECT_EQ(about.websiteLink->getURL().toString(false), juce::URL(MakerAddresses::webSite).toString(false));
    const std::pair<juce::Component*, juce::Rectangle<int>> parts[] = {
        { about.infoPanel.get(), { 20, 10, 652, 140 } }, { about.logoImage.get(), { 301, 0, 50, 50 } },
        { about.nameLabel.get(), { 0, 50, 652, 35 } },   { about.versionLabel.get(), { 0, 77, 652, 17 } },
        { about.websiteLink.get(), { 20, 258, 652, 31 } },
    };
    for (const auto& [part, bounds] : parts)
        EXPECT_EQ(part->getBounds(), bounds);

    const auto image = render(about, "about", juce::Colours::black);
    // The logo is scaled into its 50 x 50 square: orange at its centre, not beyond it.
    EXPECT_TRUE(near(image.getPixelAt(20 + 326, 10 + 25), Zorvik::orange, 8));
    EXPECT_FALSE(near(image.getPixelAt(20 + 326, 10 + 52), Zorvik::orange, 40));
    // White name text, blue version text below it.
    const auto countNear = [&](juce::Rectangle<int> area, juce::Colour colour) {
        int count = 0;
        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                count += near(image.getPixelAt(x, y), colour, 40) ? 1 : 0;
        return count;
    };
    EXPECT_GT(countNear({ 20, 10 + 50, 652, 35 }, juce::Colours::white), 20);
    EXPECT_GT(countNear({ 20, 10 + 77, 652, 17 }, Zorvik::blue), 10);
    // The margin stays unpainted; the rectangle is dimmed background.
    EXPECT_TRUE(near(image.getPixelAt(5, 5), juce::Colours::black));
    EXPECT_TRUE(near(image.getPixelAt(30, 200), over(juce::Colours::black, Zorvik::background, 0.85f), 3));

    // A click in the margin closes it.
    about.setVisible(true);
    about.mouseDown(mouseEvent(about, { 5.0f, 150.0f }));
    EXPECT_FALSE(about.isVisible());
}
