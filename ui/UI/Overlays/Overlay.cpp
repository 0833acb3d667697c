#include "UI/Overlays/Overlay.h"

#include "Binaries/Zorvik.h"

Overlay::Overlay() = default;

void Overlay::mouseDown(const juce::MouseEvent& e)
{
    if (!contentBounds.contains(e.getPosition()))
        setVisible(false);
}

void Overlay::paint(juce::Graphics& g)
{
    g.setColour(Zorvik::background.withAlpha(backgroundAlpha));
    g.fillRect(contentBounds);
}

void Overlay::resized()
{
    contentBounds = { 20, 10, std::max(getWidth() - 40, 0), std::max(getHeight() - 20, 0) };
}
