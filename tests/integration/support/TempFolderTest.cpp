// The temporary folders tests make are removed without following links: under Wine,
// removing a link to a folder with Win32 would delete the folder it leads to.
#include <windows.h>

#include "support/LinuxSide.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace testing_support;

TEST(TempFolder, RemovesLinksToOutsideFoldersButNotWhatTheyLeadTo) {
    TempFolder outside;
    const std::wstring kept = outside.MakeFile(L"kept.txt");
    const std::wstring keptFolder = outside.MakeFolder(L"sub\\deeper");

    auto temp = std::make_unique<TempFolder>();
    const std::wstring root = temp->Path();
    temp->MakeFile(L"plain.txt");
    temp->MakeFolder(L"nested\\deep");
    // A link at the top and one deep inside, both to the outside folder, and one that
    // dangles.
    const bool linked = MakeSymbolicLink(temp->Join(L"link"), outside.Path());
    if (!linked && !UnderWine())
        GTEST_SKIP()
            << "needs the right to make symbolic links (Windows: developer mode or an administrator)";
    ASSERT_TRUE(linked);
    ASSERT_TRUE(MakeSymbolicLink(temp->Join(L"nested\\deep\\リンク"), outside.Path()));
    const std::wstring gone = temp->MakeFolder(L"gone");
    ASSERT_TRUE(MakeSymbolicLink(temp->Join(L"dangling"), gone));
    ASSERT_TRUE(::RemoveDirectoryW(gone.c_str()));
    ASSERT_TRUE(IsReparsePoint(temp->Join(L"link")));
    ASSERT_TRUE(FileExists(temp->Join(L"link\\kept.txt"))) << "the link leads to the outside folder";
    ::SetFileAttributesW(temp->Join(L"plain.txt").c_str(), FILE_ATTRIBUTE_READONLY);

    temp.reset();
    EXPECT_FALSE(FileExists(root));
    EXPECT_TRUE(FileExists(kept));
    EXPECT_TRUE(FileExists(keptFolder));
    EXPECT_EQ(outside.Entries(), (std::vector<std::wstring>{L"kept.txt", L"sub"}));
}

TEST(TempFolder, MakesFoldersAndFilesAtRelativePaths) {
    TempFolder temp;
    EXPECT_EQ(temp.MakeFolder(L"x\\y"), temp.Path() + L"\\x\\y");
    EXPECT_EQ(temp.MakeFile(L"x\\y\\名前.txt"), temp / L"x\\y\\名前.txt");
    EXPECT_EQ(ReadBytes(temp.Join(L"x\\y\\名前.txt")), "");
    EXPECT_EQ(temp.Entries(), std::vector<std::wstring>{L"x"});
    EXPECT_THROW(temp.MakeFile(L"missing\\folder\\file"), std::runtime_error);
}

} // namespace
