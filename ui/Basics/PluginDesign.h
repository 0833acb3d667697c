#pragma once

#include "Basics/ParameterUISettings.h"

#include <juce_graphics/juce_graphics.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

class Page;
class PluginHeader;

// A product's user interface as data: the pages (each a row of sections of
// columns of parameter slots), one settings row per parameter key, the logos and
// the header bar built from them. The product derives from it and owns the pages.
class PluginDesign
{
public:
    PluginDesign();
    virtual ~PluginDesign();

    virtual std::vector<Page*> getUiStack() = 0;
    virtual std::map<int, ParameterUISettings> getUiSettings() = 0;
    virtual juce::Image getSmallLogo() = 0;
    virtual juce::Image getTransparentLogo() = 0;
    virtual juce::Image getZorvikLogo() = 0;

    // Fills the stack and settings and makes a new header; a second call replaces all three.
    void build(std::string productCode);

    std::vector<Page*> uiStack;
    std::map<int, ParameterUISettings> uiSettings;
    std::unique_ptr<PluginHeader> header;

    JUCE_DECLARE_NON_COPYABLE(PluginDesign)
};
