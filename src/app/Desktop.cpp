#include "app/Desktop.h"

namespace app {
namespace {

class SystemDesktopImpl : public IDesktop {
public:
    POINT CursorPos() override {
        POINT p{0, 0};
        ::GetCursorPos(&p);
        return p;
    }
    bool LeftButtonDown() override { return ::GetKeyState(VK_LBUTTON) < 0; }
    HMONITOR MonitorFromPoint(POINT point) override {
        return ::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST);
    }
    HMONITOR MonitorFromRect(const RECT& rect) override {
        return ::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST);
    }
    RECT WorkArea(HMONITOR monitor) override {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (!::GetMonitorInfoW(monitor, &info)) {
            RECT r{0, 0, 0, 0};
            ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
            return r;
        }
        return info.rcWork;
    }
    std::optional<UINT> MenuShowDelay() override {
        DWORD delay = 0;
        if (!::SystemParametersInfoW(SPI_GETMENUSHOWDELAY, 0, &delay, 0))
            return std::nullopt;
        return delay;
    }
};

} // namespace

IDesktop& SystemDesktop() {
    static SystemDesktopImpl desktop;
    return desktop;
}

} // namespace app
