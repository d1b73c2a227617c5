#include "app/ChangeParts.h"
#include "app/DataFile.h"
#include "appdata/AppDataPath.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace app;

TEST(DataFileRelativeName, ReplacesTheLastExtension) {
    struct Case {
        const wchar_t* exe;
        const wchar_t* expected;
    } cases[] = {
        {L"C:\\Tools\\Kestrav.exe", L"Tamberlow\\Kestrav\\Kestrav.xml"},
        {L"C:\\Tools\\a.b.exe", L"Tamberlow\\Kestrav\\a.b.xml"},
        {L"C:\\My Tools\\Other Name.EXE", L"Tamberlow\\Kestrav\\Other Name.xml"},
        {L"C:\\ツール\\ケストラブ.exe", L"Tamberlow\\Kestrav\\ケストラブ.xml"},
        {L"C:\\Tools\\NoExtension", L"Tamberlow\\Kestrav\\NoExtension.xml"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DataFileRelativeName(c.exe), c.expected);
}

TEST(PathBelow, CreatesTheFoldersButNotTheFile) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring base = std::wstring(temp) + L"kestrav-pathbelow-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(base.c_str(), nullptr);

    std::wstring path = appdata::PathBelow(base, L"Tamberlow\\Kestrav\\Kestrav.xml");
    EXPECT_EQ(path, base + L"\\Tamberlow\\Kestrav\\Kestrav.xml");
    DWORD folder = GetFileAttributesW((base + L"\\Tamberlow\\Kestrav").c_str());
    ASSERT_NE(folder, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(folder & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);

    // An existing data file is left as it is.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, "keep", 4, &written, nullptr);
    CloseHandle(file);
    EXPECT_EQ(appdata::PathBelow(base, L"Tamberlow\\Kestrav\\Kestrav.xml"), path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, 4u);

    DeleteFileW(path.c_str());
    RemoveDirectoryW((base + L"\\Tamberlow\\Kestrav").c_str());
    RemoveDirectoryW((base + L"\\Tamberlow").c_str());
    RemoveDirectoryW(base.c_str());
}

TEST(PathBelow, FoldersThatCannotBeMadeDoNotFail) {
    // A file stands where a folder should be: the path still comes back, and writing
    // the file later is what reports the problem.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring blocker = std::wstring(temp) + L"kestrav-blocker-" + std::to_wstring(GetCurrentProcessId());
    HANDLE file = CreateFileW(blocker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    EXPECT_EQ(appdata::PathBelow(blocker, L"Tamberlow\\Kestrav\\K.xml"), blocker + L"\\Tamberlow\\Kestrav\\K.xml");
    std::wstring deep = std::wstring(temp) + std::wstring(300, L'd');
    EXPECT_EQ(appdata::PathBelow(deep, L"a\\b.xml"), deep + L"\\a\\b.xml");
    DeleteFileW(blocker.c_str());
}

TEST(ChangeParts, IsAByteSetThatIgnoresLargeOrdinals) {
    TChangeParts parts;
    parts.Include(cpForm);
    parts.Include(cpTree);
    EXPECT_EQ(parts.Bits(), 0b1010);
    parts.Include(static_cast<TChangePart>(8));
    parts.Exclude(static_cast<TChangePart>(9));
    EXPECT_EQ(parts.Bits(), 0b1010);
    parts.Exclude(cpForm);
    EXPECT_FALSE(parts.Contains(cpForm));
    EXPECT_TRUE(parts.Contains(cpTree));
    EXPECT_EQ(AllChangeParts.Bits(), 15);
}
