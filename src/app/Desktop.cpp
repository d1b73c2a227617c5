#include "app/Desktop.h"

namespace app {
namespace {

// The desktop's own windows: the shell's desktop window and the windows that draw the
// desktop background, which cover the whole monitor whenever the desktop is clicked.
bool IsDesktopWindow(HWND wnd) {
    if (wnd == ::GetDesktopWindow() || wnd == ::GetShellWindow())
        return true;
    wchar_t name[16] = {};
    ::GetClassNameW(wnd, name, 16);
    return ::lstrcmpW(name, L"Progman") == 0 || ::lstrcmpW(name, L"WorkerW") == 0;
}

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
    RECT MonitorBounds(HMONITOR monitor) override {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (!::GetMonitorInfoW(monitor, &info))
            return WorkArea(monitor);
        return info.rcMonitor;
    }
    std::optional<FrontWindow> Front() override {
        HWND wnd = ::GetForegroundWindow();
        RECT bounds;
        if (wnd == nullptr || !::GetWindowRect(wnd, &bounds))
            return std::nullopt;
        FrontWindow front;
        front.bounds = bounds;
        front.visible = ::IsWindowVisible(wnd) != FALSE;
        front.minimized = ::IsIconic(wnd) != FALSE;
        front.maximizedWithCaption =
            ::IsZoomed(wnd) != FALSE && (::GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
        DWORD process = 0;
        ::GetWindowThreadProcessId(wnd, &process);
        front.own = process == ::GetCurrentProcessId();
        front.desktop = IsDesktopWindow(wnd);
        return front;
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
