#pragma once

#include "UI/Controls/UIContainer.h"

#include <vector>

// Where the notches of a stereo phaser sit on a logarithmic frequency axis: for each
// side a row of coloured bars spread round a centre note, inside a pinched frame that
// also clips the drawing. A horizontal drag moves the frequency parameter along the
// axis, 127 semitones per full width.
//
// The owner keeps the centre notes and spreads (two floats each) and updates them on
// the message thread; values that are not finite draw no notch.
class PhaserViewContainer : public UIContainer
{
public:
    static constexpr int maxNotches = 512;

    PhaserViewContainer(Parameter* parameter, Parameter* frequency, std::string title);
    ~PhaserViewContainer() override;

    void attach(juce::AudioProcessorValueTreeState& state) override;
    void setNotchesCount(int count);
    void setFeedback(float feedback);
    void setDepth(float depth);
    void setValues(const float* centreNotes, const float* spreads);
    void resized() override;
    void paint(juce::Graphics&) override;
    void mouseDown(const juce::MouseEvent&) override;
    void mouseDrag(const juce::MouseEvent&) override;
    void mouseUp(const juce::MouseEvent&) override;

    // MIDI note number of a frequency on the note-domain scale; -1500 for 0 Hz or below.
    static float noteForFrequency(float frequency);
    // Frequency of a note; 0 at or below -1500, 3.282408e38 above 1499.
    static float frequencyForNote(float note);
    // The note of notch i of count on a side with that centre note and spread.
    static float notchNote(int i, int count, float centreNote, float spread);
    // Position of a note across the axis, 0 at the left edge and 1 at the right.
    float proportionForNote(float note) const;
    // x of a frequency in Hz on the axis of a view that wide, clamped to the edges.
    float xForFrequency(float frequency, float width) const;
    // The notch bars of both sides for a view of w x h.
    juce::RectangleList<float> notchRectangles(float w, float h) const;

    int getNotchesCount() const { return notchCount; }
    float getNotchWidth() const { return notchWidth; }
    float getDepth() const { return depth; }
    const std::vector<int>& getMinorLines() const { return minorLines; }
    const std::vector<int>& getMajorLines() const { return majorLines; }

private:
    juce::Path gridLines(const std::vector<int>& frequencies, float w, float h) const;

    int notchCount = 1;
    float notchWidth = 4.0f;
    float depth = 1.0f;
    const float* centreNotes = nullptr;
    const float* spreads = nullptr;
    juce::Path borderPath;
    juce::Point<int> dragStart;
    float dragStartNote = 0.0f;
    bool dragging = false;
    Parameter* frequencyParameter;
    juce::RangedAudioParameter* frequencyHost = nullptr;
    int lowestNote = 13;
    int highestNote = 138;
    std::vector<int> majorLines { 100, 1000, 10000 };
    std::vector<int> minorLines { 20,   30,   40,   50,   60,   80,   90,   200,  300,  400,  500,
                                  600,  800,  900,  2000, 3000, 4000, 5000, 6000, 8000, 9000, 20000 };
};
