// A program of this test goes full screen in front of the strip's monitor and back; the
// display changes its mode under a chain of strips.
#include "Input.h"
#include "KestravProcess.h"
#include "support/Pump.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace e2e;
using testing_support::PumpUntil;

namespace {

RECT Monitor() {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcMonitor;
}

// The work area of the primary monitor as the monitor reports it (under Wine the
// system parameter keeps the first mode's work area after a mode change).
RECT MonitorWork() {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcWork;
}

RECT Work() {
    RECT r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

// A plain window of this process that goes full screen like a video player: a popup
// over the whole monitor, in front.
class FullScreenProgram {
public:
    FullScreenProgram() {
        WNDCLASSW cls{};
        cls.lpfnWndProc = DefWindowProcW;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        cls.lpszClassName = L"KestravTestFullScreenProgram";
        RegisterClassW(&cls);
        window_ = CreateWindowExW(0, cls.lpszClassName, L"full screen", WS_POPUP | WS_VISIBLE, kSmall.left,
                                  kSmall.top, kSmall.right - kSmall.left, kSmall.bottom - kSmall.top, nullptr,
                                  nullptr, cls.hInstance, nullptr);
        PumpUntil([] { return false; }, 100);
    }
    ~FullScreenProgram() {
        if (window_ != nullptr)
            DestroyWindow(window_);
        PumpUntil([] { return false; }, 100);
    }
    HWND Window() const { return window_; }
    void EnterFullScreen() { Place(Monitor()); }
    void LeaveFullScreen() { Place(kSmall); }
    void Close() {
        DestroyWindow(window_);
        window_ = nullptr;
    }

private:
    void Place(const RECT& r) {
        SetWindowPos(window_, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_SHOWWINDOW);
        SetForegroundWindow(window_);
        PumpUntil([this] { return GetForegroundWindow() == window_; }, 2000);
    }
    static constexpr RECT kSmall{400, 200, 800, 500};
    HWND window_ = nullptr;
};

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

LONG Width(HWND window) {
    RECT r = WindowBounds(window);
    return r.right - r.left;
}

// Moves the pointer along the screen's edge and rests it at the point, as a hand would.
::testing::AssertionResult BrushAlong(POINT edge) {
    for (LONG dy : {-40, -20, 0}) {
        if (::testing::AssertionResult moved = MoveTo({edge.x, edge.y + dy}); !moved)
            return moved;
        PumpUntil([] { return false; }, 50);
    }
    return ::testing::AssertionSuccess();
}

// Whether the strip shows at a point of the screen edge (it is the window found there).
bool StripAt(HWND strip, POINT p) {
    return WindowFromPoint(p) == strip && IsWindowVisible(strip);
}

TEST(FullScreenTest, TheStripStepsAsideForAFullScreenProgramAndIsBackAfterwards) {
    ASSERT_TRUE(MoveTo({Work().right - 200, Work().top + 300}));
    KestravProcess kestrav;
    HWND strip = kestrav.Window();
    ASSERT_NE(strip, nullptr);
    const RECT docked{Work().left, Work().top, Work().left + 4, Work().bottom};
    ASSERT_TRUE(WaitUntil("the strip docked at the left edge",
                          [&] { return SameRect(WindowBounds(strip), docked); }));
    const POINT edge{Work().left + 1, Work().top + 400};
    ASSERT_TRUE(WaitUntil("the strip at the edge", [&] { return StripAt(strip, edge); }));
    // The program has taken the place it was started into, as a user would wait.
    PumpUntil([] { return false; }, 500);

    // Twice: the program leaves full screen, then it is closed while full screen.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "leaving full screen" : "closed in full screen");
        auto program = std::make_unique<FullScreenProgram>();
        ASSERT_NE(program->Window(), nullptr);
        program->EnterFullScreen();
        ASSERT_EQ(GetForegroundWindow(), program->Window()) << "the test program did not come to the front";
        // Under Wine another process may still see the window it had in front for a moment;
        // the program asks again, as a click on it would.
        EXPECT_TRUE(PumpUntil(
            [&] {
                if (GetForegroundWindow() != program->Window())
                    SetForegroundWindow(program->Window());
                return WindowFromPoint(edge) == program->Window() && !IsWindowVisible(strip);
            },
            3000))
            << "the strip still lies over the full-screen program";

        // The pointer rests at the edge for several of the strip's ticks: nothing opens.
        ASSERT_TRUE(BrushAlong(edge));
        EXPECT_FALSE(PumpUntil([&] { return IsWindowVisible(strip) || Width(strip) != 4; }, 1500))
            << "the strip showed or opened under the pointer, width " << Width(strip);
        EXPECT_EQ(WindowFromPoint(edge), program->Window());

        if (round == 0)
            program->LeaveFullScreen();
        else
            program->Close();
        EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(strip) != FALSE; }, 3000))
            << "the strip did not come back";
        // Back as it was, and the pointer resting on it opens it.
        ASSERT_TRUE(BrushAlong(edge));
        EXPECT_TRUE(PumpUntil([&] { return Width(strip) == 300; }, 3000))
            << "the strip did not open on hover";
        ASSERT_TRUE(MoveTo({Work().right - 200, Work().top + 300}));
        EXPECT_TRUE(PumpUntil([&] { return SameRect(WindowBounds(strip), docked); }, 3000))
            << "the strip is not back in its place";
        program.reset();
    }
    EXPECT_EQ(kestrav.Close(), 0);
}

// The display in another mode for the scope of a test; back in its own mode afterwards.
class DisplayMode {
public:
    DisplayMode(DWORD width, DWORD height) {
        DEVMODEW mode{};
        mode.dmSize = sizeof(mode);
        mode.dmPelsWidth = width;
        mode.dmPelsHeight = height;
        mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
        // A display server that has only just started may refuse a moment longer.
        for (int attempt = 0; attempt < 10 && !changed_; ++attempt) {
            if (attempt > 0)
                Sleep(300);
            result_ = ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr);
            changed_ = result_ == DISP_CHANGE_SUCCESSFUL;
        }
    }
    ~DisplayMode() {
        if (changed_)
            ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr);
    }
    bool Changed() const { return changed_; }
    LONG Result() const { return result_; }

private:
    bool changed_ = false;
    LONG result_ = DISP_CHANGE_FAILED;
};

// Whether the windows lie edge to edge from the work area's left edge as 4-pixel strips
// over its whole height.
bool StackedAtTheLeft(const std::vector<HWND>& windows, std::string& seen) {
    const RECT work = MonitorWork();
    LONG left = work.left;
    seen.clear();
    bool stacked = true;
    for (HWND w : windows) {
        RECT r = WindowBounds(w);
        char text[64] = {};
        std::snprintf(text, sizeof(text), "(%ld,%ld)-(%ld,%ld) ", static_cast<long>(r.left),
                      static_cast<long>(r.top), static_cast<long>(r.right), static_cast<long>(r.bottom));
        seen += text;
        stacked = stacked && r.left == left && r.right - r.left == 4 && r.top == work.top &&
                  r.bottom == work.bottom;
        left = r.right;
    }
    return stacked;
}

TEST(DisplayChangeTest, AChainFollowsTheDisplayIntoAnotherModeAndBack) {
    ASSERT_TRUE(MoveTo({Work().right - 200, Work().top + 300}));
    const RECT before = Monitor();
    KestravProcess a;
    KestravProcess b;
    ASSERT_NE(b.Window(), nullptr);
    std::string seen;
    auto stacked = [&] { return StackedAtTheLeft({a.Window(), b.Window()}, seen); };
    ASSERT_TRUE(WaitUntil("two strips stacked at the left edge", stacked, 5000, [&] { return seen; }));
    {
        DisplayMode smaller(1024, 768);
        if (!smaller.Changed())
            GTEST_SKIP() << "the display server does not change modes here (answer " << smaller.Result()
                         << ")";
        ASSERT_EQ(Monitor().right - Monitor().left, 1024);
        EXPECT_TRUE(WaitUntil("the strips over the smaller work area", stacked, 5000, [&] { return seen; }));
        EXPECT_EQ(WindowBounds(b.Window()).bottom, 768);
    }
    ASSERT_EQ(Monitor().right - Monitor().left, before.right - before.left)
        << "the display did not come back";
    EXPECT_TRUE(WaitUntil("the strips over the whole work area again", stacked, 5000, [&] { return seen; }));
    EXPECT_EQ(a.Close(), 0);
    EXPECT_EQ(b.Close(), 0);
}

} // namespace
