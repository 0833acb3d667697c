#include "UI/Controls/Knob/KnobContainer.h"
#include "UI/Controls/Phaser/PhaserViewContainer.h"
#include "UiTestSupport.h"

#include <cmath>

using namespace UiTest;

TEST(ControlViewTest, BarsAndKnobsWhoseValueIsNoNumberDrawFiniteShapes)
{
    for (const bool knob : { false, true })
    {
        std::unique_ptr<SliderContainer> control;
        if (knob)
            control = std::make_unique<KnobContainer>(nullptr, "", false, std::vector<std::string> {});
        else
            control = std::make_unique<SliderContainer>(nullptr, "", false, std::vector<std::string> {});
        control->setBounds(0, 0, 60, 100);
        control->getSlider().setValue(std::nan(""), juce::dontSendNotification);
        render(*control, knob ? "knob-nan" : "bar-nan");
        const auto shape = control->getLookAndFeel().getValueShape().getBounds();
        EXPECT_TRUE(std::isfinite(shape.getX()) && std::isfinite(shape.getBottom())) << (knob ? "knob" : "bar");
    }
}

TEST(ControlViewTest, APhaserViewMadeLargerDrawsItsFrameAtTheNewSize)
{
    PhaserViewContainer phaser(nullptr, nullptr, "");
    phaser.setBounds(0, 0, 100, 60);
    render(phaser, "phaser-small");
    phaser.setBounds(0, 0, 200, 120);
    const auto image = render(phaser, "phaser-resized");
    EXPECT_TRUE(near(image.getPixelAt(198, 60), juce::Colours::white, 40)); // the frame's right edge
}
