// The conformance tests load the plug-in into this process. The plug-in writes
// its settings file and preset folder under HOME and the XDG folders, so they
// point into a fresh temporary folder that is removed afterwards. An editor it
// opens checks for updates nowhere: no test reaches the network.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    const char* base = std::getenv("TMPDIR");
    std::string home = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/zorvik-vst3-home-XXXXXX";
    if (mkdtemp(home.data()) == nullptr)
        return 1;
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
    setenv("XDG_CACHE_HOME", (home + "/.cache").c_str(), 1);
    setenv("ZORVIK_UPDATE_ENDPOINT", "", 1);

    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return result;
}
