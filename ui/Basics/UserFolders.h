#pragma once

#include <juce_core/juce_core.h>

// The user's folders, found as the framework finds them on Linux, but from checked
// bytes: the environment and ~/.config/user-dirs.dirs are read only when they are
// valid UTF-8, and the latter only when it is a small regular file. A folder that
// cannot be found is an invalid juce::File().
class UserFolders
{
public:
    // $HOME, else the password database's home folder; absolute paths only.
    static juce::File home();

    // XDG_DOCUMENTS_DIR of ~/.config/user-dirs.dirs when that folder exists, else ~/Documents.
    static juce::File documents();

    // $XDG_CONFIG_HOME when it is absolute, else ~/.config.
    static juce::File configuration();
};
