#pragma once

#include "LookAndFeel/ButtonLookAndFeel.h"
#include "UI/PageSelectorDelegate.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <string>
#include <vector>

// The strip of page tabs shown when a design has two or more pages.
class PageSelector : public juce::Component
{
public:
    explicit PageSelector(PageSelectorDelegate* delegate);
    ~PageSelector() override;

    // Makes one tab per name (replacing any earlier tabs) with the selected one on.
    void init(std::vector<std::string> names, int selected);
    void updateState(int page);
    void resized() override;

    void setDelegate(PageSelectorDelegate* d) { delegate = d; }
    size_t getNumTabs() const { return buttons.size(); }
    juce::ToggleButton& getTab(size_t index) { return *buttons[index]; }

private:
    void clearTabs();

    PageSelectorDelegate* delegate;
    std::vector<std::unique_ptr<juce::ToggleButton>> buttons;
    ButtonLookAndFeel lookAndFeel;
};
