#pragma once
// A fake desktop of two monitors side by side for the edge window's tests; the right one
// has a taskbar at its bottom. The left one is the real screen, the right one exists only
// for the edge windows' geometry. A test can unplug the right monitor, change the work
// areas and put a window in front.
#include "app/Desktop.h"

#include <algorithm>
#include <optional>

namespace app_test {

class TwoMonitors : public app::IDesktop {
public:
    static constexpr RECT kLeft{0, 0, 1280, 800};
    static constexpr RECT kRight{1280, 0, 2560, 760};
    static constexpr RECT kLeftMonitor{0, 0, 1280, 800};
    static constexpr RECT kRightMonitor{1280, 0, 2560, 800};
    POINT cursor{2000, 2000};
    bool leftDown = false;
    bool rightPlugged = true;
    RECT leftWork = kLeft;
    RECT rightWork = kRight;
    std::optional<app::FrontWindow> front;
    HMONITOR Left() const { return reinterpret_cast<HMONITOR>(1); }
    HMONITOR Right() const { return reinterpret_cast<HMONITOR>(2); }
    POINT CursorPos() override { return cursor; }
    bool LeftButtonDown() override { return leftDown; }
    HMONITOR MonitorFromPoint(POINT p) override { return rightPlugged && p.x >= 1280 ? Right() : Left(); }
    HMONITOR MonitorFromRect(const RECT& r) override {
        if (!rightPlugged)
            return Left();
        int inRight = std::max<LONG>(0, r.right - std::max<LONG>(r.left, 1280));
        int inLeft = std::max<LONG>(0, std::min<LONG>(r.right, 1280) - r.left);
        return inRight > inLeft ? Right() : Left();
    }
    RECT WorkArea(HMONITOR m) override { return m == Right() ? rightWork : leftWork; }
    RECT MonitorBounds(HMONITOR m) override { return m == Right() ? kRightMonitor : kLeftMonitor; }
    std::optional<app::FrontWindow> Front() override { return front; }
    std::optional<UINT> MenuShowDelay() override { return std::nullopt; }
};

} // namespace app_test
