#include "UI/PluginHeader.h"

#include "Basics/EffectProcessor.h"
#include "Binaries/Zorvik.h"
#include "Preset/Preset.h"
#include "Preset/PresetFileName.h"
#include "UI/MakerAddresses.h"

#include <algorithm>

PluginHeader::PluginHeader(juce::Image small, juce::Image transparentLogo, juce::Image makerLogo,
                           bool showDirectories, std::string productIdentifier)
    : PluginHeader(std::move(small), std::move(transparentLogo), std::move(makerLogo), showDirectories,
                   productIdentifier, UpdateCheck::endpointInUse(productIdentifier))
{
}

PluginHeader::PluginHeader(juce::Image small, juce::Image transparentLogo, juce::Image makerLogo,
                           bool showDirectories, std::string, juce::URL updateEndpoint)
    : smallLogo(std::move(small)),
      logo(std::move(makerLogo)),
      logoButton(std::make_unique<juce::ImageButton>()),
      websiteButton(std::make_unique<juce::ImageButton>()),
      titleButton(std::make_unique<juce::TextButton>()),
      newVersionButton(std::make_unique<juce::TextButton>()),
      presetsArea(std::make_unique<juce::Component>()),
      presetNameButton(std::make_unique<juce::TextButton>()),
      previousButton(std::make_unique<juce::ArrowButton>("previous", 0.5f, juce::Colours::white)),
      nextButton(std::make_unique<juce::ArrowButton>("next", 0.0f, juce::Colours::white))
{
    addAndMakeVisible(*logoButton);
    addAndMakeVisible(*titleButton);
    addAndMakeVisible(*websiteButton);
    addAndMakeVisible(*newVersionButton);
    addAndMakeVisible(*presetsArea);
    presetsArea->addAndMakeVisible(*previousButton);
    presetsArea->addAndMakeVisible(*presetNameButton);
    presetsArea->addAndMakeVisible(*nextButton);

    presetBrowser = new PresetBrowser(showDirectories);
    presetBrowser->setDelegate(this);
    presetBrowser->saveAsDialog.isNameTaken = [this](const juce::String& name) { return userPresetExists(name); };
    aboutOverlay = new AboutOverlay(transparentLogo);

    titleButton->setLookAndFeel(&lookAndFeel);
    titleButton->setButtonText(juce::String(JucePlugin_Name) + "  v" + JucePlugin_VersionString);
    titleButton->setColour(juce::TextButton::buttonColourId, juce::Colours::transparentBlack);
    titleButton->setColour(juce::TextButton::textColourOnId, juce::Colours::transparentBlack);
    titleButton->setColour(juce::TextButton::buttonOnColourId, Zorvik::background);

    newVersionButton->setLookAndFeel(&lookAndFeel);
    newVersionButton->setButtonText("NEW VERSION AVAILABLE!");
    newVersionButton->setColour(juce::TextButton::buttonColourId, Zorvik::red);
    newVersionButton->setColour(juce::TextButton::textColourOnId, Zorvik::red);
    newVersionButton->setColour(juce::TextButton::buttonOnColourId, Zorvik::background);

    presetNameButton->setLookAndFeel(&lookAndFeel);
    presetNameButton->setColour(juce::TextButton::buttonColourId, Zorvik::background);
    presetNameButton->setColour(juce::TextButton::textColourOnId, juce::Colours::grey);
    presetNameButton->setColour(juce::TextButton::buttonOnColourId, Zorvik::background);
    presetName = "DEFAULT";
    presetNameButton->setButtonText(presetName);

    const auto openWebSite = [] { juce::URL(MakerAddresses::webSite).launchInDefaultBrowser(); };
    logoButton->onClick = [this] { onAboutClick(); };
    titleButton->onClick = [this] { onAboutClick(); };
    presetNameButton->onClick = [this] { onPresetClick(); };
    previousButton->onClick = [this] { onChangePresetClick(false); };
    nextButton->onClick = [this] { onChangePresetClick(true); };
    websiteButton->onClick = openWebSite;
    newVersionButton->onClick = openWebSite;

    // The notice shows once the endpoint has answered; opening the editor never waits for it.
    newVersionButton->setVisible(false);
    updateCheck = std::make_unique<UpdateCheck>(std::move(updateEndpoint), JucePlugin_VersionString,
                                                [this](bool newer) { newVersionButton->setVisible(newer); });
}

PluginHeader::~PluginHeader()
{
    updateCheck.reset();
    presetNameButton->setLookAndFeel(nullptr);
    titleButton->setLookAndFeel(nullptr);
    newVersionButton->setLookAndFeel(nullptr);
    delete aboutOverlay;
    delete presetBrowser;
}

void PluginHeader::resized()
{
    const int W = std::max(getWidth() - 4, 0);
    const int H = std::max(getHeight() - 4, 0);
    const auto none = juce::Colours::transparentBlack;

    logoButton->setBounds(2, 2, H, H);
    logoButton->setImages(false, false, true, smallLogo, 1.0f, none, smallLogo, 0.9f, none, smallLogo, 0.6f, none, 0.0f);
    websiteButton->setBounds(W - H - 2, 2, H, H);
    websiteButton->setImages(true, false, true, logo, 1.0f, none, logo, 0.9f, none, logo, 0.6f, none, 0.0f);
    titleButton->setBounds(H + 2, 2, static_cast<int>(static_cast<float>(W) / 4.5f), H);

    const int A = W / 4;
    presetsArea->setBounds((W - A) / 2 + 2, 2, A, H);
    const int s = static_cast<int>(static_cast<float>(H) * 0.6f);
    const int top = (H - s) / 2 + 2;
    previousButton->setBounds(0, top, s, s);
    nextButton->setBounds(A - s, top, s, s);
    presetNameButton->setBounds(juce::Rectangle<int>(juce::Point<int>(s + 2, 0), juce::Point<int>(A - s - 4, H)));

    const int areaRight = presetsArea->getRight();
    newVersionButton->setBounds(areaRight + 4, 2, websiteButton->getX() - areaRight - 8, H);
}

void PluginHeader::setDelegate(PluginHeaderDelegate* d)
{
    delegate = d;
}

void PluginHeader::onAboutClick()
{
    presetBrowser->setVisible(false);
    aboutOverlay->setVisible(!aboutOverlay->isVisible());
}

void PluginHeader::onPresetClick()
{
    aboutOverlay->setVisible(false);
    presetBrowser->setVisible(!presetBrowser->isVisible());
}

void PluginHeader::onChangePresetClick(bool next)
{
    if (delegate == nullptr)
        return;
    if (next)
        delegate->nextPreset();
    else
        delegate->previousPreset();
}

void PluginHeader::setPresets(std::vector<Preset*> list)
{
    presetBrowser->setPresets(list);
    presets = std::move(list);
    markCurrentPreset();
}

void PluginHeader::selectType(int type)
{
    presetBrowser->setSelectedType(type);
}

void PluginHeader::selectDirectory(int directory)
{
    presetBrowser->setSelectedDirectory(directory);
}

void PluginHeader::updatePresetsContent()
{
    presetBrowser->updatePresetsContent();
}

// The row marked is found by the preset itself, so a row number of another list
// never marks another preset.
void PluginHeader::selectPreset(int)
{
    if (processor == nullptr)
        return;
    const juce::ScopedLock lock(processor->presetLock);
    auto* current = processor->currentPreset;
    if (current == nullptr)
        return;
    markCurrentPreset();
    modified = false;
    presetNameButton->setButtonText(current->name);
    presetName = current->name;
    needsUpdate = true;
}

void PluginHeader::setPresetName(juce::String name)
{
    presetNameButton->setButtonText(name);
    presetName = name;
}

void PluginHeader::onCurrentStateGetsDifferentFromCurrentPreset(bool differs)
{
    modified = differs;
    needsUpdate = true;
}

void PluginHeader::updateUI()
{
    if (!needsUpdate.exchange(false) || processor == nullptr)
        return;
    const juce::ScopedLock lock(processor->presetLock);
    if (auto* current = processor->currentPreset)
    {
        presetName = current->name;
        presetNameButton->setButtonText(getShownPresetName());
    }
}

juce::String PluginHeader::getShownPresetName() const
{
    return (modified ? "*" : "") + presetName;
}

// Only shows the type's list: a preset of the same name there is another preset,
// and nothing is loaded until a row is picked.
void PluginHeader::onPresetTypeSelected(int type)
{
    if (delegate != nullptr)
        delegate->onPresetTypeSelected(type);
    markCurrentPreset();
}

// Marks the row of the current preset itself, or none when the list does not hold it.
void PluginHeader::markCurrentPreset()
{
    Preset* current = processor != nullptr ? currentPreset() : nullptr;
    const int row = rowOf(current);
    presetBrowser->setSelectedPreset(row, row >= 0 ? current : nullptr);
}

int PluginHeader::rowOf(const Preset* preset) const
{
    const auto found = std::find(presets.begin(), presets.end(), preset);
    return preset != nullptr && found != presets.end() ? static_cast<int>(found - presets.begin()) : -1;
}

// In the open save-as dialog, which then stays open; otherwise in place of the
// preset name until the next change of parameter or preset shows the name again.
void PluginHeader::showPresetFailure(const juce::String& message)
{
    auto& dialog = presetBrowser->saveAsDialog;
    if (dialog.isVisible())
    {
        dialog.showFailure(message);
        return;
    }
    needsUpdate = false;
    presetNameButton->setButtonText(message.toUpperCase());
}

void PluginHeader::onPresetDirectorySelected(int directory)
{
    if (delegate != nullptr)
        delegate->onPresetDirectorySelected(directory);
}

void PluginHeader::onPresetSelected(int row)
{
    if (delegate != nullptr)
        delegate->onPresetSelected(row);
}

void PluginHeader::onSavePreset()
{
    if (delegate == nullptr || processor == nullptr)
        return;
    Preset* current = currentPreset();
    if (current != nullptr && !current->isUser && userPresetExists(current->name))
    {
        // Saving a factory preset would replace the user's preset of the same name:
        // let the save-as dialog ask first.
        presetBrowser->saveAsDialog.nameEditor.setText(current->name, false);
        presetBrowser->saveAsDialog.setVisible(true);
    }
    else if (current != nullptr)
        delegate->savePreset(current);
    else if (PresetFileName::isValid(presetName))
        delegate->savePresetAs(presetName);
}

void PluginHeader::onSavePresetAs(juce::String name)
{
    if (delegate == nullptr || !PresetFileName::isValid(name))
        return;
    presetName = name;
    delegate->savePresetAs(name);
}

void PluginHeader::onDeletePreset()
{
    if (delegate == nullptr || processor == nullptr)
        return;
    Preset* current = currentPreset();
    // Only a user preset has a file of its own; a factory preset of the same name must
    // never take a user's file with it.
    if (current != nullptr && current->isUser)
        delegate->deletePreset(current);
}

Preset* PluginHeader::currentPreset() const
{
    const juce::ScopedLock lock(processor->presetLock);
    return processor->currentPreset;
}

bool PluginHeader::userPresetExists(const juce::String& name) const
{
    if (processor == nullptr)
        return false;
    const juce::ScopedLock lock(processor->presetLock);
    return !processor->presetLists.empty() && PresetFileName::findUserPreset(name, processor->presetLists[0]) != nullptr;
}
