#pragma once
// What the edge window asks of its surroundings: the pointer, the mouse button and the
// monitors. The real one asks the system; tests give a fake.
#include <windows.h>

#include <optional>

namespace app {

class IDesktop {
public:
    virtual ~IDesktop() = default;
    virtual POINT CursorPos() = 0;
    virtual bool LeftButtonDown() = 0;
    // The monitor nearest to a point, or to the larger part of a rectangle.
    virtual HMONITOR MonitorFromPoint(POINT point) = 0;
    virtual HMONITOR MonitorFromRect(const RECT& rect) = 0;
    virtual RECT WorkArea(HMONITOR monitor) = 0;
    // The system's menu-show delay in milliseconds (0 is a valid delay), or nothing
    // when the system does not tell.
    virtual std::optional<UINT> MenuShowDelay() = 0;
};

// The system itself.
IDesktop& SystemDesktop();

} // namespace app
