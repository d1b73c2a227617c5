// Figures of the edge window with a full-screen program in front: how fast the strip
// steps aside and comes back, and its idle CPU meanwhile beside the minimal window
// program's. Prints figures only.
#include <windows.h>

#include "support/StartedProgram.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

namespace {

double OwnCpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return FileTimeMs(kernel) + FileTimeMs(user);
}

RECT Monitor() {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcMonitor;
}

// Pumps this thread's messages (the full-screen window's) for a while or until the
// condition holds; answers the condition. Without a condition it sleeps between
// messages, so that this program itself stays idle while the others are measured.
bool PumpFor(double ms, const std::function<bool()>& until = nullptr) {
    double start = NowMs();
    MSG msg;
    while (!until || !until()) {
        double left = ms - (NowMs() - start);
        if (left <= 0)
            return false;
        DWORD wait = until ? (left < 5 ? 1 : 5) : static_cast<DWORD>(left) + 1;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return true;
}

} // namespace

int main() {
    const RECT monitor = Monitor();
    SetCursorPos(monitor.right - 100, monitor.top + 300);

    WNDCLASSW cls{};
    cls.lpfnWndProc = DefWindowProcW;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    cls.lpszClassName = L"BenchFullScreenProgram";
    RegisterClassW(&cls);

    StartedProgram k(WindowsPath(KESTRAV_EXE_UNIX), L"TMainForm");
    StartedProgram m(WindowsPath(MINIMAL_EXE_UNIX), L"MinimalWindow");
    if (k.window == nullptr || m.window == nullptr) {
        std::printf("the programs did not start\n");
        return 1;
    }
    std::printf("CPU times from %s\n", k.cpu.FromLinuxSide() ? "the Linux side (/proc)" : "GetProcessTimes");
    PumpFor(500);

    // The same span without the full-screen program, as a baseline of this run.
    double k0 = k.CpuMs(), m0 = m.CpuMs();
    PumpFor(10000);
    double kAlone = k.CpuMs() - k0, mAlone = m.CpuMs() - m0;

    // A popup over the whole monitor, in front, as a video player's full screen.
    double t0 = NowMs();
    HWND program = CreateWindowExW(0, cls.lpszClassName, L"full screen", WS_POPUP | WS_VISIBLE, monitor.left,
                                   monitor.top, monitor.right - monitor.left, monitor.bottom - monitor.top,
                                   nullptr, nullptr, cls.hInstance, nullptr);
    SetForegroundWindow(program);
    bool receded = PumpFor(5000, [&] { return !IsWindowVisible(k.window); });
    double recedeMs = NowMs() - t0;
    PumpFor(500);

    k0 = k.CpuMs();
    m0 = m.CpuMs();
    double own0 = OwnCpuMs();
    PumpFor(10000);
    double ownIdle = OwnCpuMs() - own0;
    double kIdle = k.CpuMs() - k0, mIdle = m.CpuMs() - m0;

    t0 = NowMs();
    SetWindowPos(program, HWND_TOP, 400, 200, 400, 300, SWP_SHOWWINDOW);
    bool back = PumpFor(5000, [&] { return IsWindowVisible(k.window) != FALSE; });
    double returnMs = NowMs() - t0;
    DestroyWindow(program);

    if (receded)
        std::printf("strip hidden after a program went full screen:  %.0f ms\n", recedeMs);
    else
        std::printf("strip hidden after a program went full screen:  not within 5 s\n");
    std::printf("idle CPU over 10 s, collapsed strip, nothing in front: Kestrav %.1f ms, minimal window "
                "program %.1f ms\n",
                kAlone, mAlone);
    std::printf("idle CPU over 10 s with the full-screen program in front: Kestrav %.1f ms, minimal window "
                "program %.1f ms (the full-screen program itself %.1f ms)\n",
                kIdle, mIdle, ownIdle);
    if (back)
        std::printf("strip back after the program left full screen:  %.0f ms\n", returnMs);
    else
        std::printf("strip back after the program left full screen:  not within 5 s\n");
    return 0;
}
