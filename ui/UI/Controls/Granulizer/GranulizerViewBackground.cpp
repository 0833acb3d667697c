#include "UI/Controls/Granulizer/GranulizerViewBackground.h"

#include "Binaries/Zorvik.h"
#include "UI/Controls/Granulizer/GrainsComponent.h"

GranulizerViewBackground::GranulizerViewBackground()
{
    setInterceptsMouseClicks(false, false);
}

void GranulizerViewBackground::addLine(float x0, float z0, float x1, float z1)
{
    const float w = static_cast<float>(getWidth());
    const float h = static_cast<float>(getHeight());
    const float floorHeight = -4.0f;
    const float a[] = { x0, floorHeight, z0, 1.0f };
    const float b[] = { x1, floorHeight, z1, 1.0f };
    floor.startNewSubPath(GrainsComponent::spaceToScreen(w, h, a));
    floor.lineTo(GrainsComponent::spaceToScreen(w, h, b));
}

void GranulizerViewBackground::paint(juce::Graphics& g)
{
    if (floor.isEmpty())
    {
        for (int i = -8; i <= 8; ++i)
            addLine(3.0f * static_cast<float>(i), 0.1f, 3.0f * static_cast<float>(i), 14.0f);
        for (int i = 1; i <= 7; ++i)
            addLine(-24.0f, 2.0f * static_cast<float>(i), 24.0f, 2.0f * static_cast<float>(i));
    }
    g.setColour(Zorvik::blue.darker(0.4f));
    g.strokePath(floor, juce::PathStrokeType(0.5f));
}
