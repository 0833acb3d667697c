#pragma once

#include "UI/Controls/UIContainer.h"

// The transfer curve of a waveshaper (output level against input level) for one of
// nine shaping algorithms, with an added sine fold, a line for the offset and a fixed
// grid; the view shows levels from -range to +range. Dragging changes two linked
// parameters: the first by 100 per output unit upwards, the second by the range per
// full width to the right. The owner pushes the algorithm and the shaping values.
class WaveshaperViewContainer : public UIContainer
{
public:
    enum Algorithm
    {
        drawHardClip = 0,
        drawSoftClip,
        drawHyperbolicTangent,
        drawExponential,
        drawSinoidFold,
        drawPolynomialOrder2,
        drawPolynomialOrder3,
        drawPolynomialOrder4,
        drawPolynomialOrder5,
        numAlgorithms
    };

    WaveshaperViewContainer(Parameter* parameter, Parameter* first, Parameter* second, std::string title);
    ~WaveshaperViewContainer() override;

    void attach(juce::AudioProcessorValueTreeState& state) override;
    void setAlgorithm(Algorithm algorithm);
    void setValues(float offset, float foldAmount, float foldRate, float drive);
    void resized() override;
    void paint(juce::Graphics&) override;
    void mouseDown(const juce::MouseEvent&) override;
    void mouseDrag(const juce::MouseEvent&) override;
    void mouseUp(const juce::MouseEvent&) override;

    // The shaping of an input level x (with the algorithm's clipping outside -1 to 1);
    // NaN for an algorithm that does not exist.
    static float shape(int algorithm, float x, float driveAmount);
    // The shaping plus the sine fold.
    static float folded(float y, float foldAmount, float foldRate);

    const juce::Path& getGridPath() const { return gridPath; }
    const juce::Path& getCurvePath() const { return curvePath; }
    const juce::Path& getOffsetPath() const { return offsetPath; }
    float getRange() const { return range; }

private:
    static bool differs(float a, float b) { return ! (a == b); }
    void buildGrid(float w, float h);
    void buildCurve(float w, float h);

    float range = 1.6f;
    float centreX = 0.0f;
    float centreY = 0.0f;
    float leftUnitX = 0.0f;
    float rightUnitX = 0.0f;
    float lowerUnitY = 0.0f;
    float upperUnitY = 0.0f;
    int algorithm = drawHardClip;
    float offset = 0.0f;
    float drive = 1.0f;
    float foldAmount = 0.0f;
    float foldRate = 0.0f;
    juce::Path gridPath;
    juce::Path offsetPath;
    juce::Path curvePath;
    juce::Point<int> dragStart;
    float firstAtDragStart = 0.0f;
    float secondAtDragStart = 0.0f;
    bool dragging = false;
    Parameter* firstParameter;
    Parameter* secondParameter;
    juce::RangedAudioParameter* firstHost = nullptr;
    juce::RangedAudioParameter* secondHost = nullptr;
};
