#include "UI/Overlays/ControlEditorOverlay.h"
#include "UiTestSupport.h"

// The control value editor: parsing typed text, writing host parameters through their
// normalised range, its layout.
using namespace UiTest;

namespace
{
    struct GestureCounter : juce::AudioProcessorParameter::Listener
    {
        void parameterValueChanged(int, float) override { ++changes; }
        void parameterGestureChanged(int, bool starting) override { ++(starting ? begins : ends); }
        int changes = 0, begins = 0, ends = 0;
    };

    struct ControlEditorTest : ProcessorTest
    {
        EditableParameter editable(const std::string& name, const juce::String& display)
        {
            return { &hostParameter(processor, name), display, parameter(name) };
        }
    };
}

TEST(ControlEditorParsing, ReadsNumbersWithTheirUnitInAnyLocaleAndRefusesEverythingElse)
{
    const struct { const char* text; const char* unit; float expected; } accepted[] = {
        { "12.5 ms", "ms", 12.5f }, { "12.5ms", "ms", 12.5f }, { "  -3 ", "dB", -3.0f }, { "+4", "", 4.0f },
        { "1e2", "%", 100.0f }, { "7 HZ", "Hz", 7.0f }, { "0.25", "s", 0.25f },
    };
    for (const auto& c : accepted)
    {
        const auto value = ControlEditorParameter::parseValue(c.text, c.unit);
        ASSERT_TRUE(value.has_value()) << c.text;
        EXPECT_FLOAT_EQ(*value, c.expected) << c.text;
    }
    for (const char* text : { "", "   ", "abc", "ms", "nan", "inf", "-infinity", "1e999", "12,5", "12.5 Hz", "1.5.2",
                              "0x10", "--1" })
        EXPECT_FALSE(ControlEditorParameter::parseValue(text, "ms").has_value()) << text;
}

TEST_F(ControlEditorTest, TypedValuesAreWrittenInOneGestureAndLimitedToTheRange)
{
    auto& host = hostParameter(processor, "RoomSize");
    GestureCounter counter;
    host.addListener(&counter);

    ControlEditorParameter row;
    row.setControl(editable("RoomSize", "ROOM SIZE"));
    EXPECT_EQ(row.valueEditor->getText(), "50");
    EXPECT_EQ(row.unitLabel->getText(), "%");
    EXPECT_EQ(row.nameLabel->getText(), "ROOM SIZE");

    row.valueEditor->setText("37.5 %");
    row.onConfirm();
    EXPECT_NEAR(plainValue(processor, "RoomSize"), 37.5f, 1e-3f);
    EXPECT_EQ(counter.begins, 1);
    EXPECT_EQ(counter.ends, 1);

    row.valueEditor->setText("250");
    row.onConfirm();
    EXPECT_FLOAT_EQ(plainValue(processor, "RoomSize"), parameter("RoomSize")->maximum);
    row.valueEditor->setText("-1e30");
    row.onConfirm();
    EXPECT_FLOAT_EQ(plainValue(processor, "RoomSize"), parameter("RoomSize")->minimum);

    // Text that is no number, or no finite one, changes nothing and asks the host for nothing.
    const int gestures = counter.begins;
    for (const char* junk : { "", "loud", "nan", "inf", "12,5" })
    {
        row.valueEditor->setText(junk);
        row.onConfirm();
    }
    EXPECT_FLOAT_EQ(plainValue(processor, "RoomSize"), parameter("RoomSize")->minimum);
    EXPECT_EQ(counter.begins, gestures);

    row.valueEditor->setText("junk");
    row.onSetToDefault();
    EXPECT_NEAR(plainValue(processor, "RoomSize"), parameter("RoomSize")->defaultValue, 1e-3f);
    EXPECT_EQ(counter.begins, counter.ends);
    host.removeListener(&counter);
}

TEST_F(ControlEditorTest, SkewedAndBooleanParametersAreWrittenThroughTheirOwnRange)
{
    ControlEditorParameter row;
    row.setControl(editable("PreDelay", "PRE DELAY"));
    EXPECT_EQ(row.unitLabel->getText(), "ms");
    row.valueEditor->setText("120 ms");
    row.onConfirm();
    EXPECT_NEAR(plainValue(processor, "PreDelay"), 120.0f, 1e-2f);

    row.setControl(editable("Freeze", "FREEZE"));
    EXPECT_EQ(row.valueEditor->getText(), "0");
    row.valueEditor->setText("1");
    row.onConfirm();
    EXPECT_EQ(hostParameter(processor, "Freeze").getValue(), 1.0f);
    row.valueEditor->setText("0");
    row.onConfirm();
    EXPECT_EQ(hostParameter(processor, "Freeze").getValue(), 0.0f);
}

TEST_F(ControlEditorTest, OverlayPlacesOneOrTwoRowsAndClosesOnConfirm)
{
    ControlEditorOverlay overlay;
    overlay.setBounds(0, 0, 692, 300);
    overlay.setVisible(true);

    overlay.setControls({ editable("InputFilterFrequency", "FREQUENCY"), editable("InputFilterGain", "GAIN") });
    EXPECT_TRUE(overlay.rows[1]->isVisible());
    overlay.setControls({ editable("RoomSize", "SIZE") });
    EXPECT_FALSE(overlay.rows[1]->isVisible());
    auto* row = overlay.rows[0];

    // A click inside the rectangle keeps it open; "OK" writes and closes.
    overlay.mouseDown(mouseEvent(overlay, { 280.0f, 190.0f }));
    EXPECT_TRUE(overlay.isVisible());
    row->valueEditor->setText("80");
    row->okButton->onClick();
    EXPECT_FALSE(overlay.isVisible());
    EXPECT_NEAR(plainValue(processor, "RoomSize"), 80.0f, 1e-3f);
}

TEST(ControlEditorParsing, EachUnitShowsItsTextAndOtherCodesNone)
{
    const std::pair<int, const char*> units[] = {
        { 3, "%" },  { 4, "s" },   { 5, "ms" }, { 6, "\xc2\xb0" }, { 8, "Hz" }, { 9, "st" }, { 10, "dB" },
        { 11, "\xc2\xb0" }, { 0, "" }, { 1, "" }, { 2, "" }, { 7, "" }, { 12, "" }, { 13, "" }, { 14, "" }, { -1, "" },
    };
    for (const auto& [code, text] : units)
        EXPECT_EQ(ControlEditorParameter::getUnitString(static_cast<ParameterUnit>(code)), text) << code;
}

// The overlay has two rows: further records are not shown, an empty list shows no
// row; Return and "Set to default value" write and close it like "OK".
TEST_F(ControlEditorTest, OverlayShowsAtMostTwoRowsAndReturnAndSetToDefaultCloseIt)
{
    ControlEditorOverlay overlay;
    overlay.setBounds(0, 0, 692, 300);
    overlay.setVisible(true);
    overlay.setControls({ editable("RoomSize", "SIZE"), editable("PreDelay", "PRE DELAY"), editable("HFDamp", "DAMP") });
    EXPECT_EQ(overlay.rows[0]->nameLabel->getText(), "SIZE");
    EXPECT_EQ(overlay.rows[1]->nameLabel->getText(), "PRE DELAY");
    EXPECT_TRUE(overlay.rows[0]->isVisible() && overlay.rows[1]->isVisible());

    overlay.setControls({});
    EXPECT_FALSE(overlay.rows[0]->isVisible() || overlay.rows[1]->isVisible());
    EXPECT_TRUE(overlay.contentBounds.isEmpty());

    overlay.setControls({ editable("RoomSize", "SIZE") });
    overlay.rows[0]->valueEditor->setText("80");
    overlay.rows[0]->valueEditor->onReturnKey(); // Return does what "OK" does
    EXPECT_FALSE(overlay.isVisible());
    EXPECT_NEAR(plainValue(processor, "RoomSize"), 80.0f, 1e-3f);

    overlay.setVisible(true);
    overlay.setControls({ editable("RoomSize", "SIZE") });
    overlay.rows[0]->valueEditor->setText("12");
    overlay.rows[0]->defaultButton->onClick();
    EXPECT_FALSE(overlay.isVisible());
    EXPECT_NEAR(plainValue(processor, "RoomSize"), parameter("RoomSize")->defaultValue, 1e-3f);
}
