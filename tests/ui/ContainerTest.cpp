#include "UI/Controls/Knob/KnobContainer.h"
#include "UI/Controls/OnOff/OnOffContainer.h"
#include "UI/Controls/Radio/RadioContainer.h"
#include "UI/Controls/Slider/ReverseSlider.h"
#include "UI/Controls/Slider/SliderContainer.h"
#include "UiTestSupport.h"

#include <clocale>
#include <cstdlib>

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

    // The base alone: title strip, link marks and icon.
    struct BareContainer : UIContainer
    {
        using UIContainer::UIContainer;
        void attach(juce::AudioProcessorValueTreeState&) override {}
    };

    // A line across the middle of the rectangle it is asked for, a pixel row thick;
    // it records each rectangle.
    struct LineIcon : IconPath
    {
        explicit LineIcon(std::vector<juce::Rectangle<float>>& asked) : requests(asked) {}
        juce::Path getPath(float x, float y, float width, float height) override
        {
            requests.push_back({ x, y, width, height });
            juce::Path line;
            line.startNewSubPath(x, y + std::floor(height / 2) + 0.5f);
            line.lineTo(x + width, y + std::floor(height / 2) + 0.5f);
            return line;
        }
        std::vector<juce::Rectangle<float>>& requests;
    };

    juce::Colour over(juce::Colour colour, float alpha)
    {
        return Zorvik::background.interpolatedWith(colour, alpha);
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

// Link marks are short half-transparent strokes at the left or right edge, halfway
// down the area below the strip; an icon is drawn in white in place of the title and
// is asked again for its shape after a resize only.
TEST_F(ContainerTest, BaseDrawsLinkMarksAtTheEdgesAndAnIconInPlaceOfTheTitle)
{
    BareContainer container(parameter("RoomSize"), "Size");
    container.setBounds(0, 0, 100, 124);
    container.setMainColor(Zorvik::green);
    const auto tinted = [](juce::Colour c) { return ! near(c, Zorvik::background); };
    EXPECT_FALSE(tinted(render(container, "container-plain").getPixelAt(2, 74)));

    const std::pair<std::vector<bool>, std::pair<bool, bool>> marks[] = { { { true, false }, { true, false } },
                                                                          { { false, true }, { false, true } },
                                                                          { { true, true }, { true, true } } };
    for (const auto& [flags, expected] : marks)
    {
        container.linkMarks = flags;
        const auto image = render(container, "container-marks");
        // (124 - 24) / 2 + 24 = 74; the marks reach 100 / 20 = 5 pixels in.
        EXPECT_EQ(tinted(image.getPixelAt(2, 74)), expected.first);
        EXPECT_EQ(tinted(image.getPixelAt(97, 74)), expected.second);
        if (expected.first) // half the colour, over half of the pixel row
        {
            EXPECT_TRUE(near(image.getPixelAt(2, 74), over(Zorvik::green, 0.25f), 12));
        }
        EXPECT_FALSE(tinted(image.getPixelAt(8, 74)));
        EXPECT_FALSE(tinted(image.getPixelAt(2, 68)));
    }
    container.linkMarks = { false, false };

    std::vector<juce::Rectangle<float>> requests;
    EXPECT_TRUE(container.getTitleLabel().isVisible());
    container.setIconPath(new LineIcon(requests));
    EXPECT_FALSE(container.getTitleLabel().isVisible());
    auto image = render(container, "container-icon");
    EXPECT_TRUE(near(image.getPixelAt(50, 12), juce::Colours::white));
    EXPECT_FALSE(tinted(image.getPixelAt(50, 6)));
    render(container, "container-icon");
    container.setBounds(0, 0, 200, 124);
    image = render(container, "container-icon-wide");
    EXPECT_TRUE(near(image.getPixelAt(190, 12), juce::Colours::white));
    EXPECT_EQ(requests, (std::vector<juce::Rectangle<float>> { { 0, 0, 100, 24 }, { 0, 0, 200, 24 } }));
}

TEST_F(ContainerTest, OnOffAndRadioLayoutsFollowTheirFlags)
{
    // Any option count but two keeps the look's own texts.
    OnOffContainer freeze(parameter("Freeze"), "Freeze", { "A", "B", "C" });
    EXPECT_EQ(freeze.getLookAndFeel().onText, "ON");
    EXPECT_EQ(freeze.getLookAndFeel().offText, "OFF");
    freeze.setBounds(0, 0, 90, 100);
    EXPECT_EQ(freeze.getButton().getBounds(), juce::Rectangle<int>(0, 24, 90, 76));
    freeze.setForceSmall(true); // a square of a third of the width, centred below the strip
    EXPECT_EQ(freeze.getButton().getBounds(), juce::Rectangle<int>(30, 47, 30, 30));
    freeze.setDisplayTitle(false);
    EXPECT_EQ(freeze.getButton().getBounds(), juce::Rectangle<int>(30, 35, 30, 30));

    RadioContainer type(parameter("InputFilterType"), "Type", { "lowshelf", "hipass" });
    RadioContainer three(parameter("InputFilterType"), "Type", { "a", "b", "c" });
    type.setBounds(0, 0, 60, 100);
    three.setBounds(0, 0, 100, 60);
    using Bounds = std::vector<juce::Rectangle<int>>;
    const auto bounds = [](RadioContainer& radio) {
        Bounds all;
        for (size_t i = 0; i < radio.getNumButtons(); ++i)
            all.push_back(radio.getButton(i).getBounds());
        return all;
    };
    EXPECT_EQ(bounds(type), (Bounds { { 0, 24, 60, 37 }, { 0, 63, 60, 37 } }));
    type.setForceAdapt(true); // narrowed by the strip height less 6, centred
    EXPECT_EQ(bounds(type), (Bounds { { 9, 24, 42, 37 }, { 9, 63, 42, 37 } }));
    type.setIsHorizontal(true); // a row: the narrowing is for columns only
    EXPECT_EQ(bounds(type), (Bounds { { 0, 24, 29, 76 }, { 31, 24, 29, 76 } }));
    three.setIsHorizontal(true); // three buttons and two gaps fill the width exactly
    EXPECT_EQ(bounds(three), (Bounds { { 0, 24, 32, 36 }, { 34, 24, 32, 36 }, { 68, 24, 32, 36 } }));
    RadioContainer none(parameter("InputFilterType"), "Type", {});
    none.setBounds(0, 0, 60, 100);
    EXPECT_EQ(none.getNumButtons(), 0u);
}

// Grey mode draws a switch's or radio button's box at 40 % of its colour; the
// radio's per-button colours replace the shared colour, and a shorter list gives
// the remaining buttons the shared look back.
TEST_F(ContainerTest, GreyModeAndPerButtonColoursShowInTheBoxes)
{
    OnOffContainer freeze(parameter("Freeze"), "", { "FREEZE", "FREEZE" });
    RadioContainer type(parameter("InputFilterType"), "", { "lowshelf", "hipass" });
    for (UIContainer* control : { static_cast<UIContainer*>(&freeze), static_cast<UIContainer*>(&type) })
    {
        control->setBounds(0, 0, 60, 100);
        control->attach(processor.parameters);
        control->setMainColor(Zorvik::blue);
    }
    setPlainValue(processor, "Freeze", 1.0f);
    type.timerCallback();
    // Where each box is filled: the switch's whole box, the radio's first button.
    const std::pair<UIContainer*, juce::Point<int>> filled[] = { { &freeze, { 3, 30 } }, { &type, { 3, 40 } } };
    for (const auto& [control, point] : filled)
    {
        EXPECT_TRUE(near(render(*control, "box-coloured").getPixelAt(point.x, point.y), Zorvik::blue));
        control->setIsGrey(true);
        EXPECT_TRUE(control->getIsGrey());
        EXPECT_TRUE(near(render(*control, "box-grey").getPixelAt(point.x, point.y), over(Zorvik::blue, 0.4f)));
        control->setIsGrey(false);
        control->update(); // nothing for a timer or an attachment to catch up on
        EXPECT_TRUE(near(render(*control, "box-coloured").getPixelAt(point.x, point.y), Zorvik::blue));
    }

    type.setColors({ Zorvik::green, Zorvik::red });
    type.setColors({ Zorvik::orange, Zorvik::mauve });
    type.setMainColor(Zorvik::yellow);
    setPlainValue(processor, "InputFilterType", 1.0f);
    type.timerCallback();
    auto image = render(type, "radio-colours");
    EXPECT_TRUE(near(image.getPixelAt(0, 40), Zorvik::orange)) << "the first button's outline";
    EXPECT_TRUE(near(image.getPixelAt(3, 80), Zorvik::mauve)) << "the second button's fill";
    type.setColors({ Zorvik::green });
    image = render(type, "radio-colours-short");
    EXPECT_TRUE(near(image.getPixelAt(0, 40), Zorvik::green));
    EXPECT_TRUE(near(image.getPixelAt(3, 80), Zorvik::yellow));
}

// The ducker's meter has no host parameter: a switch or radio bound to it binds
// nothing, and clicks write nothing.
TEST_F(ContainerTest, ControlsForAParameterTheHostLacksBindNothing)
{
    OnOffContainer freeze(parameter("DuckerMeter"), "", {});
    RadioContainer type(parameter("DuckerMeter"), "", { "a", "b" });
    const auto before = processor.parameters.copyState().toXmlString();
    for (UIContainer* control : { static_cast<UIContainer*>(&freeze), static_cast<UIContainer*>(&type) })
    {
        control->setBounds(0, 0, 60, 100);
        control->attach(processor.parameters);
    }
    click(freeze.getButton());
    click(type.getButton(1));
    type.timerCallback();
    EXPECT_EQ(processor.parameters.copyState().toXmlString(), before);
}

// A Turkish locale makes a capital 'i' a dotted one (and, in its 8-bit form, a byte
// that is no UTF-8): titles and spelled-out identifiers keep the same letters in
// every locale the host may set.
TEST(ContainerTitles, AreUpperCasedTheSameWhateverTheHostsLocale)
{
    const auto folder = juce::File::createTempFile("locales");
    ASSERT_TRUE(folder.createDirectory());
    const auto locale = folder.getChildFile("tr_TR.ISO-8859-9");
    const auto command = "localedef -i tr_TR -f ISO-8859-9 '" + locale.getFullPathName() + "' >/dev/null 2>&1";
    if (std::system(command.toRawUTF8()) != 0 || ! locale.exists())
    {
        folder.deleteRecursively();
        GTEST_SKIP() << "no locale sources to build a Turkish locale from";
    }
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    setenv("LOCPATH", folder.getFullPathName().toRawUTF8(), 1);
    const bool switched = std::setlocale(LC_ALL, "tr_TR.ISO-8859-9") != nullptr;
    juce::String title;
    std::string spelled;
    {
        BareContainer mix(nullptr, "Mix in");
        title = mix.getTitleLabel().getText();
        spelled = UIContainer::convertStringForDislay("DuckingInput");
    }
    std::setlocale(LC_ALL, previous.c_str());
    unsetenv("LOCPATH");
    folder.deleteRecursively();
    ASSERT_TRUE(switched);
    EXPECT_EQ(title, "MIX IN");
    EXPECT_EQ(spelled, "DUCKING INPUT");
}
