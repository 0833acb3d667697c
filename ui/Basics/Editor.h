#pragma once

#include "Basics/ContainerBuilder.h"
#include "Basics/EffectProcessor.h"
#include "Basics/PluginDesign.h"
#include "UI/Controls/UIContainerDelegate.h"
#include "UI/PageSelectorDelegate.h"
#include "Basics/PluginHeaderDelegate.h"
#include "Preset/UserPresetFiles.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <map>
#include <memory>
#include <vector>

class ControlEditorOverlay;
class PageSelector;
class UIContainer;

// The framework's plug-in window: one control per parameter, built from the
// design's settings and placed in the sections that list it, the header with the
// preset controls, and the overlays. It carries out the user's preset actions,
// including writing and deleting user preset files.
//
// Threads: everything runs on the message thread except parameterChanged, which
// runs on whatever thread changed a parameter and only raises the modified mark.
class Editor : public juce::AudioProcessorEditor,
               public juce::AudioProcessorValueTreeState::Listener,
               public PluginHeaderDelegate,
               public UIContainerDelegate,
               public PageSelectorDelegate,
               public juce::Timer
{
public:
    // Takes ownership of the design and deletes the builder before returning. A
    // design row that names a missing linked parameter throws std::out_of_range
    // and leaves the processor as it was.
    Editor(EffectProcessor& processor, PluginDesign* design, ContainerBuilder* builder);
    ~Editor() override;

    void paint(juce::Graphics& g) override;
    void resized() override;
    void timerCallback() override;
    void parameterChanged(const juce::String& parameterID, float newValue) override;

    // PluginHeaderDelegate
    void onPresetTypeSelected(int type) override;
    void onPresetDirectorySelected(int directory) override;
    void onPresetSelected(int index) override;
    void nextPreset() override;
    void previousPreset() override;
    void savePreset(Preset* preset) override;
    void savePresetAs(juce::String name) override;
    void deletePreset(Preset* preset) override;

    void onRightClickOnControl(std::vector<ControlParameter> parameters) override;
    void onPageSelected(int page) override;

    void setPreset(int index);
    void setPreset(juce::String name);

    // The file a user preset of this name is saved to: the file of the user preset
    // of that name, else a new one in the user folder. An invalid File for a name
    // that cannot be a file name.
    juce::File createPresetFile(juce::String name);

    std::map<int, UIContainer*> containers;
    EffectProcessor* effectProcessor;
    PluginDesign* design;
    std::unique_ptr<ControlEditorOverlay> controlEditorOverlay;
    std::unique_ptr<PageSelector> pageSelector;
    UserPresetFiles presetFiles;  // writes and deletes the user preset files

protected:
    // Start and stop the parameter callbacks, which may come from the audio
    // thread at any moment: the most derived editor starts them last in its
    // constructor and stops them first in its destructor, so that none reaches it
    // while it is only partly built.
    void startListening();
    void stopListening();

private:
    void buildControls(ContainerBuilder& builder);
    void deleteControls();
    void showRestoredState();
    std::vector<Preset*> presetList(int type);
    bool writeUserPreset(const juce::File& file);
    bool isUserPresetFile(const juce::File& file);
    juce::File freePresetFile(const juce::String& name);
    void afterUserPresetsChanged();
    bool isListed(Preset* preset);
    void writeAndSelect(const juce::File& file);

    bool listening = false;

    // Debug builds: the leak report runs only when an instance leaks.
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(Editor) // GCOVR_EXCL_LINE
};
