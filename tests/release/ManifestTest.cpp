// The embedded manifest that Windows reads when it starts the program: it must ask
// for no elevation, so a user without administrator rights can run the download.
#include "KestravProcess.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The text of the application manifest (RT_MANIFEST, id 1), or empty when there is none.
std::string EmbeddedManifest() {
    HMODULE module = LoadLibraryExW(e2e::KestravExe().c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr)
        return {};
    std::string text;
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    if (found != nullptr) {
        HGLOBAL loaded = LoadResource(module, found);
        const char* bytes = static_cast<const char*>(LockResource(loaded));
        if (bytes != nullptr)
            text.assign(bytes, SizeofResource(module, found));
    }
    FreeLibrary(module);
    return text;
}

// The value of attribute in the first element that begins with start, or "<none>".
std::string Attribute(const std::string& text, const std::string& start, const std::string& attribute) {
    size_t element = text.find(start);
    if (element == std::string::npos)
        return "<none>";
    size_t end = text.find('>', element);
    size_t at = text.find(" " + attribute + "=\"", element);
    if (at == std::string::npos || at > end)
        return "<none>";
    at += attribute.size() + 3;
    return text.substr(at, text.find('"', at) - at);
}

// The file version of the version resource as "a.b.c.d", or what is missing.
std::string FileVersionOfResource() {
    std::wstring exe = e2e::KestravExe();
    DWORD ignored = 0;
    std::vector<BYTE> data(GetFileVersionInfoSizeW(exe.c_str(), &ignored));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (data.empty() || !GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(data.size()), data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) ||
        length < sizeof(VS_FIXEDFILEINFO))
        return "<no version resource>";
    char text[64];
    std::snprintf(text, sizeof(text), "%u.%u.%u.%u", HIWORD(fixed->dwFileVersionMS),
                  LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                  LOWORD(fixed->dwFileVersionLS));
    return text;
}

// Windows tells applications apart by this identity; it names the same version as the
// file's properties do, both made from the one project version.
TEST(Manifest, IdentityHasTheVersionOfTheVersionResource) {
    std::string manifest = EmbeddedManifest();
    ASSERT_FALSE(manifest.empty()) << "no application manifest embedded";
    const std::string identity = R"(<assemblyIdentity type="win32" name="Tamberlow.Kestrav")";
    EXPECT_EQ(Attribute(manifest, identity, "version"), FileVersionOfResource());
    const std::string project =
        std::to_string(EXPECTED_VERSION_MAJOR) + "." + std::to_string(EXPECTED_VERSION_MINOR) + "." +
        std::to_string(EXPECTED_VERSION_PATCH) + "." + std::to_string(EXPECTED_VERSION_TWEAK);
    EXPECT_EQ(Attribute(manifest, identity, "version"), project);
}

TEST(Manifest, AsksForNoElevationAndForCommonControls6) {
    std::string manifest = EmbeddedManifest();
    ASSERT_FALSE(manifest.empty()) << "no application manifest embedded";
    EXPECT_NE(manifest.find(R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)"),
              std::string::npos);
    EXPECT_EQ(manifest.find("requireAdministrator"), std::string::npos);
    EXPECT_EQ(manifest.find("highestAvailable"), std::string::npos);
    EXPECT_NE(manifest.find(R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")"),
              std::string::npos);
}

} // namespace
