#pragma once

#include "LookAndFeel/PresetButtonLookAndFeel.h"
#include "UI/Overlays/Browser/BrowserListBoxModel.h"
#include "UI/Overlays/Browser/BrowserListBoxModelDelegate.h"
#include "UI/Overlays/Browser/ConfirmDialog.h"
#include "UI/Overlays/Browser/PresetBrowserDelegate.h"
#include "UI/Overlays/Browser/SaveAsDialog.h"
#include "UI/Overlays/Overlay.h"

#include <vector>

class Preset;

// The overlay for picking a preset type and a preset, and for saving, saving under
// a new name and deleting presets.
class PresetBrowser : public Overlay,
                      public BrowserListBoxModelDelegate,
                      public ConfirmDialogDelegate,
                      public SaveAsDialogDelegate
{
public:
    explicit PresetBrowser(bool showDirectories);
    ~PresetBrowser() override;

    void setDelegate(PresetBrowserDelegate* d);
    void setPresets(std::vector<Preset*> presets);
    void setDirectories(std::vector<juce::String> directories);
    void updatePresetsContent();
    void setSelectedType(int row);
    void setSelectedDirectory(int row);
    void setSelectedPreset(int row, Preset* preset);

    void onItemSelected(BrowserListBoxModel* model, int row) override;
    void onDelete() override;
    void onSavePresetAs(juce::String name) override;

    void resized() override;
    void visibilityChanged() override;

    PresetBrowserDelegate* delegate = nullptr;
    bool showDirectories;
    juce::ListBox typeList, directoryList, presetList;
    BrowserListBoxModel typeModel, directoryModel, presetModel;
    juce::TextButton saveButton, saveAsButton, deleteButton, doneButton;
    PresetButtonLookAndFeel buttonLook;
    ConfirmDialog confirmDialog;
    SaveAsDialog saveAsDialog;

private:
    void enablePresetButtons(bool enabled);
};
