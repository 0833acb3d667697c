#pragma once

#include "UI/Controls/UIContainer.h"

class FilterDSPKernel;

#include <array>
#include <atomic>
#include <optional>

// Shows one or two output values of the audio kernel as bars, read 30 times a second
// from the value array the kernel publishes for the bound output parameter.
class PeakMeterContainer : public UIContainer, public juce::Timer
{
public:
    PeakMeterContainer(Parameter* parameter, std::string title);
    ~PeakMeterContainer() override;

    void attach(juce::AudioProcessorValueTreeState& state) override;
    void setMainColor(juce::Colour colour) override;
    void timerCallback() override;
    void paint(juce::Graphics&) override;

    void updatePeak(juce::Graphics& g, int index, int count);
    void setIsWaiting(bool waiting);

    // The bar's level (0..1, or -1..1 when bipolar) for a reading; none for a
    // non-finite reading.
    std::optional<double> levelForReading(float reading) const;
    // Where bar index of count is drawn: its background slot and its bar.
    juce::Rectangle<int> slotBounds(int index, int count) const;
    juce::Rectangle<float> barBounds(int index, int count, double level) const;

    bool hasValues() const { return values != nullptr; }
    int getPulseCounter() const { return pulseCounter; }

    bool isStereo = false;
    bool isNarrow = true;
    bool isBipolar = false;
    bool isDecibel = true;
    bool isInverted = false;
    bool isHorizontal = false;

private:
    float reading(int index) const;

    void lookUpValues();

    // The kernel's published pair for the parameter; null until processing was prepared.
    const std::atomic<float>* values = nullptr;
    const FilterDSPKernel* kernel = nullptr;
    std::array<float, 2> lastValues { -1.0f, -1.0f };
    bool lastStereo = false;
    bool isWaiting = false;
    int pulseCounter = 0;
};
