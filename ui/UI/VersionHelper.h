#pragma once

#include <string>

// Dotted version numbers ("1.2.0") read and compared component by component.
class VersionHelper
{
public:
    // Reads up to three integers separated by single characters; components that
    // are missing or unreadable are 0.
    static void parse(int* components, const std::string& text);

    // Whether version a is older than version b.
    static bool lessThanVersion(const std::string& a, const std::string& b);

    // Whether a reply of the update endpoint names a version: after trimming white
    // space, one to three dot-separated numbers of at most six digits each, optionally
    // followed by a pre-release or build suffix ("1.3.0-beta"). HTML pages, error
    // texts and binary junk are refused.
    static bool isVersionText(const std::string& text);

    // Whether the endpoint's reply names a version newer than the current one.
    static bool replyNamesNewerVersion(const std::string& reply, const std::string& currentVersion);
};
