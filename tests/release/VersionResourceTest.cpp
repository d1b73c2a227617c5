// The version resource as Explorer's Properties → Details reads it: through the
// version API, using the language and code page that the resource itself announces.
#include "KestravProcess.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

class VersionResource : public ::testing::Test {
protected:
    void SetUp() override {
        std::wstring exe = e2e::KestravExe();
        DWORD ignored = 0;
        DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
        ASSERT_GT(size, 0u) << "no version resource in Kestrav.exe";
        data_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, data_.data()));
    }

    // The string value under the first translation the resource lists, or a marker saying what is missing.
    std::wstring Text(const wchar_t* name) {
        struct Translation {
            WORD language, codePage;
        }* translations = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(data_.data(), L"\\VarFileInfo\\Translation",
                            reinterpret_cast<void**>(&translations), &length) ||
            length < sizeof(Translation))
            return L"<no translation>";
        wchar_t path[128];
        std::swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translations[0].language,
                      translations[0].codePage, name);
        wchar_t* value = nullptr;
        if (!VerQueryValueW(data_.data(), path, reinterpret_cast<void**>(&value), &length) ||
            value == nullptr)
            return L"<missing>";
        return value;
    }

    std::vector<BYTE> data_;
};

TEST_F(VersionResource, FixedNumbersAreTheProjectVersion) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data_.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    const DWORD ms = MAKELONG(EXPECTED_VERSION_MINOR, EXPECTED_VERSION_MAJOR);
    const DWORD ls = MAKELONG(EXPECTED_VERSION_TWEAK, EXPECTED_VERSION_PATCH);
    EXPECT_EQ(fixed->dwFileVersionMS, ms);
    EXPECT_EQ(fixed->dwFileVersionLS, ls);
    EXPECT_EQ(fixed->dwProductVersionMS, ms);
    EXPECT_EQ(fixed->dwProductVersionLS, ls);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST_F(VersionResource, TextsNameTheProductItsVersionAndItsMaker) {
    const std::wstring version =
        std::to_wstring(EXPECTED_VERSION_MAJOR) + L"." + std::to_wstring(EXPECTED_VERSION_MINOR) + L"." +
        std::to_wstring(EXPECTED_VERSION_PATCH) + L"." + std::to_wstring(EXPECTED_VERSION_TWEAK);
    struct Case {
        const wchar_t* name;
        std::wstring expected;
    } cases[] = {
        {L"ProductName", L"Kestrav"},
        {L"FileDescription", L"Kestrav"},
        {L"FileVersion", version},
        {L"ProductVersion", version},
        {L"LegalCopyright", EXPECTED_COPYRIGHT},
        {L"CompanyName", L"Tamberlow"},
        {L"OriginalFilename", L"Kestrav.exe"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Text(c.name), c.expected) << testing::PrintToString(std::wstring(c.name));
}

} // namespace
