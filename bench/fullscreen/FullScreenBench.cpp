// Figures of the edge window with a full-screen program in front: how fast the strip
// steps aside and comes back, and its idle CPU meanwhile beside the minimal window
// program's. Prints figures only.
#include <windows.h>

#include "support/BenchProcess.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <sstream>
#include <string>

namespace {

double FileTimeMs(FILETIME f) {
    return static_cast<double>((ULONGLONG(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000.0;
}

std::string ReadSmallFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    char buffer[4096];
    DWORD read = 0;
    std::string text;
    if (ReadFile(file, buffer, sizeof(buffer), &read, nullptr))
        text.assign(buffer, read);
    CloseHandle(file);
    return text;
}

double LinuxCpuMs(const std::wstring& statPath) {
    // Fields 14 and 15 (utime, stime), counted after the command name in parentheses.
    std::string stat = ReadSmallFile(statPath);
    size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(stat.substr(close + 2));
    std::string field;
    double ticks = 0;
    for (int n = 3; n <= 15 && fields >> field; ++n) {
        if (n >= 14)
            ticks += std::stod(field);
    }
    return ticks * 10.0;
}

// The stat file of the newest Linux process whose command line holds the program's
// Windows or Linux path, or nothing (not under Wine).
std::wstring LinuxStatOf(const std::wstring& exe, const char* unixExe) {
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(L"Z:\\proc\\*", &found);
    if (find == INVALID_HANDLE_VALUE)
        return {};
    std::string windowsPath(exe.begin(), exe.end());
    unsigned long newest = 0;
    do {
        std::wstring pid = found.cFileName;
        if (pid.empty() || pid.find_first_not_of(L"0123456789") != std::wstring::npos)
            continue;
        std::string command = ReadSmallFile(L"Z:\\proc\\" + pid + L"\\cmdline");
        if (command.find(windowsPath) != std::string::npos || command.find(unixExe) != std::string::npos)
            newest = std::max(newest, std::stoul(pid));
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return newest == 0 ? std::wstring() : L"Z:\\proc\\" + std::to_wstring(newest) + L"\\stat";
}

// A program started for the figures and ended afterwards.
struct Process {
    PROCESS_INFORMATION info{};
    HWND window = nullptr;

    Process(const char* unixExe, const wchar_t* className) {
        const std::wstring exe = WindowsPath(unixExe);
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        std::wstring command = L"\"" + exe + L"\"";
        if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &info))
            return;
        WaitFor([&] { return (window = VisibleWindowOf(info.dwProcessId, className)) != nullptr; }, 20000);
        linuxStat = LinuxStatOf(exe, unixExe);
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
    // Under Wine, GetProcessTimes answers the caller's own times for any process, so the
    // figures come from the Linux side there: the process whose command line names the
    // program, its user and system time in /proc (100 ticks a second).
    double CpuMs() const {
        if (!linuxStat.empty())
            return LinuxCpuMs(linuxStat);
        FILETIME created, exited, kernel, user;
        GetProcessTimes(info.hProcess, &created, &exited, &kernel, &user);
        return FileTimeMs(kernel) + FileTimeMs(user);
    }
    std::wstring linuxStat; // Z:\proc\<pid>\stat under Wine
};

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

    Process k(KESTRAV_EXE_UNIX, L"TMainForm");
    Process m(MINIMAL_EXE_UNIX, L"MinimalWindow");
    if (k.window == nullptr || m.window == nullptr) {
        std::printf("the programs did not start\n");
        return 1;
    }
    std::printf("CPU times from %s\n", k.linuxStat.empty() ? "GetProcessTimes" : "the Linux side (/proc)");
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
