#include "Basics/ContainerBuilder.h"
#include "UI/Controls/CurveSequencer/CurveSequencerContainer.h"
#include "UiTestSupport.h"

#include <cmath>
#include <limits>

// The framework's controls that the reverb's design does not use: their curves
// against the formulas they draw, and hostile values and pointer use on each kind.
using namespace UiTest;

namespace
{
    // The y of a path at x, read from its flattened points (the segments run left to right).
    float pathY(const juce::Path& path, float x)
    {
        juce::PathFlatteningIterator it(path);
        while (it.next())
            if (x >= std::min(it.x1, it.x2) && x <= std::max(it.x1, it.x2) && it.x1 != it.x2)
                return it.y1 + (it.y2 - it.y1) * (x - it.x1) / (it.x2 - it.x1);
        return std::nanf("");
    }
}

TEST(CurveSequencerMaths, SegmentsRunFromStartToEndLevelWithTheHalfCosineEase)
{
    const float w = 40.0f, h = 100.0f;
    struct Case { int mode; double start; double end; };
    for (const auto c : { Case { 0, 0.3, 0.3 }, Case { 1, 0.3, 0.8 }, Case { 2, 0.3, 1.0 }, Case { 3, 1.0, 0.3 },
                          Case { 4, 0.3, 0.8 } })
    {
        const auto path = CurveSequencerStep::segment(c.mode, 0.3f, 0.8f, w, h);
        for (const double x : { 0.5, 10.0, 20.0, 30.0, 39.5 })
        {
            const double t = x / w;
            const double e = c.mode == 4 ? (1.0 - std::cos(M_PI * t)) / 2.0 : t;
            const double level = c.start + (c.end - c.start) * e;
            EXPECT_NEAR(pathY(path, static_cast<float>(x)), h * (1.0 - level), 0.5) << "mode " << c.mode << " x " << x;
        }
    }
}

TEST_F(ProcessorTest, FurtherControlsTakeHostileValuesAndPointerUse)
{
    std::vector<Parameter*> records;
    for (auto* p : *processor.kernel->parameterList)
        if (!p->isOutput)
            records.push_back(p);
    std::vector<Parameter*> linked;
    while (linked.size() < 31)
        linked.insert(linked.end(), records.begin() + 1, records.end());
    linked.resize(31);
    const float hostile[] = { 0.5f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                              -1e30f };
    for (const int kind : { 1, 3, 6, 8, 11, 12, 13, 14, 15, 16 })
    {
        SCOPED_TRACE(kind);
        std::unique_ptr<UIContainer> control(ContainerBuilder().build(records[3], "T", kind, linked, { "shape" }, {}));
        ASSERT_NE(control, nullptr);
        control->attach(processor.parameters);
        auto* listener = dynamic_cast<juce::AudioProcessorValueTreeState::Listener*>(control.get());
        for (const auto size : { juce::Rectangle<int>(0, 0, 200, 124), juce::Rectangle<int>() })
        {
            control->setBounds(size);
            for (const float value : hostile)
            {
                for (auto* record : records)
                {
                    if (listener != nullptr)
                        listener->parameterChanged(juce::String(record->name), value);
                    else
                        setPlainValue(processor, record->name, value);
                }
                control->mouseDown(mouseEvent(*control, { 60.0f, 50.0f }));
                control->mouseDrag(mouseEvent(*control, { 90.0f, 70.0f }));
                control->mouseUp(mouseEvent(*control, { 90.0f, 70.0f }));
                if (size.isEmpty())
                    paintDirect(*control);
                else
                    render(*control, "further-kind-" + std::to_string(kind));
            }
        }
    }
    for (auto* record : records)
        EXPECT_TRUE(std::isfinite(plainValue(processor, record->name))) << record->name;
}
