#pragma once

#include "Binaries/Zorvik.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <algorithm>

// The dialogs' look: the window dimmed, and a dark panel over its middle.
inline void paintDialogPanel(juce::Graphics& g, int w, int h)
{
    g.fillAll(Zorvik::background.withAlpha(0.3f));
    const juce::Rectangle<int> panel(w / 4, h / 3, std::max(w - 2 * (w / 4), 0), std::max(h - 2 * (h / 3), 0));
    g.setColour(Zorvik::background);
    g.fillRect(panel.expanded(20));
}
