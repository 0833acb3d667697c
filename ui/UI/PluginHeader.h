#pragma once

#include "Basics/PluginHeaderDelegate.h"
#include "LookAndFeel/PresetButtonLookAndFeel.h"
#include "UI/Overlays/AboutOverlay.h"
#include "UI/Overlays/Browser/PresetBrowser.h"
#include "UI/Overlays/Browser/PresetBrowserDelegate.h"
#include "UI/UpdateCheck.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

class EffectProcessor;
class Preset;

// The bar across the top of the editor: logo, product name and version, the preset
// navigator, the update notice and the maker's logo. It owns the preset browser and
// the about box and hands preset requests on to its delegate (the editor).
class PluginHeader : public juce::Component, public PresetBrowserDelegate
{
public:
    // The update check asks updateEndpoint in the background; by default the endpoint
    // in use for the product identifier (UpdateCheck::endpointInUse). An empty URL asks nothing.
    PluginHeader(juce::Image smallLogo, juce::Image transparentLogo, juce::Image logo, bool showDirectories,
                 std::string productIdentifier);
    PluginHeader(juce::Image smallLogo, juce::Image transparentLogo, juce::Image logo, bool showDirectories,
                 std::string productIdentifier, juce::URL updateEndpoint);
    ~PluginHeader() override;

    void resized() override;

    void setDelegate(PluginHeaderDelegate* d);
    void onAboutClick();
    void onPresetClick();
    void onChangePresetClick(bool next);
    void setPresets(std::vector<Preset*> list);
    void selectType(int type);
    void selectDirectory(int directory);
    void updatePresetsContent();
    void selectPreset(int row);
    void setPresetName(juce::String name);
    // May be called on any thread (the editor's parameter listener).
    void onCurrentStateGetsDifferentFromCurrentPreset(bool differs);
    void updateUI();

    // PresetBrowserDelegate
    void onPresetTypeSelected(int type) override;
    void onPresetDirectorySelected(int directory) override;
    void onPresetSelected(int row) override;
    void onSavePreset() override;
    void onSavePresetAs(juce::String name) override;
    void onDeletePreset() override;

    // Tells the user that a preset file could not be written or deleted.
    void showPresetFailure(const juce::String& message);

    // The preset name as shown: the modified mark "*" before the name.
    juce::String getShownPresetName() const;

    PresetBrowser* presetBrowser = nullptr;  // owned
    AboutOverlay* aboutOverlay = nullptr;    // owned
    EffectProcessor* processor = nullptr;
    PluginHeaderDelegate* delegate = nullptr;
    juce::Image smallLogo;
    juce::Image logo;
    std::unique_ptr<juce::ImageButton> logoButton;
    std::unique_ptr<juce::ImageButton> websiteButton;
    std::unique_ptr<juce::TextButton> titleButton;
    std::unique_ptr<juce::TextButton> newVersionButton;
    std::unique_ptr<juce::Component> presetsArea;
    std::unique_ptr<juce::TextButton> presetNameButton;
    PresetButtonLookAndFeel lookAndFeel;
    std::unique_ptr<juce::ArrowButton> previousButton;
    std::unique_ptr<juce::ArrowButton> nextButton;
    std::vector<Preset*> presets;
    juce::String presetName;
    std::atomic<bool> modified { false };      // shown as the mark "*"
    std::atomic<bool> needsUpdate { false };

private:
    Preset* currentPreset() const;
    void markCurrentPreset();
    int rowOf(const Preset* preset) const;
    bool userPresetExists(const juce::String& name) const;

    // Last member: destroyed first, so no answer arrives at a half-destroyed header.
    std::unique_ptr<UpdateCheck> updateCheck;
};
