// A pop-up menu shown for a control deep inside a window, as the user meets it.
#include "gui/PopupMenu.h"
#include "support/Pump.h"

#include <gtest/gtest.h>

namespace {

HWND MakeWindow(const wchar_t* text, HWND parent, DWORD style, RECT r) {
    return CreateWindowExW(0, L"STATIC", text, style | SS_NOTIFY, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, parent, nullptr, nullptr, nullptr);
}

// Where the test is while the menu's own loop runs: the window in the foreground when
// the menu showed, and whether a click outside closed it (or the safety timer had to).
struct MenuObservation {
    HWND foreground = nullptr;
    HWND clickTarget = nullptr;
    POINT outside{};
    bool forcedClosed = false;
};
MenuObservation* observed = nullptr;

void CALLBACK ClickOutside(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    observed->foreground = GetForegroundWindow();
    SetCursorPos(observed->outside.x, observed->outside.y);
    INPUT inputs[3] = {};
    for (INPUT& input : inputs)
        input.type = INPUT_MOUSE;
    inputs[0].mi.dx = observed->outside.x * 65536 / GetSystemMetrics(SM_CXSCREEN);
    inputs[0].mi.dy = observed->outside.y * 65536 / GetSystemMetrics(SM_CYSCREEN);
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
}

void CALLBACK ForceClose(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    observed->forcedClosed = true;
    EndMenu();
}

TEST(PopupMenuShown, BringsTheTopLevelWindowForwardSoAClickOutsideClosesIt) {
    HWND other = MakeWindow(L"other", nullptr, WS_POPUP | WS_VISIBLE, {600, 400, 900, 600});
    HWND top = MakeWindow(L"top", nullptr, WS_POPUP | WS_VISIBLE, {100, 100, 400, 300});
    HWND panel = MakeWindow(L"panel", top, WS_CHILD | WS_VISIBLE, {10, 10, 200, 150});
    HWND button = MakeWindow(L"button", panel, WS_CHILD | WS_VISIBLE, {5, 5, 50, 30});
    SetForegroundWindow(other);
    testing_support::PumpUntilIdle();
    ASSERT_EQ(GetForegroundWindow(), other);

    MenuObservation observation;
    observation.outside = {750, 500};
    observed = &observation;
    gui::PopupMenu menu;
    bool chosen = false;
    menu.Add(L"項目", 1).OnClick = [&](gui::MenuItem&) { chosen = true; };
    UINT_PTR click = SetTimer(nullptr, 0, 300, ClickOutside);
    UINT_PTR safety = SetTimer(nullptr, 0, 5000, ForceClose);
    menu.Popup({150, 150}, button); // returns once the menu has closed
    KillTimer(nullptr, click);
    KillTimer(nullptr, safety);
    observed = nullptr;

    EXPECT_EQ(observation.foreground, top);
    EXPECT_FALSE(observation.forcedClosed) << "the click outside did not close the menu";
    EXPECT_FALSE(chosen);
    DestroyWindow(top);
    DestroyWindow(other);
    testing_support::PumpUntilIdle();
}

} // namespace
