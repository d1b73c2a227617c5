// TShellLink's use of the link object, checked call by call on a recording fake, and
// the shortcut file-name rule.
#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeShellLink.h"
#include "gui/Error.h"
#include "shell/ShellLink.h"

namespace {

using Microsoft::WRL::ComPtr;
using shell::TShellLink;
using Calls = std::vector<std::wstring>;

class ShellLinkTest : public testing::Test {
protected:
    ShellLinkTest() {
        fake_.Attach(new FakeShellLink);
        // One item of four bytes, then the terminator.
        fake_->idList = {6, 0, 'a', 'b', 'c', 'd', 0, 0};
    }
    ComPtr<IShellLinkW> Link() { return ComPtr<IShellLinkW>(fake_.Get()); }

    ComPtr<FakeShellLink> fake_;
};

TEST_F(ShellLinkTest, LinkTargetIsReadAndResolvedWithoutAnyDialog) {
    TShellLink link(nullptr, Link());
    shell::unique_pidl idList;
    ASSERT_TRUE(shell::ReadLinkTarget(link, L"C:\\a\\Target.lnk", idList));
    // STGM_READ, then SLR_NO_UI with no owner window: the Shell shows nothing and gives
    // up after its default time limit.
    EXPECT_EQ(fake_->calls, (Calls{L"Load(C:\\a\\Target.lnk,0)", L"Resolve(0x0,1)"}));
    ASSERT_TRUE(idList);
    EXPECT_EQ(idList.get()->mkid.cb, 6);
    EXPECT_EQ(idList.get()->mkid.abID[0], 'a');
}

TEST_F(ShellLinkTest, LinkTargetFailsOnEveryFailedStep) {
    struct Case {
        HRESULT load;
        HRESULT resolve;
        bool hasIDList;
        Calls calls;
    };
    const Case cases[] = {
        {STG_E_FILENOTFOUND, S_OK, true, {L"Load(x.lnk,0)"}},
        {S_FALSE, S_OK, true, {L"Load(x.lnk,0)"}}, // only S_OK counts as success
        {S_OK, E_FAIL, true, {L"Load(x.lnk,0)", L"Resolve(0x0,1)"}},
        {S_OK, S_FALSE, true, {L"Load(x.lnk,0)", L"Resolve(0x0,1)"}},
        // A link that resolves but names no location gives the caller nothing to open.
        {S_OK, S_OK, false, {L"Load(x.lnk,0)", L"Resolve(0x0,1)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.load << " " << c.resolve << " " << c.hasIDList);
        ComPtr<FakeShellLink> fake;
        fake.Attach(new FakeShellLink);
        fake->loadResult = c.load;
        fake->resolveResult = c.resolve;
        if (c.hasIDList)
            fake->idList = {6, 0, 'a', 'b', 'c', 'd', 0, 0};
        TShellLink link(nullptr, ComPtr<IShellLinkW>(fake.Get()));
        shell::unique_pidl idList(static_cast<PIDLIST_ABSOLUTE>(::CoTaskMemAlloc(2))); // reset by the call
        EXPECT_FALSE(shell::ReadLinkTarget(link, L"x.lnk", idList));
        EXPECT_FALSE(idList);
        EXPECT_EQ(fake->calls, c.calls);
    }
}

TEST_F(ShellLinkTest, CallsReportTheirHResultAsLastError) {
    fake_->loadResult = STG_E_FILENOTFOUND;
    fake_->saveResult = STG_E_ACCESSDENIED;
    fake_->resolveResult = S_FALSE;
    TShellLink link(nullptr, Link());
    EXPECT_FALSE(link.Load(L"a.lnk", STGM_READ));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(STG_E_FILENOTFOUND));
    EXPECT_FALSE(link.Save(L"a.lnk", false));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(STG_E_ACCESSDENIED));
    EXPECT_FALSE(link.Resolve(0));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(S_FALSE));
    fake_->loadResult = S_OK;
    EXPECT_TRUE(link.Load(L"a.lnk", STGM_READ));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(S_OK));
}

TEST_F(ShellLinkTest, ResolveUsesTheOwnerWindowAndFlags) {
    const HWND owner = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x1234));
    TShellLink link(owner, Link());
    EXPECT_EQ(link.ParentWnd(), owner);
    EXPECT_TRUE(link.Resolve(SLR_UPDATE | SLR_NO_UI));
    EXPECT_EQ(fake_->calls, (Calls{L"Resolve(0x1234,5)"}));
}

TEST_F(ShellLinkTest, SavePassesRememberAsAllBitsOrNone) {
    TShellLink link(nullptr, Link());
    EXPECT_TRUE(link.Save(L"a.lnk", true));
    EXPECT_TRUE(link.Save(L"b.lnk", false));
    EXPECT_TRUE(link.Save(L"", true)); // to the file it was loaded from
    EXPECT_EQ(fake_->calls, (Calls{L"Save(a.lnk,-1)", L"Save(b.lnk,0)", L"Save(<null>,-1)"}));
}

TEST_F(ShellLinkTest, ResolvingLoadAndSaveStopAtTheFirstFailure) {
    {
        TShellLink link(nullptr, Link());
        fake_->loadResult = E_FAIL;
        EXPECT_FALSE(link.ResolvingLoad(L"a.lnk", STGM_READWRITE, SLR_NO_UI));
        fake_->resolveResult = E_FAIL;
        EXPECT_FALSE(link.ResolvingSave(L"b.lnk", true, SLR_UPDATE));
        fake_->loadResult = S_OK;
        fake_->resolveResult = S_OK;
        EXPECT_TRUE(link.ResolvingSave(L"c.lnk", false, SLR_UPDATE));
    }
    EXPECT_EQ(fake_->calls,
              (Calls{L"Load(a.lnk,2)", L"Resolve(0x0,4)", L"Resolve(0x0,4)", L"Save(c.lnk,0)"}));
}

TEST_F(ShellLinkTest, PropertiesPassThroughTheLinkObject) {
    TShellLink link(nullptr, Link());
    EXPECT_TRUE(link.SetArguments(L"/x \"y\""));
    EXPECT_TRUE(link.SetDescription(L"説明"));
    EXPECT_TRUE(link.SetWorkingDirectory(L"C:\\Work"));
    EXPECT_TRUE(link.SetTargetPath(L"C:\\Work\\a.exe"));
    EXPECT_TRUE(link.SetHotkey(0x0641));
    EXPECT_TRUE(link.SetShowCmd(SW_SHOWMAXIMIZED));
    EXPECT_EQ(link.Arguments(), L"/x \"y\"");
    EXPECT_EQ(link.Description(), L"説明");
    EXPECT_EQ(link.WorkingDirectory(), L"C:\\Work");
    EXPECT_EQ(link.TargetPath(), L"C:\\Work\\a.exe");
    EXPECT_EQ(link.Hotkey(), 0x0641);
    EXPECT_EQ(link.ShowCmd(), SW_SHOWMAXIMIZED);
    EXPECT_EQ(fake_->calls, (Calls{L"GetPath(2)"})); // SLGP_UNCPRIORITY
}

TEST_F(ShellLinkTest, IconPathAndIndexKeepEachOther) {
    fake_->iconPath = L"C:\\icons.dll";
    fake_->iconIndex = 7;
    TShellLink link(nullptr, Link());
    EXPECT_TRUE(link.SetIconIndex(3));
    EXPECT_EQ(fake_->iconPath, L"C:\\icons.dll");
    EXPECT_TRUE(link.SetIconPath(L"D:\\other.ico"));
    EXPECT_EQ(fake_->iconIndex, 3);
    EXPECT_EQ(link.IconPath(), L"D:\\other.ico");
    EXPECT_EQ(link.IconIndex(), 3);
}

TEST_F(ShellLinkTest, TextsAreCutAtTheBufferEvenWithoutTerminator) {
    fake_->arguments = std::wstring(400, L'a');
    fake_->description = std::wstring(MAX_PATH - 1, L'd');
    TShellLink link(nullptr, Link());
    EXPECT_EQ(link.Arguments(), std::wstring(MAX_PATH, L'a'));
    EXPECT_EQ(link.Description(), std::wstring(MAX_PATH - 1, L'd'));
}

TEST_F(ShellLinkTest, LinkObjectWithoutPersistFileIsRefused) {
    fake_->offersPersistFile = false;
    try {
        TShellLink link(nullptr, Link());
        FAIL() << "no error raised";
    } catch (const gui::HResultError& error) {
        EXPECT_EQ(error.Code(), E_NOINTERFACE);
        EXPECT_FALSE(error.Message().empty());
    }
}

TEST(LinkExtensionTest, OnlyALastExtensionOfLnkCounts) {
    struct Case {
        const wchar_t* fileName;
        bool expected;
    };
    const Case cases[] = {
        {L"C:\\Target.lnk", true},       {L"C:\\Target.LNK", true}, {L"C:\\Target.LnK", true},
        {L"Target.lnk", true},           {L".lnk", true},           {L"C:\\Target.lnk.txt", false},
        {L"C:\\Target.lnkx", false},     {L"C:\\Target.ln", false}, {L"C:\\Target lnk", false},
        {L"C:\\dir.lnk\\Target", false}, // the full stop must follow the last delimiter
        {L"C:\\dir.lnk/Target", false},  {L"C:.lnk\\x", false},     {L"", false},
        {L"C:\\Target.\x0130nk", false}, // only ASCII letters ignore case
    };
    for (const Case& c : cases)
        EXPECT_EQ(shell::HasLinkExtension(c.fileName), c.expected) << c.fileName;
}

TEST(LinkExtensionTest, OtherFilesAreNoShortcutsWithoutTouchingThem) {
    shell::unique_pidl idList;
    EXPECT_FALSE(shell::GetLinkFileTarget(L"C:\\does\\not\\exist.txt", idList));
    EXPECT_FALSE(idList);
}

} // namespace
