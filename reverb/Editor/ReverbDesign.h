#pragma once

#include "Basics/PluginDesign.h"
#include "UI/Page.h"
#include "UI/Section.h"

#include <memory>

// The reverb's window as data: one page of four sections and a settings row for
// each control, with the product's logos.
class ReverbDesign : public PluginDesign
{
public:
    ReverbDesign();
    ~ReverbDesign() override;

    std::vector<Page*> getUiStack() override;
    std::map<int, ParameterUISettings> getUiSettings() override;
    juce::Image getSmallLogo() override;
    juce::Image getTransparentLogo() override;
    juce::Image getZorvikLogo() override;

    // Decodes the logos and makes the sections and the page.
    void createLayout();

    juce::Image zorvikLogo;
    juce::Image smallLogo;
    juce::Image transparentLogo;
    std::unique_ptr<Section> inputSection;
    std::unique_ptr<Section> reverbSection;
    std::unique_ptr<Section> duckerSection;
    std::unique_ptr<Section> mixSection;
    std::unique_ptr<Page> page;
};
