#include "TestProcessor.h"
#include "UI/Controls/CurveSequencer/CurveSequencerContainer.h"
#include "UI/Controls/DropdownList/DropdownListContainer.h"
#include "UI/Controls/Filter/DoubleFilterContainer.h"
#include "UI/Controls/Filter/FilterContainer.h"
#include "UI/Controls/Knob/KnobContainer.h"
#include "UI/Controls/OnOff/OnOffContainer.h"
#include "UI/Controls/Phaser/PhaserViewContainer.h"
#include "UI/Controls/Radio/RadioContainer.h"
#include "UI/Controls/Slider/DoubleSliderContainer.h"
#include "UI/Controls/Waveshaper/WaveshaperViewContainer.h"
#include "UI/Controls/XY/TimeStopXYControlContainer.h"
#include "UiTestSupport.h"

#include <functional>
#include <map>
#include <set>

using namespace UiTest;

namespace
{
    enum Kind { begin, end, change };
    struct Event
    {
        const juce::AudioProcessorParameter* parameter;
        Kind kind;
        float value;
    };

    // Hears one parameter as the host does and writes what it hears into a shared log.
    struct Watch : juce::AudioProcessorParameter::Listener
    {
        Watch(juce::AudioProcessorParameter& p, std::vector<Event>& l) : parameter(p), log(l), initial(p.getValue())
        {
            parameter.addListener(this);
        }
        ~Watch() override { parameter.removeListener(this); }
        void parameterValueChanged(int, float v) override { log.push_back({ &parameter, change, v }); }
        void parameterGestureChanged(int, bool starting) override
        {
            log.push_back({ &parameter, starting ? begin : end, 0.0f });
        }

        juce::AudioProcessorParameter& parameter;
        std::vector<Event>& log;
        const float initial;
    };

    std::vector<TestProcessor::Spec> frameworkSpecs()
    {
        std::vector<TestProcessor::Spec> specs { { "X", 0, 1, 0.5f },           { "Y", 0, 1, 0.5f },
                                                 { "Trigger", 0, 1, 0 },        { "Low", 20, 20000, 200 },
                                                 { "High", 20, 20000, 2000 },   { "LowPass", 20, 20000, 1000 },
                                                 { "LowPassGain", -24, 24, 0 }, { "LowPassOn", 0, 1, 1, true },
                                                 { "HighPass", 20, 20000, 100 }, { "HighPassGain", -24, 24, 0 },
                                                 { "HighPassOn", 0, 1, 1, true }, { "Choice", 0, 3, 0 } };
        for (int i = 0; i < 16; ++i)
            specs.push_back({ "Step" + std::to_string(i), 0, 1, 0.5f });
        for (int i = 0; i < 16; ++i)
            specs.push_back({ "Curve" + std::to_string(i), 0, 4, i == 4 ? 2.0f : 0.0f });
        return specs;
    }

    // The reverb's processor for the controls its editor uses, a test processor for the others;
    // every parameter of both is watched.
    struct Bench
    {
        Bench()
        {
            for (auto* processor : std::initializer_list<juce::AudioProcessor*> { &reverb, &test })
                for (auto* p : processor->getParameters())
                    watches.push_back(std::make_unique<Watch>(*p, log));
        }
        Parameter* r(const std::string& name) { return parameterNamed(reverb, name); }
        Parameter* t(const std::string& name) { return test.record(name); }

        ReverbProcessor reverb;
        TestProcessor test { frameworkSpecs() };
        std::vector<Event> log;
        std::vector<std::unique_ptr<Watch>> watches;
    };

    void press(juce::Component& c, juce::Point<float> p) { c.mouseDown(mouseEvent(c, p)); }
    void drag(juce::Component& c, juce::Point<float> p) { c.mouseDrag(mouseEvent(c, p)); }
    void release(juce::Component& c, juce::Point<float> p) { c.mouseUp(mouseEvent(c, p)); }
    void click(juce::Component& c) { press(c, { 5, 5 }), release(c, { 5, 5 }); }

    template <typename T>
    T& as(UIContainer& c)
    {
        return dynamic_cast<T&>(c);
    }

    // A control and one user edit of it: a click script, or a drag pressed at `from`,
    // dragged there and twice to `to` (every second drag changes nothing) and released
    // at `to`, on the control itself or on the part `target` picks.
    struct Row
    {
        const char* name;
        size_t parameters; // how many parameters the edit moves
        std::function<std::unique_ptr<UIContainer>(Bench&)> make;
        juce::Point<float> from, to;
        std::function<juce::Component&(UIContainer&)> target = [](UIContainer& c) -> juce::Component& { return c; };
        std::function<void(UIContainer&)> clicks = nullptr;

        void edit(UIContainer& c) const
        {
            if (clicks)
                return clicks(c);
            press(target(c), from);
            for (const auto p : { from, to, to })
                drag(target(c), p);
        }
        void finish(UIContainer& c) const
        {
            if (! clicks)
                release(target(c), to);
        }
    };


    using Strings = std::vector<std::string>;
    using Colours = std::vector<juce::Colour>;
    // A 200 x 200 control attached to the reverb's parameters or to the test processor's.
    template <typename Control, typename... Args>
    std::unique_ptr<UIContainer> on(Bench& b, bool reverb, Args... args)
    {
        auto control = std::make_unique<Control>(args...);
        control->setBounds(0, 0, 200, 200);
        control->attach(reverb ? b.reverb.parameters : b.test.parameters);
        return control;
    }
    std::unique_ptr<UIContainer> sequencer(Bench& b)
    {
        auto list = b.test.allRecords();
        const std::vector<Parameter*> steps(list.begin() + 13, list.end());
        return on<CurveSequencerContainer>(b, false, b.t("Step0"), steps, "");
    }
    juce::Component& slider(UIContainer& c) { return as<KnobContainer>(c).getSlider(); }
    juce::Component& grid(UIContainer& c) { return as<CurveSequencerContainer>(c).getGrid(); }

    const juce::Point<float> from { 100, 100 }, to { 150, 60 };
    const Row rows[] = {
        { "Knob", 1, [](Bench& b) { return on<KnobContainer>(b, true, b.r("RoomSize"), "", false, Strings {}); },
          { 30, 100 }, { 30, 40 }, slider },
        { "OnOff", 1, [](Bench& b) { return on<OnOffContainer>(b, true, b.r("Freeze"), "", Strings {}); }, {}, {}, {},
          [](UIContainer& c) { click(as<OnOffContainer>(c).getButton()); } },
        { "Radio", 1, [](Bench& b) { return on<RadioContainer>(b, true, b.r("InputFilterType"), "", Strings(2)); },
          {}, {}, {},
          [](UIContainer& c) {
              click(as<RadioContainer>(c).getButton(1));
              click(as<RadioContainer>(c).getButton(1)); // the option already chosen
          } },
        { "XY", 2,
          [](Bench& b) {
              return on<XYControlContainer>(b, true, b.r("FreqShifterFrequency"), b.r("FreqShifterDryWet"), "");
          },
          from, to },
        { "Filter", 2,
          [](Bench& b) {
              return on<FilterContainer>(b, true, b.r("InputFilterFrequency"), b.r("InputFilterGain"), "");
          },
          from, to },
        { "TimeStop", 3,
          [](Bench& b) { return on<TimeStopXYControlContainer>(b, false, b.t("X"), b.t("Y"), b.t("Trigger"), ""); },
          from, to },
        { "DoubleFilter", 2,
          [](Bench& b) {
              return on<DoubleFilterContainer>(b, false, b.t("LowPass"), b.t("LowPassGain"), b.t("LowPassOn"),
                                               b.t("HighPass"), b.t("HighPassGain"), b.t("HighPassOn"), "");
          },
          { 50, 100 }, { 60, 80 } },
        { "DoubleSlider", 2,
          [](Bench& b) { return on<DoubleSliderContainer>(b, false, b.t("Low"), b.t("High"), "", Colours {}); },
          from, { 110, 100 } },
        { "Dropdown", 1,
          [](Bench& b) { return on<DropdownListContainer>(b, false, b.t("Choice"), "", Strings { "a", "b", "c" }); },
          {}, {}, {},
          [](UIContainer& c) {
              auto& list = as<DropdownListContainer>(c);
              list.getNextButton().onClick();
              list.getComboBox().setSelectedId(2, juce::sendNotificationSync); // the option already chosen
          } },
        { "SequencerValues", 2, sequencer, { 10, 60 }, { 30, 80 }, grid },
        { "SequencerCurves", 1, sequencer, { 50, 170 }, { 70, 170 }, grid },
        { "Phaser", 1, [](Bench& b) { return on<PhaserViewContainer>(b, false, b.t("X"), b.t("Low"), ""); }, from, to },
        { "Waveshaper", 2,
          [](Bench& b) { return on<WaveshaperViewContainer>(b, false, b.t("X"), b.t("X"), b.t("Y"), ""); },
          from, to },
    };

    // Every change lies inside a begin/end pair of its parameter and differs from the
    // value before it; no gesture is left open. Returns how many parameters changed.
    size_t checkLog(const Bench& bench)
    {
        std::map<const juce::AudioProcessorParameter*, float> last;
        for (auto& w : bench.watches)
            last[&w->parameter] = w->initial;
        std::map<const juce::AudioProcessorParameter*, bool> open;
        std::set<const juce::AudioProcessorParameter*> changed;
        for (const auto& e : bench.log)
        {
            const auto name = e.parameter->getName(40);
            if (e.kind == change)
            {
                EXPECT_TRUE(open[e.parameter]) << name << " changed outside a gesture";
                EXPECT_NE(e.value, last[e.parameter]) << name << " was sent a value it already had";
                last[e.parameter] = e.value;
                changed.insert(e.parameter);
                continue;
            }
            EXPECT_NE(open[e.parameter], e.kind == begin)
                << name << (e.kind == begin ? " began twice" : " ended unbegun");
            open[e.parameter] = e.kind == begin;
        }
        for (const auto& [parameter, isOpen] : open)
            EXPECT_FALSE(isOpen) << parameter->getName(40) << " was left open";
        return changed.size();
    }

    struct GestureTest : ::testing::TestWithParam<Row>
    {
        Bench bench;
    };
}

TEST_P(GestureTest, AnEditIsOneGesturePerParameterAndSendsOnlyChanges)
{
    auto control = GetParam().make(bench);
    bench.log.clear();
    GetParam().edit(*control);
    GetParam().finish(*control);
    EXPECT_EQ(checkLog(bench), GetParam().parameters);
}

TEST_P(GestureTest, AControlDestroyedMidEditEndsItsGestures)
{
    auto control = GetParam().make(bench);
    bench.log.clear();
    GetParam().edit(*control);
    control.reset();
    checkLog(bench);
}

TEST(KnobGestureTest, AKnobAttachedElsewhereMidDragEndsTheOldGestureAndTheNewOneEndsAtRelease)
{
    Bench first;
    Bench second;
    auto knob = rows[0].make(first);
    rows[0].edit(*knob);
    knob->attach(second.reverb.parameters);
    rows[0].finish(*knob);
    checkLog(first);
    checkLog(second);
}

INSTANTIATE_TEST_SUITE_P(EveryWritingControl, GestureTest, ::testing::ValuesIn(rows),
                         [](const auto& row) { return std::string(row.param.name); });

// Outside an edit each write is a gesture of its own; an edit wraps each parameter's
// changes in one gesture, ended in the order they began. Values the parameter
// already has, values that are no number and missing parameters send nothing.
TEST(ParameterGesturesTest, WritesOutsideAnEditAreGesturesOfTheirOwn)
{
    Bench bench;
    auto* x = bench.test.parameters.getParameter("X");
    auto* y = bench.test.parameters.getParameter("Y");
    bench.log.clear();
    {
        ParameterGestures gestures;
        gestures.write(x, 0.25f);
        for (const float again : { 0.25f, std::nanf("") })
            gestures.write(x, again);
        gestures.write(nullptr, 1.0f);
        gestures.start();
        gestures.write(y, 0.1f);
        gestures.write(x, 0.75f);
        gestures.write(y, 0.2f);
        gestures.end();
    }
    std::vector<std::pair<const juce::AudioProcessorParameter*, Kind>> events;
    for (const auto& e : bench.log)
        events.emplace_back(e.parameter, e.kind);
    const decltype(events) expected { { x, begin }, { x, change }, { x, end },    { y, begin }, { y, change },
                                      { x, begin }, { x, change }, { y, change }, { y, end },   { x, end } };
    EXPECT_EQ(events, expected);
    EXPECT_EQ(checkLog(bench), 2u);
    EXPECT_FLOAT_EQ(bench.test.plain("X"), 0.75f);
    EXPECT_FLOAT_EQ(bench.test.plain("Y"), 0.2f);
}
