#pragma once

#include "Basics/Editor.h"
#include "ReverbEditor.h"
#include "UiTestSupport.h"

#include <map>
#include <memory>
#include <string>

namespace UiTest
{
    inline juce::File userPresetFolder()
    {
        return EffectProcessor::getUserPresetFolder();
    }

    // A user preset file as a person would save one: a property list of plain values.
    inline juce::File writePresetFile(const juce::String& fileStem, const std::map<std::string, double>& values)
    {
        juce::String text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>";
        for (const auto& [key, value] : values)
            text << "<key>" << key << "</key><real>" << juce::String(value, 6) << "</real>";
        text << "</dict></plist>\n";
        auto file = userPresetFolder().getChildFile(fileStem + ".rbprs");
        file.getParentDirectory().createDirectory();
        file.replaceWithText(text);
        return file;
    }

    // The files in the user folder, sorted by name.
    inline juce::StringArray filesInUserFolder()
    {
        juce::StringArray names;
        for (const auto& file : userPresetFolder().findChildFiles(juce::File::findFiles, false))
            names.add(file.getFileName());
        names.sort(false);
        return names;
    }

    inline std::vector<juce::String> presetNames(EffectProcessor& processor, int type)
    {
        std::vector<juce::String> names;
        for (auto* preset : processor.presetLists[static_cast<size_t>(type)])
            names.push_back(preset->name);
        return names;
    }

    inline juce::String currentName(EffectProcessor& processor)
    {
        return processor.currentPreset != nullptr ? processor.currentPreset->name : juce::String("<none>");
    }

    // Each test starts from an empty user folder, writes the files it needs, then
    // makes the processor (which reads them) and opens the editor on it.
    struct EditorTest : ::testing::Test
    {
        EditorTest() { userPresetFolder().deleteRecursively(); }
        ~EditorTest() override
        {
            editor.reset();
            processor.reset();
            userPresetFolder().deleteRecursively();
        }

        void open(bool prepare = true)
        {
            processor = std::make_unique<ReverbProcessor>();
            if (prepare)
                processor->prepareToPlay(44100.0, 512);
            reopen();
        }

        void reopen()
        {
            editor.reset();
            editor.reset(dynamic_cast<ReverbEditor*>(processor->createEditor()));
            ASSERT_NE(editor, nullptr);
        }

        float plain(const std::string& name) { return plainValue(*processor, name); }
        void set(const std::string& name, float value) { setPlainValue(*processor, name, value); }

        std::unique_ptr<ReverbProcessor> processor;
        std::unique_ptr<ReverbEditor> editor;
    };
}
