#pragma once

#include "Binaries/Zorvik.h"
#include "Common/Parameters/Parameter.h"
#include "UI/Controls/ParameterGestures.h"
#include "UI/Controls/CurveSequencer/CurveSequencerStepDelegate.h"
#include "UI/Controls/CurveSequencer/CurveSequencerStepFooter.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>
#include <memory>
#include <string>

// One step of the curve sequencer: a value from 0 to 1 and a curve mode, each bound to
// a host parameter, drawn as the segment from the step's left edge to its right edge.
//
// The value is the host parameter's plain value (0 to 1 is the height of the shape);
// the curve mode is its plain value rounded to a whole number, and a number that is
// no mode draws a held segment.
// Host changes arrive on any thread: the listener stores them in atomics and sets a
// dirty flag that the 30 Hz timer applies on the message thread.
class CurveSequencerStep : public juce::Component,
                           public juce::AudioProcessorValueTreeState::Listener,
                           public juce::Timer
{
public:
    struct ParameterSettings
    {
        explicit ParameterSettings(const Parameter& p) : minimum(p.minimum), maximum(p.maximum), identifier(p.name) {}
        float minimum;
        float maximum;
        std::string identifier;
    };

    // Start and end level of a segment: mode 1 and 4 end at next, 2 ends at 1, 3 starts at 1.
    struct Levels
    {
        float start;
        float end;
    };
    static Levels levels(int mode, float level, float next);
    // The segment's outline in a shape area of w x h, from the left edge to the right edge.
    static juce::Path segment(int mode, float level, float next, float w, float h);

    CurveSequencerStep(int index, Parameter* value, Parameter* curve);
    ~CurveSequencerStep() override;

    void attach(juce::AudioProcessorValueTreeState& state);
    void parameterChanged(const juce::String& parameterID, float newValue) override;
    void timerCallback() override;
    void paint(juce::Graphics&) override;
    void resized() override;

    // Stores the value and writes it to the value host parameter.
    void setValue(float value);
    // Stores the mode and writes it to the curve host parameter.
    void setCurve(int mode);
    void setRange(float range);
    void setColor(juce::Colour colour);
    void setIsGrey(bool grey);
    void blinkStep(float length);
    void setNextValue(float next) { nextValue = sanitise(next); }
    void setReferenceValue(float reference) { referenceValue = sanitise(reference); }
    void setDelegate(CurveSequencerStepDelegate* d) { delegate = d; }
    // The gestures that the writes of setValue and setCurve join while an edit runs;
    // without them each write is a gesture of its own.
    void setGestures(ParameterGestures* g) { gestures = g; }

    int getIndex() const { return index; }
    float getValue() const { return value.load(); }
    int getCurveMode() const { return curveMode.load(); }
    float getNextValue() const { return nextValue; }
    float getRange() const { return range; }
    juce::Colour getColour() const { return colour; }
    bool isBlinking() const { return blinking; }
    float getBlinkAlpha() const { return blinkAlpha; }
    CurveSequencerStepFooter& getFooter() { return *footer; }

private:
    static float sanitise(float level) { return std::isfinite(level) ? level : 0.0f; }
    void advanceBlink();
    void write(juce::RangedAudioParameter* host, float plainValue);

    CurveSequencerStepDelegate* delegate = nullptr;
    ParameterGestures* gestures = nullptr;
    juce::AudioProcessorValueTreeState* state = nullptr;
    std::unique_ptr<ParameterSettings> valueSettings;
    std::unique_ptr<ParameterSettings> curveSettings;
    juce::RangedAudioParameter* valueHost = nullptr;
    juce::RangedAudioParameter* curveHost = nullptr;
    std::unique_ptr<CurveSequencerStepFooter> footer;
    float referenceValue = 0.0f;
    std::atomic<float> value { 0.5f };
    float range = 0.0f;
    float nextValue = 0.5f;
    std::atomic<int> curveMode { CurveSequencerStepFooter::held };
    int index;
    Parameter* valueParameter;
    Parameter* curveParameter;
    bool isGrey = false;
    juce::Colour colour = Zorvik::blue;
    std::atomic<bool> dirty { false };
    bool blinking = false;
    juce::Rectangle<float> shapeArea;
    int blinkCounter = 0;
    float blinkAlpha = 0.0f;
    float blinkLength = 1.0f;
};
