// Figures of the edge window as a user meets it: start-up, memory, idle CPU (alone and
// in a chain of three), how fast the strip opens, how fast a chain of eight follows, and
// how fast a chain closes up after one of its windows is killed. Prints figures only.
#include <windows.h>
#include <psapi.h>

#include "support/StartedProgram.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

double WorkingSetMB(const StartedProgram& p) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(p.info.hProcess, &counters, sizeof(counters));
    return static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
}

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

void PointerAway() {
    SetCursorPos(WorkArea().right - 100, WorkArea().top + 300);
}

// A killed window: time until the rest of a chain of three lies edge to edge again,
// with the pointer away, for the first, middle and last window killed.
void ChainClosesUpAfterAKill(const std::wstring& kestrav) {
    for (int killed = 0; killed < 3; ++killed) {
        std::vector<std::unique_ptr<StartedProgram>> chain;
        for (int i = 0; i < 3; ++i)
            chain.push_back(std::make_unique<StartedProgram>(kestrav, L"TMainForm"));
        auto leftOf = [](HWND w) {
            RECT r{};
            GetWindowRect(w, &r);
            return r.left;
        };
        bool docked = WaitFor([&] { return leftOf(chain[2]->window) == WorkArea().left + 8; }, 10000);
        TerminateProcess(chain[killed]->info.hProcess, 9);
        WaitForSingleObject(chain[killed]->info.hProcess, 5000);
        double t0 = NowMs();
        std::vector<HWND> rest;
        for (int i = 0; i < 3; ++i) {
            if (i != killed)
                rest.push_back(chain[i]->window);
        }
        bool closed = WaitFor(
            [&] { return leftOf(rest[0]) == WorkArea().left && leftOf(rest[1]) == WorkArea().left + 4; },
            5000);
        const char* which = killed == 0 ? "first" : killed == 1 ? "middle" : "last";
        if (docked && closed)
            std::printf("chain of 3, %-6s killed:   closed up %.1f ms after the process ended\n", which,
                        NowMs() - t0);
        else
            std::printf("chain of 3, %-6s killed:   did not close up (docked %d; strips at %ld and %ld)\n",
                        which, docked, leftOf(rest[0]), leftOf(rest[1]));
        if (!closed) {
            // Where every edge window is, to see what went wrong.
            EnumWindows(
                [](HWND w, LPARAM) -> BOOL {
                    wchar_t cls[64] = {};
                    GetClassNameW(w, cls, 64);
                    if (std::wstring(cls) == L"TMainForm") {
                        RECT r{};
                        GetWindowRect(w, &r);
                        DWORD pid = 0;
                        GetWindowThreadProcessId(w, &pid);
                        std::printf("   window %p pid %lu visible %d edge %ld at %ld,%ld-%ld,%ld\n", (void*)w,
                                    pid, IsWindowVisible(w), (long)GetWindowLongPtrW(w, GWLP_USERDATA),
                                    r.left, r.top, r.right, r.bottom);
                    }
                    return TRUE;
                },
                0);
        }
    }
}

} // namespace

int main() {
    const std::wstring kestrav = WindowsPath(KESTRAV_EXE_UNIX);
    const std::wstring minimal = WindowsPath(MINIMAL_EXE_UNIX);
    PointerAway();

    // Start-up and memory: five warm starts each, medians.
    std::vector<double> kestravStart, minimalStart, kestravMem, minimalMem;
    for (int i = 0; i < 5; ++i) {
        {
            StartedProgram p(kestrav, L"TMainForm");
            kestravStart.push_back(p.startMs);
            Sleep(300);
            kestravMem.push_back(WorkingSetMB(p));
        }
        {
            StartedProgram p(minimal, L"MinimalWindow");
            minimalStart.push_back(p.startMs);
            Sleep(300);
            minimalMem.push_back(WorkingSetMB(p));
        }
    }
    std::printf(
        "start-up to visible window: Kestrav %.1f ms, minimal window program %.1f ms (medians of 5)\n",
        Median(kestravStart), Median(minimalStart));
    std::printf("working set after start:    Kestrav %.1f MB, minimal window program %.1f MB\n",
                Median(kestravMem), Median(minimalMem));

    // Idle CPU of a collapsed strip with the pointer away, over 10 s, side by side.
    {
        StartedProgram k(kestrav, L"TMainForm");
        StartedProgram m(minimal, L"MinimalWindow");
        Sleep(500);
        double k0 = k.CpuMs(), m0 = m.CpuMs();
        Sleep(10000);
        std::printf("idle CPU over 10 s:         Kestrav %.1f ms, minimal window program %.1f ms\n",
                    k.CpuMs() - k0, m.CpuMs() - m0);
    }

    // Idle CPU in a chain of three collapsed strips (each watches the process of the one
    // before it), against the minimal program, over 10 s.
    {
        std::vector<std::unique_ptr<StartedProgram>> chain;
        for (int i = 0; i < 3; ++i)
            chain.push_back(std::make_unique<StartedProgram>(kestrav, L"TMainForm"));
        StartedProgram m(minimal, L"MinimalWindow");
        HWND last = chain.back()->window;
        bool docked = WaitFor(
            [&] {
                RECT r{};
                GetWindowRect(last, &r);
                return r.left == WorkArea().left + 2 * 4;
            },
            10000);
        Sleep(500);
        double before[3], m0 = m.CpuMs();
        for (int i = 0; i < 3; ++i)
            before[i] = chain[i]->CpuMs();
        Sleep(10000);
        std::printf(
            "idle CPU over 10 s, chain of 3%s: Kestrav %.1f / %.1f / %.1f ms (first / middle / last), "
            "minimal window program %.1f ms\n",
            docked ? "" : " (did not dock)", chain[0]->CpuMs() - before[0], chain[1]->CpuMs() - before[1],
            chain[2]->CpuMs() - before[2], m.CpuMs() - m0);
    }

    // Reveal latency: the pointer comes to rest on the strip; time until fully open.
    {
        StartedProgram k(kestrav, L"TMainForm");
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
                    Median(latencies),
                    latencies.empty() ? 0 : *std::min_element(latencies.begin(), latencies.end()),
                    latencies.empty() ? 0 : *std::max_element(latencies.begin(), latencies.end()), delay);
    }

    // A chain of eight: time from the first window opening until the last has moved.
    {
        std::vector<std::unique_ptr<StartedProgram>> chain;
        for (int i = 0; i < 8; ++i)
            chain.push_back(std::make_unique<StartedProgram>(kestrav, L"TMainForm"));
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
            std::printf("chain of 8:                 last window settled %.1f ms after the first opened\n",
                        settle);
        else
            std::printf("chain of 8:                 did not settle (docked %d, settled %d)\n", docked,
                        settled);
    }
    ChainClosesUpAfterAKill(kestrav);
    return 0;
}
