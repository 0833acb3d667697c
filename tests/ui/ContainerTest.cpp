#include "UI/Controls/Knob/KnobContainer.h"
#include "UI/Controls/OnOff/OnOffContainer.h"
#include "UI/Controls/Radio/RadioContainer.h"
#include "UI/Controls/Slider/ReverseSlider.h"
#include "UI/Controls/Slider/SliderContainer.h"
#include "UiTestSupport.h"

using namespace UiTest;

namespace
{
    using ContainerTest = ProcessorTest;

    juce::Point<float> centreOf(juce::Component& c)
    {
        return c.getLocalBounds().getCentre().toFloat();
    }

    // A full left click as the mouse delivers it: press and release on the component.
    void click(juce::Component& c)
    {
        c.mouseDown(mouseEvent(c, centreOf(c)));
        c.mouseUp(mouseEvent(c, centreOf(c)));
    }
}

// A right click anywhere on a control (its inner slider, switch or radio button)
// names it to the delegate once, by title or by the spelled-out identifier, and
// moves nothing; a left click names nothing.
TEST_F(ContainerTest, RightClicksOnlyNameTheControlToTheDelegate)
{
    RecordingDelegate delegate;
    KnobContainer titled(parameter("ReverbTime"), "Length", false, {});
    KnobContainer untitled(parameter("ReverbTime"), "", false, {});
    SliderContainer bar(parameter("RoomSize"), "Size", false, {});
    OnOffContainer freeze(parameter("Freeze"), "", { "FREEZE", "FREEZE" });
    RadioContainer radio(parameter("InputFilterType"), "", { "lowshelf", "hipass" });
    const std::pair<UIContainer*, juce::Component*> controls[] = { { &titled, &titled },
                                                                    { &untitled, &untitled },
                                                                    { &bar, &bar.getSlider() },
                                                                    { &freeze, &freeze.getButton() },
                                                                    { &radio, &radio.getButton(1) } };
    for (const auto& [control, target] : controls)
    {
        control->setBounds(0, 0, 60, 150);
        control->attach(processor.parameters);
    }
    radio.timerCallback();
    titled.setVisible(true);
    EXPECT_EQ(titled.getComponentAt(30, 10), &titled) << "the title lets clicks through";
    titled.mouseDown(rightClick(titled, centreOf(titled))); // no delegate yet: nothing happens
    titled.mouseUp(rightClick(titled, centreOf(titled)));
    for (const auto& [control, target] : controls)
        control->setDelegate(&delegate);
    click(titled);
    EXPECT_TRUE(delegate.calls.empty());

    const auto before = processor.parameters.copyState().toXmlString();
    for (const auto& [control, target] : controls)
    {
        target->mouseDown(rightClick(*target, { 20.0f, 5.0f }));
        target->mouseDrag(rightClick(*target, { 20.0f, 100.0f }));
        target->mouseUp(rightClick(*target, { 20.0f, 100.0f }));
    }
    EXPECT_EQ(processor.parameters.copyState().toXmlString(), before);
    EXPECT_FALSE(freeze.getButton().getToggleState());
    EXPECT_FALSE(radio.getButton(1).getToggleState());
    std::vector<juce::String> names;
    for (const auto& call : delegate.calls)
        names.push_back(call.at(0).name);
    EXPECT_EQ(names, (std::vector<juce::String> { "LENGTH", "REVERB TIME", "SIZE", "FREEZE", "INPUT FILTER TYPE" }));
    EXPECT_EQ(delegate.calls[1][0].parameter, parameter("ReverbTime"));
}

TEST_F(ContainerTest, SliderFollowsTheHostAndDragsWriteTheHostParameter)
{
    SliderContainer bar(parameter("InputGain"), "Gain", false, {});
    bar.setBounds(0, 0, 40, 124);
    bar.attach(processor.parameters);
    auto& slider = bar.getSlider();
    EXPECT_EQ(slider.getTextBoxPosition(), juce::Slider::NoTextBox);

    setPlainValue(processor, "InputGain", -6.0f);
    EXPECT_NEAR(slider.getValue(), -6.0, 1e-4);
    EXPECT_EQ(bar.getLookAndFeel().textValue(slider), "-6dB");

    // A press at the very top of the bar sets the maximum, a drag to the bottom the minimum.
    slider.mouseDown(mouseEvent(slider, { 20.0f, 0.0f }));
    EXPECT_NEAR(plainValue(processor, "InputGain"), 12.0f, 1e-3f);
    slider.mouseDrag(mouseEvent(slider, { 20.0f, 130.0f }));
    slider.mouseUp(mouseEvent(slider, { 20.0f, 130.0f }));
    EXPECT_NEAR(plainValue(processor, "InputGain"), -30.0f, 1e-3f);
}

TEST_F(ContainerTest, OnOffSwitchFollowsTheBooleanHostParameterBothWays)
{
    OnOffContainer freeze(parameter("Freeze"), "", { "FREEZE", "FREEZE" });
    freeze.setBounds(0, 0, 80, 60);
    freeze.attach(processor.parameters);
    auto& button = freeze.getButton();
    EXPECT_FALSE(button.getToggleState());
    EXPECT_EQ(freeze.getLookAndFeel().onText, "FREEZE");

    setPlainValue(processor, "Freeze", 1.0f);
    EXPECT_TRUE(button.getToggleState());
    click(button);
    EXPECT_FALSE(button.getToggleState());
    EXPECT_EQ(plainValue(processor, "Freeze"), 0.0f);
    click(button);
    EXPECT_EQ(plainValue(processor, "Freeze"), 1.0f);
}

TEST_F(ContainerTest, RadioFollowsTheHostAtTheTimerTickAndClicksWriteTheIndex)
{
    RadioContainer radio(parameter("InputFilterType"), "", { "lowshelf", "hipass" });
    radio.setBounds(0, 0, 60, 100);
    radio.attach(processor.parameters);
    radio.timerCallback();
    EXPECT_TRUE(radio.getButton(0).getToggleState());

    setPlainValue(processor, "InputFilterType", 1.0f);
    EXPECT_FALSE(radio.getButton(1).getToggleState()); // shown at the next tick
    radio.timerCallback();
    EXPECT_TRUE(radio.getButton(1).getToggleState());

    // Out-of-range and non-finite values change nothing.
    radio.parameterChanged("InputFilterType", 5.0f);
    radio.timerCallback();
    radio.parameterChanged("InputFilterType", std::numeric_limits<float>::quiet_NaN());
    radio.timerCallback();
    EXPECT_TRUE(radio.getButton(1).getToggleState());

    click(radio.getButton(0));
    EXPECT_EQ(plainValue(processor, "InputFilterType"), 0.0f);
    radio.timerCallback();
    EXPECT_TRUE(radio.getButton(0).getToggleState());
}

// Reversed, a bar runs from the bottom: its maximum shows an empty fill.
TEST_F(ContainerTest, ReversedSliderRunsFromTheBottom)
{
    SliderContainer bar(parameter("EffectDryWet"), "Mix", true, {});
    bar.setBounds(0, 0, 40, 124);
    bar.attach(processor.parameters);
    bar.setMainColor(Zorvik::green);
    auto& slider = bar.getSlider();
    EXPECT_NE(dynamic_cast<ReverseSlider*>(&slider), nullptr);
    EXPECT_DOUBLE_EQ(slider.valueToProportionOfLength(100.0), 0.0);
    EXPECT_DOUBLE_EQ(slider.proportionOfLengthToValue(1.0), 0.0);
    EXPECT_NEAR(slider.proportionOfLengthToValue(0.25), 75.0, 1e-9);

    setPlainValue(processor, "EffectDryWet", 100.0f);
    auto image = render(bar, "bar-reversed-full");
    EXPECT_TRUE(near(image.getPixelAt(2, 60), juce::Colour(29, 29, 29)));
    setPlainValue(processor, "EffectDryWet", 0.0f);
    image = render(bar, "bar-reversed-empty");
    EXPECT_TRUE(near(image.getPixelAt(2, 60), Zorvik::green));
}

// A 60 x 100 knob with its title: the knob takes the box below the strip, or a box
// narrowed by the strip's height when adapted; grey, its ring is drawn faint.
TEST_F(ContainerTest, KnobAdaptsItsWidthAndDrawsFaintWhenGrey)
{
    KnobContainer knob(parameter("EffectDryWet"), "Mix", false, {});
    knob.setBounds(0, 0, 60, 100);
    knob.attach(processor.parameters);
    EXPECT_EQ(knob.getSlider().getBounds(), juce::Rectangle<int>(0, 24, 60, 76));
    knob.setForceAdapt(true);
    EXPECT_EQ(knob.getSlider().getBounds(), juce::Rectangle<int>(9, 24, 42, 76));
    knob.setForceAdapt(false);
    KnobContainer unbound(nullptr, "", false, {});
    unbound.attach(processor.parameters); // binds nothing

    const auto brightestRingPixel = [&knob] {
        const auto image = render(knob, knob.getIsGrey() ? "knob-grey" : "knob");
        float brightest = 0.0f;
        for (int y = 24; y < 100; ++y)
            brightest = std::max(brightest, image.getPixelAt(2, y).getPerceivedBrightness());
        return brightest;
    };
    const float normal = brightestRingPixel();
    knob.setIsGrey(true);
    const float grey = brightestRingPixel();
    EXPECT_LT(grey, normal * 0.7f);
    EXPECT_GT(grey, 0.12f);
}
