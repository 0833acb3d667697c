#include "UI/Overlays/AboutOverlay.h"

#include "Binaries/Zorvik.h"
#include "UI/MakerAddresses.h"

AboutOverlay::AboutOverlay(juce::Image logo)
    : infoPanel(std::make_unique<juce::Component>()),
      logoImage(std::make_unique<juce::ImageComponent>()),
      nameLabel(std::make_unique<juce::Label>()),
      versionLabel(std::make_unique<juce::Label>()),
      websiteLink(std::make_unique<juce::HyperlinkButton>(MakerAddresses::webSiteText,
                                                          juce::URL(MakerAddresses::webSite)))
{
    logoImage->setImage(logo);

    addAndMakeVisible(*infoPanel);
    infoPanel->addAndMakeVisible(*logoImage);
    infoPanel->addAndMakeVisible(*nameLabel);
    infoPanel->addAndMakeVisible(*versionLabel);
    addAndMakeVisible(*websiteLink);

    versionLabel->setFont(Zorvik::getFontLight().withHeight(20.0f));
    versionLabel->setColour(juce::Label::textColourId, Zorvik::blue);
    versionLabel->setText(juce::String("version ") + JucePlugin_VersionString, juce::dontSendNotification);
    versionLabel->setJustificationType(juce::Justification::centred);

    websiteLink->setFont(Zorvik::getFontLight().withHeight(20.0f), true, juce::Justification::horizontallyCentred);
    websiteLink->setColour(juce::HyperlinkButton::textColourId, Zorvik::blue);
    websiteLink->setJustificationType(juce::Justification::centred);

    nameLabel->setFont(Zorvik::getFontBold().withHeight(24.0f));
    nameLabel->setColour(juce::Label::textColourId, juce::Colours::white);
    nameLabel->setText(JucePlugin_Name, juce::dontSendNotification);
    nameLabel->setJustificationType(juce::Justification::centred);
}

void AboutOverlay::paint(juce::Graphics& g)
{
    Overlay::paint(g);
}

void AboutOverlay::resized()
{
    Overlay::resized();
    const int cx = contentBounds.getX();
    const int cy = contentBounds.getY();
    const int cw = contentBounds.getWidth();
    const int ch = contentBounds.getHeight();

    const int linkHeight = ch / 9;
    websiteLink->setBounds(cx, static_cast<int>(static_cast<float>(ch) - static_cast<float>(linkHeight) * 0.7f), cw,
                           linkHeight);
    infoPanel->setBounds(cx, cy, cw, ch / 2);
    logoImage->setBounds(infoPanel->getWidth() / 2 - 25, 0, 50, 50);
    nameLabel->setBounds(0, logoImage->getBottom(), cw, ch / 8);
    versionLabel->setBounds(0, nameLabel->getBottom() - 8, cw, ch / 16);
}
