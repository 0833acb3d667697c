#pragma once

#include "UI/UISection.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <string>
#include <vector>

// One page of the editor: its sections side by side, each as wide as its share of
// the total weight. The sections are not owned.
class Page : public juce::Component
{
public:
    Page(std::vector<UISection> sections, std::string name);

    void resized() override;

    const std::vector<UISection>& getSections() const { return sections; }
    const std::string& getName() const { return name; }

private:
    std::vector<UISection> sections;
    std::string name;
};
