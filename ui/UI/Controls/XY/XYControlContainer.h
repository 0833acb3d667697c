#pragma once

#include "UI/Controls/UIContainer.h"

#include <atomic>
#include <memory>

// Sets two parameters at once from the mouse position in a square field: X from left
// to right, Y from bottom to top. Momentary unless keepPosition is set: on release
// both parameters fall back to their minimum.
class XYControlContainer : public UIContainer,
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

    XYControlContainer(Parameter* x, Parameter* y, std::string title);
    ~XYControlContainer() override;

    void attach(juce::AudioProcessorValueTreeState& state) override;
    void timerCallback() override;
    // Writes the plain value for a position of 0..1 to the host parameter.
    virtual void updateValue(float location, juce::RangedAudioParameter* host, ParameterSettings* settings);
    // Stores the position (0..1) of a plain value.
    virtual void updateLocation(float value, std::atomic<float>* location, ParameterSettings* settings);
    void parameterChanged(const juce::String& parameterID, float newValue) override;

    void paint(juce::Graphics&) override;
    void resized() override;
    void mouseDown(const juce::MouseEvent&) override;
    void mouseDrag(const juce::MouseEvent&) override;
    void mouseUp(const juce::MouseEvent&) override;
    void processEvent(const juce::MouseEvent&);

    float getLocationX() const { return locationX.load(); }
    float getLocationY() const { return locationY.load(); }
    bool getIsDragging() const { return isDragging; }

protected:
    juce::Rectangle<int> field() const;
    static float plainValue(const juce::RangedAudioParameter* host);

    std::unique_ptr<ParameterSettings> xSettings;
    std::unique_ptr<ParameterSettings> ySettings;
    juce::RangedAudioParameter* hostX = nullptr;
    juce::RangedAudioParameter* hostY = nullptr;
    // Written by the parameter listeners on any thread and by drags; read by paint.
    std::atomic<float> locationX { 0.0f };
    std::atomic<float> locationY { 0.0f };
    juce::AudioProcessorValueTreeState* state = nullptr;
    bool keepPosition = false;
    Parameter* xParameter;
    Parameter* yParameter;
    bool isDragging = false;
    std::atomic<bool> dirty { false };
    bool drawHandle = true;
};
