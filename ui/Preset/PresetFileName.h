#pragma once

#include <juce_core/juce_core.h>

#include <vector>

class Preset;

// Rules for the names of user preset files, shared by the save-as dialog (which
// refuses bad names) and the code that writes the files (which must never write
// outside the user preset folder).
class PresetFileName
{
public:
    // Usable as a file name on every desktop system: not blank, not starting with '.' or '~',
    // none of / \ : * ? " < > |, control characters or characters XML cannot carry
    // (U+FFFE, U+FFFF), at most 200 bytes of UTF-8.
    static bool isValid(const juce::String& name);

    // The user preset shown under this name (names compare upper-cased), or null.
    static Preset* findUserPreset(const juce::String& name, const std::vector<Preset*>& userPresets);

    // The file to write a user preset of this name to: the file of the user preset
    // already shown under this name, else folder/name.extension. An invalid
    // juce::File() when the name is not valid or the file would lie outside the folder.
    static juce::File fileForSaving(const juce::File& folder, const juce::String& name,
                                    const juce::String& extension, const std::vector<Preset*>& userPresets);
};
