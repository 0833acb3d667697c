#pragma once

#include "UI/Overlays/Overlay.h"

#include <memory>

// The about box: the product's logo, name and version and a link to the maker's web site.
class AboutOverlay : public Overlay
{
public:
    explicit AboutOverlay(juce::Image logo);
    ~AboutOverlay() override = default;

    void paint(juce::Graphics& g) override;
    void resized() override;

    std::unique_ptr<juce::Component> infoPanel;
    std::unique_ptr<juce::ImageComponent> logoImage;
    std::unique_ptr<juce::Label> nameLabel;
    std::unique_ptr<juce::Label> versionLabel;
    std::unique_ptr<juce::HyperlinkButton> websiteLink;
};
