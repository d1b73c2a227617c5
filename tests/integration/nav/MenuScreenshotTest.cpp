// Not part of the suite: shows the Shell's own context menu of a folder with the frame's
// commands merged in, for a few seconds, so that a screenshot can be taken. Run with
//   GTEST_ALSO_RUN_DISABLED_TESTS=1 GTEST_FILTER='*MenuScreenshot*'
//   tools/screenshot out.png --wait 8 --exe build/tests/integration_nav.exe
#include "FakeFrameOwner.h"
#include "nav/NavFrame.h"
#include "support/Pump.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"

#include <shlguid.h>

#include <gtest/gtest.h>

namespace {

class ShotHost : public gui::Window {
public:
    ShotHost() : Window(nullptr) {
        SetBounds(gui::MakeRect(40, 40, 340, 480));
        CreateParams params;
        params.className = L"MenuScreenshotHost";
        params.style = WS_POPUP | WS_CLIPCHILDREN | WS_BORDER;
        CreateHandle(params);
        Show();
    }
};

// Moves up to the filter submenu (second from the end) and opens it, as keys would.
void CALLBACK OpenFilters(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    HWND menu = ::FindWindowW(L"#32768", nullptr);
    for (WPARAM key : {VK_UP, VK_UP, VK_RIGHT}) {
        ::PostMessageW(menu, WM_KEYDOWN, key, 0);
        ::PostMessageW(menu, WM_KEYUP, key, 0);
    }
}

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    ::EndMenu();
}

TEST(MenuScreenshot, DISABLED_ShowsTheCommandsMergedIntoTheShellsMenu) {
    testing_support::TempFolder temp;
    for (const wchar_t* name : {L"Projects\\kestrav", L"Projects\\notes", L"Photos"})
        testing_support::MakeFolder(temp / name);
    ShotHost host;
    navtest::FakeFrameOwner owner(host);
    nav::TNavFrame frame(owner, host, 1);
    frame.SetCollapsed(false);
    frame.SetFrameAlign(gui::alTop);
    frame.SetBounds(gui::MakeRect(0, 0, 338, 478));
    shellctrls::TNamespaceTreeRoot& root = owner.AddRoot(&frame, temp.Path());
    root.SetFilters(
        {shellctrls::shcontfFolders, shellctrls::shcontfNonFolders, shellctrls::shcontfIncludeHidden});
    frame.NameSpaceTree().SetItemState(root.SHItem(), NSTCIS_EXPANDED, NSTCIS_EXPANDED);
    testing_support::PumpUntilIdle();

    Microsoft::WRL::ComPtr<IShellItem> item;
    // The root's own item, so that "ツリーを削除" is offered too.
    ASSERT_HRESULT_SUCCEEDED(
        ::SHCreateItemFromParsingName(temp.Path().c_str(), nullptr, IID_PPV_ARGS(&item)));
    frame.NameSpaceTree().SetItemState(item.Get(), NSTCIS_SELECTED, NSTCIS_SELECTED);
    testing_support::PumpUntilIdle();

    // The Shell's own menu of the item first, then the frame's commands merged in.
    gui::unique_hmenu menu(::CreatePopupMenu());
    Microsoft::WRL::ComPtr<IContextMenu> shellMenu;
    UINT next = 1;
    if (SUCCEEDED(item->BindToHandler(nullptr, BHID_SFUIObject, IID_PPV_ARGS(&shellMenu)))) {
        HRESULT hr = shellMenu->QueryContextMenu(menu.get(), 0, 1, 0x7FFF, CMF_EXPLORE);
        if (SUCCEEDED(hr))
            next += HRESULT_CODE(hr);
    }
    void* ours = nullptr;
    HRESULT result = E_FAIL;
    frame.NameSpaceTreeNTEOnBeforeContextMenu(item.Get(), IID_IContextMenu, ours, result);
    ASSERT_EQ(result, S_OK);
    static_cast<IContextMenu*>(ours)->QueryContextMenu(menu.get(), 0, next, 0x7FFF, CMF_EXPLORE);

    RECT bounds{};
    frame.NameSpaceTree().GetItemRect(item.Get(), &bounds);
    ::SetForegroundWindow(host.Handle());
    ::SetTimer(nullptr, 0, 1000, OpenFilters);
    ::SetTimer(nullptr, 0, 8000, CloseMenu);
    ::TrackPopupMenu(menu.get(), TPM_RETURNCMD, bounds.left + 40, bounds.bottom, 0, host.Handle(), nullptr);
}

} // namespace
