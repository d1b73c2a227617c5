#pragma once
// What the edge window asks of its surroundings: the pointer, the mouse button, the
// monitors and the window in front. The real one asks the system; tests give a fake.
#include <windows.h>

#include <optional>

namespace app {

// What the edge window needs to know of the window in front (the foreground window).
struct FrontWindow {
    RECT bounds{0, 0, 0, 0};
    bool visible = true;
    bool minimized = false;
    // Maximised with a title bar: an ordinary window filling the work area, even where
    // an auto-hidden taskbar lets the work area be the whole monitor.
    bool maximizedWithCaption = false;
    // One of this program's own windows.
    bool own = false;
    // The desktop itself (its background or the shell's desktop window).
    bool desktop = false;
};

class IDesktop {
public:
    virtual ~IDesktop() = default;
    virtual POINT CursorPos() = 0;
    virtual bool LeftButtonDown() = 0;
    // The monitor nearest to a point, or to the larger part of a rectangle.
    virtual HMONITOR MonitorFromPoint(POINT point) = 0;
    virtual HMONITOR MonitorFromRect(const RECT& rect) = 0;
    virtual RECT WorkArea(HMONITOR monitor) = 0;
    // The whole monitor, taskbars included. A desktop that knows no more answers the
    // work area.
    virtual RECT MonitorBounds(HMONITOR monitor) { return WorkArea(monitor); }
    // The window in front, or nothing when there is none (or none is known).
    virtual std::optional<FrontWindow> Front() { return std::nullopt; }
    // The system's menu-show delay in milliseconds (0 is a valid delay), or nothing
    // when the system does not tell.
    virtual std::optional<UINT> MenuShowDelay() = 0;
};

// The system itself.
IDesktop& SystemDesktop();

} // namespace app
