#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A slider that hands right clicks to its container (which opens the value editor)
// and never moves on them.
class CustomSlider : public juce::Slider
{
public:
    CustomSlider() = default;
    explicit CustomSlider(const juce::String& name) : juce::Slider(name) {}

    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;
};
