#pragma once

// The maker's addresses. The host names are placeholders under the reserved
// ".invalid" top-level domain, which never resolves: replace them for a release.
namespace MakerAddresses
{
    inline constexpr const char* webSite = "https://www.zorvik.invalid";
    inline constexpr const char* webSiteText = "www.zorvik.invalid";
    inline constexpr const char* updateEndpoint = "https://updates.zorvik.invalid/LICENSES/version.php";
}
