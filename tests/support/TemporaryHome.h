#pragma once

// The tests run with HOME and the XDG folders in a fresh temporary folder, so that
// nothing they do (presets, settings files) touches the real user's files, and with
// the editor's update check turned off, so that no editor they open reaches the
// network. The folder is removed with this object.
#include <cstdlib>
#include <filesystem>
#include <string>

class TemporaryHome
{
public:
    TemporaryHome()
    {
        const char* base = std::getenv("TMPDIR");
        path = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/zorvik-test-home-XXXXXX";
        if (mkdtemp(path.data()) == nullptr)
            std::abort();
        setenv("HOME", path.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (path + "/.config").c_str(), 1);
        setenv("XDG_DATA_HOME", (path + "/.local/share").c_str(), 1);
        setenv("XDG_CACHE_HOME", (path + "/.cache").c_str(), 1);
        setenv("ZORVIK_UPDATE_ENDPOINT", "", 1);
    }

    ~TemporaryHome()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }

    TemporaryHome(const TemporaryHome&) = delete;
    TemporaryHome& operator=(const TemporaryHome&) = delete;

private:
    std::string path;
};
