#pragma once

#include "Common/ProcessBlock/Filters/BiquadCoefficients.h"
#include "UI/Controls/OnOff/OnOffContainer.h"
#include "UI/Controls/UIContainer.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

// A low-pass and a high-pass filter edited in one field: their combined magnitude
// response drawn as a filled curve, a handle per filter (frequency across, resonance
// up and down), an on/off toggle ("LP", "HP") and a value label for each. Six
// parameters: per filter its frequency, its resonance in dB and its on switch.
class DoubleFilterContainer : public UIContainer,
                              public juce::AudioProcessorValueTreeState::Listener,
                              public juce::Timer
{
public:
    struct ParameterSettings
    {
        // A missing parameter gives an empty identifier, which binds to nothing.
        explicit ParameterSettings(const Parameter* p)
            : minimum(p != nullptr ? p->minimum : 0.0f),
              maximum(p != nullptr ? p->maximum : 1.0f),
              identifier(p != nullptr ? p->name : std::string())
        {
        }
        float minimum;
        float maximum;
        std::string identifier;
    };

    // Indices of the six parameters, in constructor order.
    enum Slot
    {
        lowPassFrequency = 0,
        lowPassResonance,
        lowPassOn,
        highPassFrequency,
        highPassResonance,
        highPassOn,
        slotCount
    };

    DoubleFilterContainer(Parameter* lowPassFrequency, Parameter* lowPassResonance, Parameter* lowPassOn,
                          Parameter* highPassFrequency, Parameter* highPassResonance, Parameter* highPassOn,
                          std::string title);
    ~DoubleFilterContainer() override;

    void attach(juce::AudioProcessorValueTreeState& state) override;
    void setMainColor(juce::Colour colour) override;
    void timerCallback() override;
    void parameterChanged(const juce::String& parameterID, float newValue) override;
    virtual void updateValue(float location, juce::RangedAudioParameter* host, ParameterSettings* settings);
    virtual void updateLocation(float value, std::atomic<float>* location, ParameterSettings* settings);

    void resized() override;
    void paint(juce::Graphics&) override;
    void mouseDown(const juce::MouseEvent&) override;
    void mouseDrag(const juce::MouseEvent&) override;
    void mouseUp(const juce::MouseEvent&) override;

    // Geometry of the field: x of a frequency, y of a resonance in dB, and back.
    float locationForFrequencyValue(float frequency) const;
    float locationForDBValue(float db) const;
    float frequencyValueForLocation(float x) const;
    float valueAtGridIndex(float index) const;
    // The frequency drawn in pixel column x, in Hz.
    float frequencyForColumn(int x) const;

    void setDescriptionLabelText(bool lowPass, float frequency, float resonance);

    bool isLowPassOn() const { return lowPassIsOn.load(); }
    bool isHighPassOn() const { return highPassIsOn.load(); }
    juce::Point<float> getLowPassLocation() const { return { lowPassLocation[0].load(), lowPassLocation[1].load() }; }
    juce::Point<float> getHighPassLocation() const { return { highPassLocation[0].load(), highPassLocation[1].load() }; }
    // Handle positions in pixels (message thread).
    juce::Point<int> getLowPassHandle() { refreshHandles(); return lowPassHandle; }
    juce::Point<int> getHighPassHandle() { refreshHandles(); return highPassHandle; }
    bool getIsDragging() const { return dragging; }
    bool getIsDraggingLowPass() const { return draggingLowPass; }
    const juce::Path& getCurve() const { return curve; }
    OnOffContainer& getLowPassToggle() { return *lowPassToggle; }
    OnOffContainer& getHighPassToggle() { return *highPassToggle; }
    juce::Label& getLowPassLabel() { return *lowPassLabel; }
    juce::Label& getHighPassLabel() { return *highPassLabel; }

    static constexpr float maxFrequency = 21940.29850746269f;
    static constexpr double displaySampleRate = 44100.0;

private:
    void paintCurve(juce::Graphics&);
    void rebuildCurve();
    float plain(int slot) const;
    juce::Point<int> handleForValues(Slot frequencySlot) const;
    // Moves the handles whose values changed since they were last placed.
    void refreshHandles();
    void processEvent(const juce::MouseEvent&);

    std::array<std::unique_ptr<ParameterSettings>, slotCount> settings;
    std::array<juce::RangedAudioParameter*, slotCount> hosts {};
    juce::AudioProcessorValueTreeState* state = nullptr;
    std::array<Parameter*, slotCount> parameters;
    // Written by the parameter listeners on any thread, read on the message thread.
    std::atomic<bool> lowPassIsOn { false };
    std::atomic<float> lowPassLocation[2] { { 0.0f }, { 0.0f } };
    std::atomic<float> highPassLocation[2] { { 0.0f }, { 0.0f } };
    std::atomic<bool> highPassIsOn { false };
    float lowestFrequency = 12.0f;
    std::uint64_t octaves = 11;
    float dbRange = 24.0f;
    std::atomic<bool> needsRedraw { false };
    std::unique_ptr<OnOffContainer> lowPassToggle;
    std::unique_ptr<juce::Label> lowPassLabel;
    std::unique_ptr<OnOffContainer> highPassToggle;
    std::unique_ptr<juce::Label> highPassLabel;
    bool dragging = false;
    bool draggingLowPass = false;
    juce::Point<int> lowPassHandle;
    juce::Point<int> highPassHandle;
    // Set by the listeners when a handle's values change; the message thread moves it.
    std::atomic<bool> lowPassHandleStale { false };
    std::atomic<bool> highPassHandleStale { false };
    juce::Path curve;
};
