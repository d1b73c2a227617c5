// Targets of symbolic links. Under Wine the links are made on the Linux side (ln -s),
// which Wine shows as reparse points; Windows would show its own symbolic links and
// junctions the same way.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "ShellTestSupport.h"
#include "support/TempFolder.h"
#include "support/LinuxSide.h"
#include "support/TestFiles.h"
#include "shell/RootDesignation.h"
#include "shell/ShellLink.h"
#include "shell/SymLink.h"

namespace {

using shell::GetSymLinkTarget;
using shell::unique_pidl;

constexpr const char* kCannotLink = "this system cannot make symbolic links here";

class SymLinkTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testing_support::MakeFolder(folder_));
        ASSERT_TRUE(testing_support::MakeFile(file_));
    }

    // Under Wine links are always made on the Linux side, so there a failure is a fault,
    // not a reason to skip.
    static bool Link(const std::wstring& link, const std::wstring& target) {
        const bool made = testing_support::MakeSymbolicLink(link, target);
        if (!made && testing_support::UnderWine())
            ADD_FAILURE() << "no link could be made on Wine's Linux side";
        return made;
    }

    testing_support::TempFolder temp_;
    const std::wstring folder_ = temp_ / L"目標 folder";
    const std::wstring file_ = temp_ / L"target.txt";
};

TEST_F(SymLinkTest, LinkToAFolderGivesTheFolder) {
    const std::wstring link = temp_ / L"link to folder";
    if (!Link(link, folder_))
        GTEST_SKIP() << kCannotLink;
    unique_pidl idList;
    ASSERT_TRUE(GetSymLinkTarget(link, idList));
    EXPECT_TRUE(shelltest::SameIDList(idList.get(), shell::RootToIDList(folder_).get()));
    EXPECT_TRUE(shelltest::SamePath(shell::IDListToRoot(idList.get()), folder_));
}

TEST_F(SymLinkTest, LinkToAFileGivesTheFile) {
    const std::wstring link = temp_ / L"link to file";
    if (!Link(link, file_))
        GTEST_SKIP() << kCannotLink;
    // Windows marks every symbolic link as a reparse point. Wine marks a Linux link to
    // a file as a plain file, so there the link is no link at all to us.
    if (!testing_support::IsReparsePoint(link))
        GTEST_SKIP() << "needs Windows: Wine shows a link to a file as a plain file";
    unique_pidl idList;
    ASSERT_TRUE(GetSymLinkTarget(link, idList));
    EXPECT_TRUE(shelltest::SameIDList(idList.get(), shell::RootToIDList(file_).get()));
}

TEST_F(SymLinkTest, ChainOfLinksGivesTheFinalTarget) {
    const std::wstring first = temp_ / L"first", second = temp_ / L"second";
    if (!Link(second, folder_) || !Link(first, second))
        GTEST_SKIP() << kCannotLink;
    unique_pidl idList;
    ASSERT_TRUE(GetSymLinkTarget(first, idList));
    EXPECT_TRUE(shelltest::SameIDList(idList.get(), shell::RootToIDList(folder_).get()));
}

TEST_F(SymLinkTest, DanglingLinkGivesFalse) {
    const std::wstring gone = temp_ / L"gone";
    ASSERT_TRUE(testing_support::MakeFolder(gone));
    const std::wstring link = temp_ / L"dangling";
    if (!Link(link, gone))
        GTEST_SKIP() << kCannotLink;
    ASSERT_TRUE(::RemoveDirectoryW(gone.c_str()));
    unique_pidl idList;
    EXPECT_FALSE(GetSymLinkTarget(link, idList));
    EXPECT_FALSE(idList);
}

TEST_F(SymLinkTest, NoLinkGivesFalse) {
    std::wstring deep = temp_.Path();
    while (deep.size() < 300)
        deep += L"\\long name";
    for (const std::wstring& fileName :
         {folder_, file_, temp_ / L"missing", deep, std::wstring(L""), std::wstring(L"\\\\?\\")}) {
        SCOPED_TRACE(testing::Message() << testing::PrintToString(fileName));
        unique_pidl idList;
        EXPECT_FALSE(GetSymLinkTarget(fileName, idList));
        EXPECT_FALSE(idList);
        EXPECT_FALSE(shell::GetLinkFileTarget(fileName, idList));
    }
}

TEST(DosDeviceNamesTest, EveryDriveMapsItsOwnRootBack) {
    const auto devices = shell::QueryDosDeviceNames();
    ASSERT_FALSE(devices.empty());
    for (const shell::DosDeviceName& name : devices) {
        SCOPED_TRACE(testing::Message() << testing::PrintToString(name.drive));
        EXPECT_EQ(name.drive.size(), 2u);
        EXPECT_EQ(shell::DevicePathToDosPath(name.device + L"\\x", devices), name.drive + L"\\x");
    }
}

} // namespace
