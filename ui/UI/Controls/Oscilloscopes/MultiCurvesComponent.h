#pragma once

#include "Binaries/Zorvik.h"

#include <juce_gui_extra/juce_gui_extra.h>

#include <vector>

// An animated picture of a multi-line modulated delay: one travelling sine curve per
// delay line and stereo side, the sides shifted by a width, the lines by an offset,
// the heights set by two depths, the thickness by the feedback and the speed by the
// rate. A click pauses and resumes the motion. It draws no background.
//
// Settings that are not finite are ignored; the line count stays from 1 to 4, the
// rate and feedback are not negative, and points stay near the component.
class MultiCurvesComponent : public juce::AnimatedAppComponent
{
public:
    static constexpr int maxLines = 4;

    MultiCurvesComponent();

    void initCurves(int lineCount, float offset, float width, float rightDepth, float leftDepth, bool equalDepth,
                    float feedback, float rate);
    void setDelayLinesCount(int count);
    void setOffset(float offset);
    void setWidth(float width);
    void setRightDepth(float depth);
    void setLeftDepth(float depth);
    void setEqualDepth(bool equal);
    void setFeedback(float feedback);
    void setRate(float rate);

    void update() override;
    // Moves the animation on by that many milliseconds unless paused.
    void advance(double milliseconds);
    void resized() override;
    void mouseDown(const juce::MouseEvent&) override;
    void paint(juce::Graphics&) override;

    // The curve of one delay line and side as drawn now.
    juce::Path curve(int line, int side) const;
    float strokeWidth() const;

    bool isPaused() const { return paused; }
    double getElapsedTime() const { return elapsedTime; }
    int getDelayLinesCount() const { return lineCount; }
    juce::Colour colourOf(int line, int side) const { return colours[static_cast<size_t>(line)][static_cast<size_t>(side)]; }

private:
    static void store(float& field, float value);

    bool paused = false;
    float pointCount = 72.0f;
    int sides = 2;
    int lineCount = 4;
    float offset = 0.4f;
    float width = 0.6f;
    float rightDepth = 1.0f;
    float leftDepth = 0.4f;
    bool equalDepth = false;
    float feedback = 0.5f;
    float rate = 5.0f;
    std::vector<std::vector<juce::Colour>> colours;
    // Milliseconds; double keeps the motion smooth after days of running.
    double elapsedTime = 0.0;
    float centreY = 0.0f;
    float xStep = 0.0f;
    float phaseStep = 0.0f;
    const float pi = juce::MathConstants<float>::pi;
};
