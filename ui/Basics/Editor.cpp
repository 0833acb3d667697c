#include "Basics/Editor.h"

#include "Binaries/Zorvik.h"
#include "Common/FilterDSPKernel.h"
#include "Common/Parameters/ParameterList.h"
#include "Preset/PresetFileName.h"
#include "UI/Controls/UIContainer.h"
#include "UI/Overlays/ControlEditorOverlay.h"
#include "UI/Page.h"
#include "UI/PageSelector.h"
#include "UI/PluginHeader.h"
#include "UI/Section.h"

#include <algorithm>

namespace
{
constexpr int headerHeight = 30;
constexpr int selectorHeight = 30;
const char* const notSaved = "Preset not saved";

// Whether something (a file, a folder, a link) already has this path.
bool isTaken(const juce::File& file)
{
    return file.exists() || file.isSymbolicLink();
}
} // namespace

Editor::Editor(EffectProcessor& owner, PluginDesign* pluginDesign, ContainerBuilder* builder)
    : juce::AudioProcessorEditor(owner), effectProcessor(&owner), design(pluginDesign)
{
    std::unique_ptr<ContainerBuilder> ownedBuilder(builder);
    controlEditorOverlay = std::make_unique<ControlEditorOverlay>();
    pageSelector = std::make_unique<PageSelector>(this);
    setResizable(false, false);

    try
    {
        design->build(owner.productCode);
        buildControls(*ownedBuilder);
    }
    catch (...)
    {
        deleteControls();
        delete design;
        design = nullptr;
        throw;
    }

    design->header->processor = &owner;
    design->header->setDelegate(this);
    ownedBuilder.reset();
    startTimerHz(12);

    const juce::ScopedLock lock(owner.presetLock);
    if (owner.stateRestored.exchange(false))
    {
        showRestoredState();
        return;
    }
    // The list is filled before its row is selected.
    onPresetTypeSelected(owner.currentPresetType);
    if (owner.currentPreset != nullptr)
        design->header->selectPreset(owner.currentPresetIndex);
    else if (owner.getUnlistedPresetName().isNotEmpty())
        design->header->setPresetName(owner.getUnlistedPresetName());
}

Editor::~Editor()
{
    stopTimer();
    stopListening();
    deleteControls();
    delete design;
    design = nullptr;
    pageSelector.reset();
    controlEditorOverlay.reset();
}

void Editor::buildControls(ContainerBuilder& builder)
{
    auto& list = *effectProcessor->kernel->parameterList;
    for (auto* parameter : list)
    {
        const auto row = design->uiSettings[parameter->identifier];

        std::vector<Parameter*> linked;
        for (const auto key : row.linked)
            linked.push_back(list.at(static_cast<size_t>(key)));

        auto* control = builder.build(parameter, row.title, row.kind, linked, row.options, row.colours);
        if (control == nullptr)
            continue;
        containers[parameter->identifier] = control;
        control->attach(effectProcessor->parameters);
        control->setDelegate(this);
        control->linkMarks = row.linkMarks;
        for (auto* page : design->uiStack)
            for (const auto& entry : page->getSections())
                if (entry.section != nullptr && entry.section->containsParam(parameter->identifier))
                {
                    entry.section->addControl(parameter->identifier, control);
                    break;
                }
    }
}

void Editor::startListening()
{
    if (listening)
        return;
    listening = true;
    for (auto* parameter : *effectProcessor->kernel->parameterList)
        effectProcessor->parameters.addParameterListener(juce::String(parameter->name), this);
}

void Editor::stopListening()
{
    if (!listening)
        return;
    listening = false;
    for (auto* parameter : *effectProcessor->kernel->parameterList)
        effectProcessor->parameters.removeParameterListener(juce::String(parameter->name), this);
}

void Editor::deleteControls()
{
    for (auto& [key, control] : containers)
        delete control;
    containers.clear();
}

void Editor::paint(juce::Graphics& g)
{
    g.fillAll(Zorvik::background);
}

void Editor::resized()
{
    const int w = getWidth();
    const int h = getHeight();
    auto& header = *design->header;
    addAndMakeVisible(header);
    header.setBounds(0, 0, w, headerHeight);

    const auto& pages = design->uiStack;
    const int selector = pages.size() >= 2 ? selectorHeight : 0;
    std::vector<std::string> names;
    for (auto* page : pages)
    {
        addAndMakeVisible(page);
        page->setBounds(0, headerHeight + selector, w, std::max(h - headerHeight - selector, 0));
        names.push_back(page->getName());
    }

    if (effectProcessor->currentPage < 0 || effectProcessor->currentPage >= static_cast<int>(pages.size()))
        effectProcessor->currentPage = 0;
    if (pages.size() >= 2)
    {
        pageSelector->init(names, effectProcessor->currentPage);
        addAndMakeVisible(*pageSelector);
        pageSelector->setBounds(0, headerHeight, w, selector);
    }
    onPageSelected(effectProcessor->currentPage);

    for (juce::Component* overlay : { static_cast<juce::Component*>(controlEditorOverlay.get()),
                                      static_cast<juce::Component*>(header.presetBrowser),
                                      static_cast<juce::Component*>(header.aboutOverlay) })
    {
        addAndMakeVisible(overlay);
        overlay->setBounds(0, headerHeight, w, std::max(h - headerHeight, 0));
        overlay->setVisible(false);
    }

    header.setPresets(presetList(effectProcessor->currentPresetType));
}

void Editor::timerCallback()
{
    const juce::ScopedLock lock(effectProcessor->presetLock);
    // The header first takes the current preset's name, so that a restored name
    // that no list holds is not replaced by it.
    design->header->updateUI();
    if (effectProcessor->stateRestored.exchange(false))
        showRestoredState();
}

// A restored host state names its preset; the header shows that preset's row, or
// the bare name, with no row marked, when neither list holds it.
void Editor::showRestoredState()
{
    auto& owner = *effectProcessor;
    if (!owner.restoredPresetFound)
    {
        design->header->setPresetName(owner.restoredPresetName);
        design->header->presetBrowser->setSelectedPreset(-1, nullptr);
        return;
    }
    if (owner.currentPreset == nullptr)
        return;
    onPresetTypeSelected(owner.currentPresetType);
    design->header->selectPreset(owner.currentPresetIndex);
}

void Editor::parameterChanged(const juce::String&, float)
{
    design->header->onCurrentStateGetsDifferentFromCurrentPreset(true);
}

std::vector<Preset*> Editor::presetList(int type)
{
    const juce::ScopedLock lock(effectProcessor->presetLock);
    const auto& lists = effectProcessor->presetLists;
    if (type < 0 || type >= static_cast<int>(lists.size()))
        return {};
    return lists[static_cast<size_t>(type)];
}

// --- Preset selection ---

void Editor::onPresetTypeSelected(int type)
{
    const juce::ScopedLock lock(effectProcessor->presetLock);
    if (type < 0 || type >= static_cast<int>(effectProcessor->presetLists.size()))
        return;
    auto copy = presetList(type);
    effectProcessor->currentPresetType = type;
    design->header->selectType(type);
    design->header->setPresets(copy);
}

void Editor::onPresetDirectorySelected(int) {}

void Editor::onPresetSelected(int index)
{
    setPreset(index);
}

void Editor::setPreset(int index)
{
    const juce::ScopedLock lock(effectProcessor->presetLock);
    if (effectProcessor->setPreset(index) && effectProcessor->currentPreset != nullptr)
        design->header->selectPreset(index);
}

// The preset found may lie in the other list: that list is shown, with its tab.
void Editor::setPreset(juce::String name)
{
    const juce::ScopedLock lock(effectProcessor->presetLock);
    if (!effectProcessor->setPreset(name, true) || effectProcessor->currentPreset == nullptr)
        return;
    onPresetTypeSelected(effectProcessor->currentPresetType);
    design->header->selectPreset(effectProcessor->currentPresetIndex);
}

// Past the end of one type's list the next non-empty list begins; the last wraps
// to the first.
void Editor::nextPreset()
{
    const juce::ScopedLock lock(effectProcessor->presetLock);
    auto& owner = *effectProcessor;
    const int lists = static_cast<int>(owner.presetLists.size());
    if (lists == 0)
        return;
    const int type = juce::jlimit(0, lists - 1, owner.currentPresetType.load());
    int index = owner.currentPresetIndex + 1;
    owner.currentPresetIndex = index;
    if (index >= static_cast<int>(owner.presetLists[static_cast<size_t>(type)].size()))
    {
        owner.currentPresetIndex = 0;
        const int next = (type + 1) % lists;
        owner.currentPresetType = owner.presetLists[static_cast<size_t>(next)].empty() ? type : next;
        onPresetTypeSelected(owner.currentPresetType);
        index = 0;
    }
    setPreset(index);
}

void Editor::previousPreset()
{
    const juce::ScopedLock lock(effectProcessor->presetLock);
    auto& owner = *effectProcessor;
    const int lists = static_cast<int>(owner.presetLists.size());
    if (lists == 0)
        return;
    const int type = juce::jlimit(0, lists - 1, owner.currentPresetType.load());
    const int index = owner.currentPresetIndex;
    const int size = static_cast<int>(owner.presetLists[static_cast<size_t>(type)].size());
    owner.currentPresetIndex = index - 1;

    int target = index - 1;
    // An emptied list (its last preset deleted) steps on as from its first row.
    if (index < 1 || size == 0)
    {
        const int previous = (type + lists - 1) % lists;
        owner.currentPresetType = owner.presetLists[static_cast<size_t>(previous)].empty() ? type : previous;
        const auto& list = owner.presetLists[static_cast<size_t>(owner.currentPresetType.load())];
        owner.currentPresetIndex = static_cast<int>(list.size()) - 1;
        onPresetTypeSelected(owner.currentPresetType);
        target = owner.currentPresetIndex;
    }
    else if (index > size)
    {
        owner.currentPresetIndex = size - 1;
        target = size - 1;
    }
    setPreset(target);
}

// --- User preset files ---

juce::File Editor::createPresetFile(juce::String name)
{
    const auto folder = EffectProcessor::getUserPresetFolder();
    folder.createDirectory();
    return PresetFileName::fileForSaving(folder, name, juce::String(effectProcessor->presetExtension),
                                         presetList(0));
}

// A file for a new user preset of this name that no user preset uses yet: the
// name itself when free, else the name followed by the first free number.
juce::File Editor::freePresetFile(const juce::String& name)
{
    const auto users = presetList(0);
    for (int number = 1; number < 1000; ++number)
    {
        const auto candidate = number == 1 ? name : name + " " + juce::String(number);
        if (PresetFileName::findUserPreset(candidate, users) != nullptr)
            continue;
        const auto file = createPresetFile(candidate);
        if (file == juce::File())
            return {};
        if (!isTaken(file))
            return file;
    }
    return {};
}

bool Editor::writeUserPreset(const juce::File& file)
{
    if (file == juce::File())
        return false;
    auto state = effectProcessor->parameters.copyState();
    std::unique_ptr<juce::XmlElement> xml(
        effectProcessor->presetParser->presetFromValueTree(state, effectProcessor->kernel->parameterList.get()));
    return xml != nullptr && presetFiles.write(*xml, file);
}

// Whether the file is the one a listed user preset was read from.
bool Editor::isUserPresetFile(const juce::File& file)
{
    const auto users = presetList(0);
    return std::any_of(users.begin(), users.end(), [&file](Preset* preset) { return preset->file == file; });
}

// Whether the preset is one the processor still holds (a rescan replaces the user presets).
bool Editor::isListed(Preset* preset)
{
    if (preset == nullptr)
        return false;
    for (const auto& list : effectProcessor->presetLists)
        if (std::find(list.begin(), list.end(), preset) != list.end())
            return true;
    return false;
}

void Editor::afterUserPresetsChanged()
{
    effectProcessor->retrieveUserPresets();
    design->header->selectType(0);
    onPresetTypeSelected(0);
}

// Saves over the current user preset's own file. Any other preset (a factory one)
// becomes a new user preset under its name, never replacing another user preset.
void Editor::savePreset(Preset* preset)
{
    const juce::ScopedLock lock(effectProcessor->presetLock);
    if (!isListed(preset))
        return;
    if (!preset->isUser || preset->file == juce::File())
    {
        writeAndSelect(freePresetFile(preset->name));
        return;
    }
    // A failed write keeps the edits and the modified mark: the rescan would
    // bring back the old file's values.
    if (!writeUserPreset(preset->file))
    {
        design->header->showPresetFailure(notSaved);
        return;
    }
    afterUserPresetsChanged();
    design->header->onCurrentStateGetsDifferentFromCurrentPreset(false);
}

// The save-as dialog has asked before a name of another user preset is given
// here: that preset's own file is then replaced. Any other file already there
// (one that could not be read as a preset, say) is kept, and the preset takes the
// first free name instead. Names that cannot be file names write nothing.
void Editor::savePresetAs(juce::String name)
{
    const juce::ScopedLock lock(effectProcessor->presetLock);
    auto file = createPresetFile(name);
    if (isTaken(file) && !isUserPresetFile(file))
        file = freePresetFile(name);
    writeAndSelect(file);
}

void Editor::writeAndSelect(const juce::File& file)
{
    if (!writeUserPreset(file))
    {
        design->header->showPresetFailure(notSaved);
        return;
    }
    afterUserPresetsChanged();
    const auto extension = "." + juce::String(effectProcessor->presetExtension);
    const auto name = file.getFileName().dropLastCharacters(extension.length()).toUpperCase();
    setPreset(name);
    // Saved over the preset already current: the stored values are the shown ones.
    auto* current = effectProcessor->currentPreset;
    if (current != nullptr && current->name == name)
        design->header->selectPreset(effectProcessor->currentPresetIndex);
}

void Editor::deletePreset(Preset* preset)
{
    const juce::ScopedLock lock(effectProcessor->presetLock);
    if (!isListed(preset) || !preset->isUser)
        return;
    const auto file = preset->file;
    if (!file.existsAsFile())
        return;
    if (!presetFiles.remove(file))
    {
        design->header->showPresetFailure("Preset not deleted");
        return;
    }
    // The deleted preset is no longer current, so the rescan re-applies no other
    // preset of the same name over the sound in use.
    if (effectProcessor->currentPreset == preset)
        effectProcessor->currentPreset = nullptr;
    afterUserPresetsChanged();
}

// --- Controls and pages ---

void Editor::onRightClickOnControl(std::vector<ControlParameter> parameters)
{
    std::vector<EditableParameter> editable;
    for (const auto& entry : parameters)
    {
        if (entry.parameter == nullptr)
            continue;
        if (auto* host = effectProcessor->parameters.getParameter(juce::String(entry.parameter->name)))
            editable.push_back({ host, entry.name, entry.parameter });
    }
    if (editable.empty())
        return;
    controlEditorOverlay->setControls(editable);
    controlEditorOverlay->setVisible(true);
    controlEditorOverlay->toFront(true);
}

void Editor::onPageSelected(int page)
{
    const auto& pages = design->uiStack;
    for (size_t j = 0; j < pages.size(); ++j)
        pages[j]->setVisible(static_cast<int>(j) == page);
    effectProcessor->currentPage = page;
}
