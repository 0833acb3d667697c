#include "UI/Overlays/Browser/PresetBrowser.h"

#include "Binaries/Zorvik.h"
#include "Preset/Preset.h"

PresetBrowser::PresetBrowser(bool directories)
    : showDirectories(directories), confirmDialog(this), saveAsDialog(this)
{
    std::vector<juce::ListBox*> shown { &typeList };
    if (showDirectories)
        shown.push_back(&directoryList);
    shown.push_back(&presetList);
    for (auto* list : shown)
    {
        addAndMakeVisible(*list);
        list->setColour(juce::ListBox::backgroundColourId, Zorvik::background.withAlpha(0.7f));
        list->getVerticalScrollBar().setColour(juce::ScrollBar::thumbColourId, Zorvik::blue);
    }

    typeModel.setDelegate(this);
    directoryModel.setDelegate(this);
    presetModel.setDelegate(this);
    typeModel.setElements({ "USER", "FACTORY" });
    directoryModel.setElements({ "BANK A", "BANK B", "BANK C", "BANK D" });
    presetModel.setElements({ "PRESET 1", "PRESET 2", "PRESET 3", "PRESET 4", "PRESET 5", "PRESET 6" });
    typeList.setModel(&typeModel);
    directoryList.setModel(&directoryModel);
    presetList.setModel(&presetModel);

    for (auto* button : { &saveButton, &saveAsButton, &deleteButton, &doneButton })
    {
        addAndMakeVisible(*button);
        button->setLookAndFeel(&buttonLook);
        button->setColour(juce::TextButton::buttonColourId, Zorvik::background.brighter(0.04f));
        button->setColour(juce::TextButton::buttonOnColourId, Zorvik::background);
        button->setColour(juce::TextButton::textColourOnId, Zorvik::blue);
    }
    deleteButton.setColour(juce::TextButton::textColourOnId, Zorvik::red);
    doneButton.setColour(juce::TextButton::textColourOnId, juce::Colours::grey);
    saveButton.setButtonText("SAVE PRESET");
    saveAsButton.setButtonText("SAVE PRESET AS...");
    deleteButton.setButtonText("DELETE PRESET");
    doneButton.setButtonText("DONE");

    saveButton.onClick = [this] {
        if (delegate != nullptr)
            delegate->onSavePreset();
    };
    saveAsButton.onClick = [this] { saveAsDialog.setVisible(true); };
    deleteButton.onClick = [this] { confirmDialog.setVisible(true); };
    doneButton.onClick = [this] { setVisible(false); };

    enablePresetButtons(false);
    addChildComponent(confirmDialog);
    addChildComponent(saveAsDialog);
}

PresetBrowser::~PresetBrowser()
{
    for (auto* button : { &saveButton, &saveAsButton, &deleteButton, &doneButton })
        button->setLookAndFeel(nullptr);
    typeList.setModel(nullptr);
    directoryList.setModel(nullptr);
    presetList.setModel(nullptr);
}

void PresetBrowser::setDelegate(PresetBrowserDelegate* d)
{
    delegate = d;
}

void PresetBrowser::setPresets(std::vector<Preset*> presets)
{
    std::vector<juce::String> names;
    for (auto* preset : presets)
        names.push_back(preset != nullptr ? preset->name : juce::String());
    presetModel.setElements(std::move(names));
    presetList.updateContent();
}

void PresetBrowser::setDirectories(std::vector<juce::String> directories)
{
    directoryModel.setElements(std::move(directories));
    directoryList.updateContent();
}

void PresetBrowser::updatePresetsContent()
{
    presetList.updateContent();
}

void PresetBrowser::setSelectedType(int row)
{
    typeList.selectRow(row);
}

void PresetBrowser::setSelectedDirectory(int row)
{
    directoryList.selectRow(row);
}

// A row out of range (-1 for none) leaves no row selected.
void PresetBrowser::setSelectedPreset(int row, Preset* preset)
{
    presetList.selectRow(row);
    enablePresetButtons(preset != nullptr && preset->isUser && presetList.isRowSelected(row));
}

void PresetBrowser::onItemSelected(BrowserListBoxModel* model, int row)
{
    if (model == &typeModel)
    {
        presetList.deselectAllRows();
        if (delegate != nullptr)
            delegate->onPresetTypeSelected(row);
    }
    else if (model == &directoryModel && showDirectories)
    {
        if (delegate != nullptr)
            delegate->onPresetDirectorySelected(row);
    }
    else if (model == &presetModel)
    {
        if (delegate != nullptr)
            delegate->onPresetSelected(row);
    }
}

// The delegate shows the list without the deleted preset; when the file could
// not be deleted, the preset stays selected.
void PresetBrowser::onDelete()
{
    if (delegate != nullptr)
        delegate->onDeletePreset();
}

void PresetBrowser::onSavePresetAs(juce::String name)
{
    if (delegate != nullptr)
        delegate->onSavePresetAs(name);
}

void PresetBrowser::resized()
{
    Overlay::resized();
    const int x = contentBounds.getX();
    const int y = contentBounds.getY();
    const int w = contentBounds.getWidth();
    const int h = contentBounds.getHeight();

    const int listHeight = static_cast<int>(static_cast<float>(h) * 0.89f);
    const int columns = showDirectories ? 3 : 2;
    const int columnWidth = w / columns;
    typeList.setBounds(x + 2, y, columnWidth - 4, listHeight);
    int column = 1;
    if (showDirectories)
        directoryList.setBounds(x + 2 + columnWidth * column++, y, columnWidth - 4, listHeight);
    presetList.setBounds(x + 2 + columnWidth * column, y, columnWidth - 4, listHeight);

    int i = 0;
    for (auto* button : { &saveButton, &saveAsButton, &deleteButton, &doneButton })
    {
        button->setBounds(x + (i * w) / 4, y + listHeight + 4, w / 4 - 4, h - listHeight - 8);
        ++i;
    }
    confirmDialog.setBounds(contentBounds);
    saveAsDialog.setBounds(contentBounds);
}

void PresetBrowser::visibilityChanged()
{
    if (!isVisible())
        return;
    presetList.toFront(true);
    confirmDialog.toFront(true);
    saveAsDialog.toFront(true);
}

void PresetBrowser::enablePresetButtons(bool enabled)
{
    saveButton.setEnabled(enabled);
    deleteButton.setEnabled(enabled);
}
