#pragma once

#include "UI/Controls/UIContainer.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

// A two-thumb range control for a pair of frequency parameters (a low and a high
// edge): a horizontal bar split into three coloured zones by two white handles, the
// two frequencies written at the left and the right. Either edge can be dragged, or
// both together by grabbing the middle. Positions run in the note domain between each
// parameter's minimum and maximum.
class DoubleSliderContainer : public UIContainer,
                              private juce::AudioProcessorValueTreeState::Listener,
                              public juce::Timer
{
public:
    struct ParameterSettings
    {
        // A missing parameter gives an empty name, which binds to nothing.
        explicit ParameterSettings(const Parameter* p)
            : min(p != nullptr ? p->minimum : 0.0f), max(p != nullptr ? p->maximum : 1.0f), name(p != nullptr ? p->name : "")
        {
        }
        float min;
        float max;
        std::string name;
    };

    enum DragMode
    {
        dragLow = 0,
        dragHigh = 1,
        dragBoth = 2,
        dragNone = 3
    };

    // colours: left, middle and right zone; missing entries keep green, blue and red.
    DoubleSliderContainer(Parameter* low, Parameter* high, std::string title, std::vector<juce::Colour> colours);
    ~DoubleSliderContainer() override;

    void paint(juce::Graphics&) override;
    void resized() override;
    void mouseDown(const juce::MouseEvent&) override;
    void mouseDrag(const juce::MouseEvent&) override;
    void mouseUp(const juce::MouseEvent&) override;

    void attach(juce::AudioProcessorValueTreeState& state) override;
    void timerCallback() override;

    // The position (0..1 of the width) of a value, and the value of a position
    // written to the host parameter.
    void updateLocation(float value, std::atomic<float>* position, ParameterSettings* settings);
    void updateValue(float position, juce::RangedAudioParameter* host, ParameterSettings* settings);
    void processEvent(const juce::MouseEvent&);

    float getLowPosition() const { return lowPosition.load(); }
    float getHighPosition() const { return highPosition.load(); }
    int getDragMode() const { return dragMode; }
    bool getNeedsRepaint() const { return needsRepaint.load(); }
    const std::vector<juce::Colour>& getColours() const { return colours; }
    juce::Label& getLowLabel() { return *lowLabel; }
    juce::Label& getHighLabel() { return *highLabel; }

private:
    void parameterChanged(const juce::String& parameterID, float newValue) override;
    float pointerPosition(const juce::MouseEvent&) const;
    static juce::String frequencyText(float value);

    std::unique_ptr<ParameterSettings> lowSettings;
    std::unique_ptr<ParameterSettings> highSettings;
    juce::RangedAudioParameter* lowHostParameter = nullptr;
    juce::RangedAudioParameter* highHostParameter = nullptr;
    // Written by the parameter listener on any thread and by drags; read by paint.
    std::atomic<float> lowPosition { 0.0f };
    std::atomic<float> highPosition { 0.0f };
    float pressPosition = 0.0f;
    float lowPositionAtPress = 0.0f;
    float highPositionAtPress = 0.0f;
    juce::AudioProcessorValueTreeState* valueTreeState = nullptr;
    Parameter* lowParameter;
    Parameter* highParameter;
    int dragMode = dragNone;
    std::atomic<bool> needsRepaint { false };
    std::vector<juce::Colour> colours { Zorvik::green, Zorvik::blue, Zorvik::red };
    std::unique_ptr<juce::Label> lowLabel;
    std::unique_ptr<juce::Label> highLabel;
};
