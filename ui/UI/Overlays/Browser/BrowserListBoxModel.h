#pragma once

#include "UI/Overlays/Browser/BrowserListBoxModelDelegate.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <vector>

// The rows of one list of the preset browser.
class BrowserListBoxModel : public juce::ListBoxModel
{
public:
    int getNumRows() override;
    void paintListBoxItem(int row, juce::Graphics& g, int width, int height, bool selected) override;
    void selectedRowsChanged(int lastRowSelected) override;

    void setDelegate(BrowserListBoxModelDelegate* d);
    void setElements(std::vector<juce::String> texts);

    BrowserListBoxModelDelegate* delegate = nullptr;
    std::vector<juce::String> elements;
};
