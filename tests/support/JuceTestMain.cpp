// Test main for binaries that use JUCE: the GUI initialiser gives a message
// manager, fonts and images without a display. The tests run with HOME and the
// XDG folders in a fresh temporary folder, so that nothing they do (presets,
// settings files) touches the real user's files, and with the editor's update
// check turned off, so that no editor they open reaches the network.
#include <juce_events/juce_events.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace
{
std::string makeTemporaryHome()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/zorvik-test-home-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        std::abort();
    setenv("HOME", pattern.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (pattern + "/.config").c_str(), 1);
    setenv("XDG_DATA_HOME", (pattern + "/.local/share").c_str(), 1);
    setenv("XDG_CACHE_HOME", (pattern + "/.cache").c_str(), 1);
    setenv("ZORVIK_UPDATE_ENDPOINT", "", 1);
    return pattern;
}
} // namespace

int main(int argc, char** argv)
{
    const auto home = makeTemporaryHome();
    int result = 0;
    {
        juce::ScopedJuceInitialiser_GUI juce;
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    juce::File(home).deleteRecursively();
    return result;
}
