#include "Basics/PluginDesign.h"

#include "UI/Page.h"
#include "UI/PluginHeader.h"

PluginDesign::PluginDesign() = default;

PluginDesign::~PluginDesign()
{
    header.reset();
}

void PluginDesign::build(std::string productCode)
{
    uiStack = getUiStack();
    uiSettings = getUiSettings();
    auto smallLogo = getSmallLogo();
    auto transparentLogo = getTransparentLogo();
    auto makerLogo = getZorvikLogo();
    header.reset();
    header = std::make_unique<PluginHeader>(smallLogo, transparentLogo, makerLogo, false, productCode);
}
