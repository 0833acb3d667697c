#pragma once

#include "UI/UIColumn.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

class UIContainer;

// A titled, colour-tinted block of a page that places its controls on a grid of
// weighted columns and equal rows. The controls are not owned.
class Section : public juce::Component
{
public:
    Section(std::vector<UIColumn> columns, std::string title, juce::Colour colour,
            std::map<int, std::vector<int>> siblings, bool hideTitle);
    ~Section() override;

    void addControl(int key, UIContainer* control);
    bool containsParam(int key) const;
    std::vector<int> getParams() const;
    std::vector<int> getSiblings() const;
    int getColumnCount() const;
    void setColor(juce::Colour colour, std::vector<int> keep);

    void paint(juce::Graphics& g) override;
    void resized() override;

    void setTitle();
    void setControls();

    const std::string& getTitle() const { return title; }
    juce::Colour getColour() const { return colour; }
    juce::Label& getTitleLabel() { return *titleLabel; }
    int getTitleHeight() const { return titleHeight; }
    juce::Rectangle<int> getArea() const { return area; }
    UIContainer* getControl(int key) const;

private:
    void placeControl(UIContainer* control, juce::Rectangle<int> bounds);

    juce::Colour colour;
    std::string title;
    std::vector<UIColumn> columns;
    std::unique_ptr<juce::Label> titleLabel;
    juce::Rectangle<int> area;
    int titleHeight = 0;
    std::map<int, UIContainer*> containers;
    std::map<int, std::vector<int>> siblings;
    bool hideTitle;
};
