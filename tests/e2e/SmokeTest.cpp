#include "KestravProcess.h"

#include <gtest/gtest.h>

using namespace e2e;

TEST(Smoke, StartsFindsItsWindowAndClosesCleanly) {
    KestravProcess kestrav;
    ASSERT_NE(kestrav.Window(), nullptr) << "no edge window appeared";
    EXPECT_EQ(FindWindowW(L"TMainForm", L"Kestrav"), kestrav.Window());
    // Owned by a hidden window: no taskbar button, no Alt+Tab entry.
    HWND owner = GetWindow(kestrav.Window(), GW_OWNER);
    ASSERT_NE(owner, nullptr);
    EXPECT_FALSE(IsWindowVisible(owner));
    EXPECT_NE(GetWindowLongPtrW(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
    EXPECT_EQ(kestrav.Close(), 0);
    EXPECT_FALSE(kestrav.Running());
    EXPECT_TRUE(EdgeWindowsOf(kestrav.ProcessId()).empty());
}

#include "Input.h"

TEST(Smoke, AltF4OnTheOpenPanelEndsTheProgram) {
    KestravProcess kestrav;
    ASSERT_NE(kestrav.Window(), nullptr);
    RECT r = WindowBounds(kestrav.Window());
    ASSERT_TRUE(ClickAt({r.left + 1, r.top + 400}));
    ASSERT_TRUE(WaitUntil("the clicked strip to become the foreground window",
                          [&] { return GetForegroundWindow() == kestrav.Window(); }));
    ASSERT_TRUE(PressAltF4());
    EXPECT_TRUE(WaitUntil(
        "the program to end after Alt+F4", [&] { return !kestrav.Running(); }, 10000));
    EXPECT_TRUE(MoveTo({900, 300}));
}
