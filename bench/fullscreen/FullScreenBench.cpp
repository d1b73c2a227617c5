// Figures of the edge window with a full-screen program in front: how fast the strip
// steps aside and comes back, and its idle CPU meanwhile beside the minimal window
// program's. Prints figures only.
#include <windows.h>

#include "support/BenchProcess.h"

#include <cstdio>
#include <functional>
#include <string>

namespace {

// A program started for the figures and ended afterwards.
struct Process {
    PROCESS_INFORMATION info{};
    HWND window = nullptr;

    Process(const std::wstring& exe, const wchar_t* className) {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        std::wstring command = L"\"" + exe + L"\"";
        if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &info))
            return;
        WaitFor([&] { return (window = VisibleWindowOf(info.dwProcessId, className)) != nullptr; }, 20000);
    }
    ~Process() {
        if (info.hProcess == nullptr)
            return;
        if (window != nullptr)
            PostMessageW(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(info.hProcess, 5000) != WAIT_OBJECT_0)
            TerminateProcess(info.hProcess, 1);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    double CpuMs() const {
        FILETIME created, exited, kernel, user;
        GetProcessTimes(info.hProcess, &created, &exited, &kernel, &user);
        auto ms = [](FILETIME f) {
            return static_cast<double>((ULONGLONG(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000.0;
        };
        return ms(kernel) + ms(user);
    }
};

RECT Monitor() {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcMonitor;
}

// Pumps this thread's messages (the full-screen window's) for a while or until the
// condition holds; answers the condition.
bool PumpFor(
    double ms, const std::function<bool()>& until = [] { return false; }) {
    double start = NowMs();
    MSG msg;
    while (!until()) {
        double left = ms - (NowMs() - start);
        if (left <= 0)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left < 5 ? 1 : 5), QS_ALLINPUT);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return true;
}

} // namespace

int main() {
    const std::wstring kestrav = WindowsPath(KESTRAV_EXE_UNIX);
    const std::wstring minimal = WindowsPath(MINIMAL_EXE_UNIX);
    const RECT monitor = Monitor();
    SetCursorPos(monitor.right - 100, monitor.top + 300);

    WNDCLASSW cls{};
    cls.lpfnWndProc = DefWindowProcW;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    cls.lpszClassName = L"BenchFullScreenProgram";
    RegisterClassW(&cls);

    Process k(kestrav, L"TMainForm");
    Process m(minimal, L"MinimalWindow");
    if (k.window == nullptr || m.window == nullptr) {
        std::printf("the programs did not start\n");
        return 1;
    }
    PumpFor(500);

    // A popup over the whole monitor, in front, as a video player's full screen.
    double t0 = NowMs();
    HWND program = CreateWindowExW(0, cls.lpszClassName, L"full screen", WS_POPUP | WS_VISIBLE, monitor.left,
                                   monitor.top, monitor.right - monitor.left, monitor.bottom - monitor.top,
                                   nullptr, nullptr, cls.hInstance, nullptr);
    SetForegroundWindow(program);
    bool receded = PumpFor(5000, [&] { return !IsWindowVisible(k.window); });
    double recedeMs = NowMs() - t0;
    PumpFor(500);

    double k0 = k.CpuMs(), m0 = m.CpuMs();
    PumpFor(10000);
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
    std::printf("idle CPU over 10 s with the full-screen program in front: Kestrav %.1f ms, minimal window "
                "program %.1f ms\n",
                kIdle, mIdle);
    if (back)
        std::printf("strip back after the program left full screen:  %.0f ms\n", returnMs);
    else
        std::printf("strip back after the program left full screen:  not within 5 s\n");
    return 0;
}
