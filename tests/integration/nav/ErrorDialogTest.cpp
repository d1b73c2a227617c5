// The error dialog of the item commands: one OK button, the text, centred on the screen.
#include "nav/ErrorDialog.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct SeenDialog {
    HWND window = nullptr;
    RECT bounds{};
    std::wstring text;
    bool hasOk = false;
    bool hasCancel = false;
    int ticks = 0;
};
SeenDialog gSeen;

BOOL CALLBACK FindDialog(HWND window, LPARAM) {
    wchar_t className[32]{};
    ::GetClassNameW(window, className, 32);
    if (std::wstring(className) != L"#32770" || !::IsWindowVisible(window))
        return TRUE;
    gSeen.window = window;
    return FALSE;
}

BOOL CALLBACK ReadStatic(HWND child, LPARAM) {
    wchar_t className[32]{}, text[256]{};
    ::GetClassNameW(child, className, 32);
    ::GetWindowTextW(child, text, 256);
    if (std::wstring(className) == L"Static" && text[0] != 0)
        gSeen.text = text;
    return TRUE;
}

void CALLBACK LookForTheDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    ++gSeen.ticks;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindDialog, 0);
    if (gSeen.window == nullptr) {
        if (gSeen.ticks > 200)
            ::KillTimer(nullptr, timer); // the dialog never came; the test fails below
        return;
    }
    ::KillTimer(nullptr, timer);
    ::GetWindowRect(gSeen.window, &gSeen.bounds);
    ::EnumChildWindows(gSeen.window, ReadStatic, 0);
    gSeen.hasOk = ::GetDlgItem(gSeen.window, IDOK) != nullptr;
    gSeen.hasCancel = ::GetDlgItem(gSeen.window, IDCANCEL) != nullptr &&
                      ::GetDlgItem(gSeen.window, IDOK) != ::GetDlgItem(gSeen.window, IDCANCEL);
    ::PostMessageW(gSeen.window, WM_COMMAND, IDOK, 0);
}

TEST(ErrorDialog, ShowsTheTextWithOneButtonCentredOnTheScreen) {
    gSeen = {};
    UINT_PTR timer = ::SetTimer(nullptr, 0, 20, LookForTheDialog);
    ASSERT_NE(timer, 0u);
    nav::ShowErrorDialog(nullptr, L"リンク先が見つかりません");
    ASSERT_NE(gSeen.window, nullptr);
    EXPECT_EQ(gSeen.text, L"リンク先が見つかりません");
    EXPECT_TRUE(gSeen.hasOk);
    int centreX = (gSeen.bounds.left + gSeen.bounds.right) / 2;
    int centreY = (gSeen.bounds.top + gSeen.bounds.bottom) / 2;
    EXPECT_NEAR(centreX, ::GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR(centreY, ::GetSystemMetrics(SM_CYSCREEN) / 2, 1);
}

} // namespace
