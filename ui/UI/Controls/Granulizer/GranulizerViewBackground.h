#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The granulizer's floor: a grid drawn in perspective, rebuilt after each resize.
class GranulizerViewBackground : public juce::Component
{
public:
    GranulizerViewBackground();

    void paint(juce::Graphics&) override;
    void resized() override { floor.clear(); }

    const juce::Path& getFloor() const { return floor; }

private:
    void addLine(float x0, float z0, float x1, float z1);

    juce::Path floor;
};
