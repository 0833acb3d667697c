#pragma once

#include "Common/ProcessBlock/Filters/BiquadFilterType.h"
#include "UI/Controls/XY/XYControlContainer.h"

// An XY pad that keeps its position and draws the magnitude response of a biquad
// filter: X is the frequency on a logarithmic axis of 11 octaves from 12 Hz, Y the
// second value in -24..24 dB, with a text line stating both.
class FilterContainer : public XYControlContainer
{
public:
    FilterContainer(Parameter* x, Parameter* y, std::string title);
    ~FilterContainer() override;

    void timerCallback() override;
    void updateValue(float location, juce::RangedAudioParameter* host, ParameterSettings* settings) override;
    void paint(juce::Graphics&) override;
    void resized() override;

    // May be called from any thread; the curve is rebuilt at the next timer tick.
    void setType(BiquadFilterType newType);
    BiquadFilterType getType() const { return static_cast<BiquadFilterType>(type.load()); }

    float valueAtGridIndex(float index) const;
    float frequencyValueForLocation(float x) const;
    float locationForDBValue(float db) const;
    void setDescriptionLabelText(float frequency, float value);

    // The frequency drawn in pixel column i, in Hz.
    float frequencyForColumn(int column) const;
    const juce::Path& getResponse() const { return response; }
    juce::Label& getLabel() { return *label; }

    static constexpr float maxFrequency = 21940.29850746269f;
    static constexpr double displaySampleRate = 44100.0;

private:
    void rebuildResponse();

    std::atomic<int> type { 0 };
    float minFrequency = 12.0f;
    unsigned int octaves = 11;
    float dbRange = 24.0f;
    std::unique_ptr<juce::Label> label;
    juce::Path response;
};
