// Shortcut files made and read through the Shell's real link object.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "ShellTestSupport.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"
#include "shell/RootDesignation.h"
#include "shell/ShellLink.h"

namespace {

using shell::GetLinkFileTarget;
using shell::TShellLink;
using shell::unique_pidl;

bool MakeShortcut(const std::wstring& fileName, const std::wstring& target) {
    TShellLink link;
    return link.SetTargetPath(target) && link.Save(fileName, true);
}

// Whether an ID list names the folder at path. Windows' link object builds a target's
// list as ParseDisplayName does; Wine's marks a folder target given by SetPath as a
// file in its last item, so that CompareIDs tells the two apart. The parsing name is
// the same on both.
bool LeadsTo(PCIDLIST_ABSOLUTE idList, const std::wstring& path) {
    return idList != nullptr && shelltest::SamePath(shell::IDListToRoot(idList), path);
}

class ShortcutTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testing_support::MakeFolder(target_));
        ASSERT_TRUE(testing_support::MakeFolder(japaneseTarget_));
        ASSERT_TRUE(testing_support::MakeFile(temp_ / L"plain.txt"));
    }

    testing_support::TempFolder temp_;
    // Wine's link object keeps a target path only in the ANSI code page, so the path
    // given to SetPath is plain ASCII; names beyond it go through SetIDList.
    const std::wstring target_ = temp_ / L"Target folder, v1.0";
    const std::wstring japaneseTarget_ = temp_ / L"ターゲット";
};

TEST_F(ShortcutTest, ShortcutLeadsToItsTarget) {
    for (const wchar_t* name : {L"Target.lnk", L"Target.LNK"}) {
        SCOPED_TRACE(testing::Message() << testing::PrintToString(std::wstring(name)));
        const std::wstring fileName = temp_ / name;
        ASSERT_TRUE(MakeShortcut(fileName, target_));
        unique_pidl idList;
        ASSERT_TRUE(GetLinkFileTarget(fileName, idList));
        EXPECT_TRUE(LeadsTo(idList.get(), target_));
        ::DeleteFileW(fileName.c_str());
    }
}

TEST_F(ShortcutTest, OnlyLnkFilesAreReadAsShortcuts) {
    // The same shortcut under another extension is not looked at.
    ASSERT_TRUE(MakeShortcut(temp_ / L"Target.lnk.txt", target_));
    // A .lnk file that is no shortcut, an empty one, and none at all.
    ASSERT_TRUE(testing_support::MakeFile(temp_ / L"garbage.lnk", std::string(300, '\x4C')));
    ASSERT_TRUE(testing_support::MakeFile(temp_ / L"empty.lnk", ""));
    for (const std::wstring& fileName :
         {temp_ / L"Target.lnk.txt", temp_ / L"garbage.lnk", temp_ / L"empty.lnk", temp_ / L"missing.lnk",
          temp_ / L"plain.txt", target_}) {
        SCOPED_TRACE(testing::Message() << testing::PrintToString(fileName));
        unique_pidl idList;
        EXPECT_FALSE(GetLinkFileTarget(fileName, idList));
        EXPECT_FALSE(idList);
    }
}

// Windows looks for a moved target (its link tracking and a search near the old place)
// without any dialog under SLR_NO_UI, and either finds it or fails after its time
// limit. Wine's Resolve answers S_OK and keeps the old target. Either way the call
// must come back without a dialog (a dialog would block this test) and must never
// report success without an ID list.
TEST_F(ShortcutTest, MovedTargetResolvesOrFailsWithoutDialog) {
    const std::wstring fileName = temp_ / L"Moved.lnk";
    ASSERT_TRUE(MakeShortcut(fileName, target_));
    const std::wstring moved = temp_ / L"moved away";
    ASSERT_TRUE(::MoveFileW(target_.c_str(), moved.c_str()));
    const ULONGLONG start = ::GetTickCount64();
    unique_pidl idList;
    const bool resolved = GetLinkFileTarget(fileName, idList);
    EXPECT_LT(::GetTickCount64() - start, 60000u);
    EXPECT_EQ(resolved, static_cast<bool>(idList));
}

TEST_F(ShortcutTest, PropertiesSurviveSaveAndLoad) {
    const std::wstring fileName = temp_ / L"Properties.lnk";
    {
        TShellLink link;
        ASSERT_TRUE(link.SetTargetPath(target_));
        ASSERT_TRUE(link.SetArguments(L"/open \"ファイル\""));
        ASSERT_TRUE(link.SetDescription(L"説明 text"));
        ASSERT_TRUE(link.SetWorkingDirectory(temp_.Path()));
        ASSERT_TRUE(link.SetHotkey(MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT)));
        ASSERT_TRUE(link.SetIconPath(L"C:\\windows\\system32\\shell32.dll"));
        ASSERT_TRUE(link.SetIconIndex(4));
        // The show command is left out: Wine gives back 1 for every value after saving.
        ASSERT_TRUE(link.Save(fileName, true));
    }
    TShellLink link;
    ASSERT_TRUE(link.Load(fileName, STGM_READ));
    EXPECT_TRUE(shelltest::SamePath(link.TargetPath(), target_));
    EXPECT_EQ(link.Arguments(), L"/open \"ファイル\"");
    EXPECT_EQ(link.Description(), L"説明 text");
    EXPECT_TRUE(shelltest::SamePath(link.WorkingDirectory(), temp_.Path()));
    EXPECT_EQ(link.Hotkey(), MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT));
    EXPECT_TRUE(shelltest::SamePath(link.IconPath(), L"C:\\windows\\system32\\shell32.dll"));
    EXPECT_EQ(link.IconIndex(), 4);
    const unique_pidl idList = link.IDList();
    EXPECT_TRUE(LeadsTo(idList.get(), target_));
}

TEST_F(ShortcutTest, ResolvingLoadOfAMissingFileFailsWithItsError) {
    TShellLink link;
    EXPECT_FALSE(link.ResolvingLoad(temp_ / L"missing.lnk", STGM_READ, SLR_NO_UI));
    EXPECT_TRUE(FAILED(static_cast<HRESULT>(::GetLastError())));
}

TEST_F(ShortcutTest, IDListSetterLeadsTheLinkThere) {
    const std::wstring fileName = temp_ / L"ByIDList.lnk";
    {
        TShellLink link;
        const unique_pidl target = shell::RootToIDList(japaneseTarget_);
        ASSERT_TRUE(target);
        ASSERT_TRUE(link.SetIDList(target.get()));
        ASSERT_TRUE(link.Save(fileName, true));
    }
    unique_pidl idList;
    ASSERT_TRUE(GetLinkFileTarget(fileName, idList));
    EXPECT_TRUE(shelltest::SameIDList(idList.get(), shell::RootToIDList(japaneseTarget_).get()));
}

} // namespace
