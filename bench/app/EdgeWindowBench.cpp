// Figures of the edge window as a user meets it: start-up, memory, idle CPU, how fast
// the strip opens, and how fast a chain of eight follows. Prints figures only.
#include <windows.h>
#include <psapi.h>

#include "support/BenchClock.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

std::wstring WindowsPath(const char* unix) {
    std::wstring path = L"Z:";
    for (const char* c = unix; *c; ++c)
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path;
}

bool WaitFor(const std::function<bool()>& condition, double timeoutMs) {
    double start = NowMs();
    while (!condition()) {
        if (NowMs() - start > timeoutMs)
            return false;
        Sleep(1);
    }
    return true;
}

HWND VisibleWindowOf(DWORD pid, const wchar_t* className) {
    struct Search {
        DWORD pid;
        const wchar_t* cls;
        HWND found;
    } s{pid, className, nullptr};
    EnumWindows(
        [](HWND wnd, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(wnd, &owner);
            wchar_t cls[64] = {};
            GetClassNameW(wnd, cls, 64);
            if (owner == s->pid && IsWindowVisible(wnd) && std::wstring(cls) == s->cls) {
                s->found = wnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

struct Process {
    PROCESS_INFORMATION info{};
    HWND window = nullptr;
    double startMs = 0;

    Process(const std::wstring& exe, const wchar_t* className) {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        std::wstring command = L"\"" + exe + L"\"";
        double t0 = NowMs();
        if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
            return;
        WaitFor([&] { return (window = VisibleWindowOf(info.dwProcessId, className)) != nullptr; }, 20000);
        startMs = NowMs() - t0;
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
    double WorkingSetMB() const {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof(counters);
        GetProcessMemoryInfo(info.hProcess, &counters, sizeof(counters));
        return static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
    }
    double CpuMs() const {
        FILETIME created, exited, kernel, user;
        GetProcessTimes(info.hProcess, &created, &exited, &kernel, &user);
        auto ms = [](FILETIME f) { return static_cast<double>((ULONGLONG(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000.0; };
        return ms(kernel) + ms(user);
    }
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

int WidthOf(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r.right - r.left;
}

RECT WorkArea() {
    RECT r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

void PointerAway() { SetCursorPos(WorkArea().right - 100, WorkArea().top + 300); }

} // namespace

int main() {
    const std::wstring kestrav = WindowsPath(KESTRAV_EXE_UNIX);
    const std::wstring minimal = WindowsPath(MINIMAL_EXE_UNIX);
    PointerAway();

    // Start-up and memory: five warm starts each, medians.
    std::vector<double> kestravStart, minimalStart, kestravMem, minimalMem;
    for (int i = 0; i < 5; ++i) {
        {
            Process p(kestrav, L"TMainForm");
            kestravStart.push_back(p.startMs);
            Sleep(300);
            kestravMem.push_back(p.WorkingSetMB());
        }
        {
            Process p(minimal, L"MinimalWindow");
            minimalStart.push_back(p.startMs);
            Sleep(300);
            minimalMem.push_back(p.WorkingSetMB());
        }
    }
    std::printf("start-up to visible window: Kestrav %.1f ms, minimal window program %.1f ms (medians of 5)\n",
                Median(kestravStart), Median(minimalStart));
    std::printf("working set after start:    Kestrav %.1f MB, minimal window program %.1f MB\n", Median(kestravMem),
                Median(minimalMem));

    // Idle CPU of a collapsed strip with the pointer away, over 10 s, side by side.
    {
        Process k(kestrav, L"TMainForm");
        Process m(minimal, L"MinimalWindow");
        Sleep(500);
        double k0 = k.CpuMs(), m0 = m.CpuMs();
        Sleep(10000);
        std::printf("idle CPU over 10 s:         Kestrav %.1f ms, minimal window program %.1f ms\n", k.CpuMs() - k0,
                    m.CpuMs() - m0);
    }

    // Reveal latency: the pointer comes to rest on the strip; time until fully open.
    {
        Process k(kestrav, L"TMainForm");
        UINT delay = 400;
        SystemParametersInfoW(SPI_GETMENUSHOWDELAY, 0, &delay, 0);
        std::vector<double> latencies;
        for (int i = 0; i < 5; ++i) {
            PointerAway();
            WaitFor([&] { return WidthOf(k.window) == 4; }, 3000);
            Sleep(250);
            double t0 = NowMs();
            SetCursorPos(WorkArea().left + 1, WorkArea().top + 400);
            if (WaitFor([&] { return WidthOf(k.window) == 300; }, 3000))
                latencies.push_back(NowMs() - t0);
        }
        PointerAway();
        std::printf("reveal latency:             %.0f ms median, %.0f..%.0f ms (menu-show delay %u ms)\n",
                    Median(latencies), latencies.empty() ? 0 : *std::min_element(latencies.begin(), latencies.end()),
                    latencies.empty() ? 0 : *std::max_element(latencies.begin(), latencies.end()), delay);
    }

    // A chain of eight: time from the first window opening until the last has moved.
    {
        std::vector<std::unique_ptr<Process>> chain;
        for (int i = 0; i < 8; ++i)
            chain.push_back(std::make_unique<Process>(kestrav, L"TMainForm"));
        HWND last = chain.back()->window;
        bool docked = WaitFor(
            [&] {
                RECT r{};
                GetWindowRect(last, &r);
                return r.left == WorkArea().left + 7 * 4;
            },
            10000);
        HWND first = chain.front()->window;
        double t0 = NowMs();
        PostMessageW(first, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 300));
        PostMessageW(first, WM_LBUTTONUP, 0, MAKELPARAM(1, 300));
        bool settled = WaitFor(
            [&] {
                RECT r{};
                GetWindowRect(last, &r);
                return r.left == WorkArea().left + 300 + 6 * 4;
            },
            10000);
        double settle = NowMs() - t0;
        if (docked && settled)
            std::printf("chain of 8:                 last window settled %.1f ms after the first opened\n", settle);
        else
            std::printf("chain of 8:                 did not settle (docked %d, settled %d)\n", docked, settled);
    }
    return 0;
}
