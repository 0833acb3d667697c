#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Base of the panels laid over the editor below its header: a dimmed inner
// rectangle; a click outside it hides the overlay.
class Overlay : public juce::Component
{
public:
    Overlay();
    ~Overlay() override = default;

    void mouseDown(const juce::MouseEvent& e) override;
    void paint(juce::Graphics& g) override;
    void resized() override;

    juce::Rectangle<int> contentBounds;
    float backgroundAlpha = 0.85f;
};
