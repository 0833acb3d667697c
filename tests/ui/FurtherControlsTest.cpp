#include "Basics/ContainerBuilder.h"
#include "UiTestSupport.h"

#include <cmath>
#include <limits>

// The framework's controls that the reverb's design does not use, each built by its
// widget kind: pressed, dragged and painted with ordinary, hostile and missing host
// values, at a normal and an empty size.
using namespace UiTest;

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
