#pragma once

#include "UI/Controls/XY/XYControlContainer.h"

#include <memory>

// A momentary XY pad for a time-stop effect: while the mouse is held on the pad a
// trigger parameter is held at 1 and X and Y set two further parameters. Over the pad
// it draws a square that grows while triggered, a pulsing veil while the effect holds,
// a small box with the slow-down curve chosen by X and the time chosen by Y, and a
// spiral icon revealed as a wedge by a speed value.
class TimeStopXYControlContainer : public XYControlContainer
{
public:
    TimeStopXYControlContainer(Parameter* x, Parameter* y, Parameter* trigger, std::string title);
    ~TimeStopXYControlContainer() override;

    void attach(juce::AudioProcessorValueTreeState& state) override;
    void timerCallback() override;
    void paint(juce::Graphics&) override;
    void resized() override;
    void mouseDown(const juce::MouseEvent&) override;
    void mouseUp(const juce::MouseEvent&) override;

    // Fraction of a full turn shown by the speed icon, clockwise from twelve o'clock
    // (1 = full circle; negative turns the other way); non-finite shows the whole
    // icon. Message thread.
    void setSpeed(float speed);
    // Whether the effect reports that it holds; the veil pulses while it does.
    // Message thread.
    void setIsTriggerHolding(bool holding);

    // The time shown for a Y position: 50 ms at the bottom to 2000 ms at the top.
    static int timeForLocation(float locationY);
    // The slow-down curve's exponent for an X position: 5 at the left, 1 in the
    // middle, 1 / 2.2 at the right.
    static float curveExponent(float locationX);
    // The spiral icon in its 100 x 100 design space.
    static juce::Path speedIconShape();

    float getSpeed() const { return speed; }
    bool getIsTriggerHolding() const { return isTriggerHolding; }
    int getHoldingCounter() const { return holdingCounter; }
    float triggerValue() const;
    juce::Label& getTimeLabel() { return *timeLabel; }
    juce::Label& getHoldingLabel() { return *holdingLabel; }

private:
    void paintHolding(juce::Graphics&);
    void paintSquare(juce::Graphics&);
    void paintCurveIndicator(juce::Graphics&);
    void paintSpeedIcon(juce::Graphics&);

    std::unique_ptr<ParameterSettings> triggerSettings;
    juce::RangedAudioParameter* triggerHost = nullptr;
    juce::AudioProcessorValueTreeState* triggerState = nullptr;
    Parameter* triggerParameter;
    float speed = -1.0f;
    bool isTriggerHolding = false;
    int holdingCounter = 0;
    std::unique_ptr<juce::Label> timeLabel;
    std::unique_ptr<juce::Label> holdingLabel;
    juce::Path speedIcon;
    float labelHeight = 0.0f;
    float curveBoxWidth = 0.0f;
    float margin = 0.0f;
};
