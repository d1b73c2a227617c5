// The embedded manifest that Windows reads when it starts the program: it must ask
// for no elevation, so a user without administrator rights can run the download.
#include "KestravProcess.h"

#include <gtest/gtest.h>

#include <string>

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
