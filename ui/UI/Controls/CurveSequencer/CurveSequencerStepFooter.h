#pragma once

#include "Binaries/Zorvik.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>

// The strip under a sequencer step that shows the step's curve mode as a small glyph.
class CurveSequencerStepFooter : public juce::Component
{
public:
    // How a step's segment runs from its left edge to its right edge.
    enum CurveMode
    {
        held = 0,      // the step's value across the step
        ramp = 1,      // straight to the next step's start value
        rampUp = 2,    // straight from the step's value up to 1
        rampDown = 3,  // straight from 1 down to the step's value
        ease = 4       // half-cosine ease to the next step's start value
    };
    static constexpr int numCurveModes = 5;

    // A host value rounded to a whole number, which may be no mode at all; NaN gives held.
    static int modeForValue(float value);
    // The mode a click moves on to: the next one, after the last the first; from a
    // number that is no mode, the first.
    static int nextMode(int mode);
    // The glyph of a mode in a footer of the given size; an unknown mode gives an empty path.
    static juce::Path glyph(int mode, float width, float height);

    CurveSequencerStepFooter();

    void setColor(juce::Colour colour);
    void setIsGrey(bool grey);
    // Written by the step, possibly from a parameter listener on another thread.
    void setCurveMode(int mode) { curveMode.store(mode); }
    int getCurveMode() const { return curveMode.load(); }

    void paint(juce::Graphics&) override;

private:
    std::atomic<int> curveMode { held };
    juce::Colour colour = Zorvik::blue;
    bool isGrey = false;
};
