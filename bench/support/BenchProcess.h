#pragma once
// What the benchmarks that start programs share: the Windows path of a program built on
// the Linux side, a bounded wait for a condition, the visible window of a process, and
// pumping this thread's messages until it has nothing left to do.
#include <windows.h>

#include "support/BenchClock.h"

#include <functional>
#include <string>

inline std::wstring WindowsPath(const char* unix) {
    std::wstring path = L"Z:";
    for (const char* c = unix; *c; ++c)
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path;
}

// Polls condition until it holds or timeoutMs has passed; pollSleepMs 0 only yields, for
// figures finer than the system's timer.
inline bool WaitFor(const std::function<bool()>& condition, double timeoutMs, DWORD pollSleepMs = 1) {
    double start = NowMs();
    while (!condition()) {
        if (NowMs() - start > timeoutMs)
            return false;
        Sleep(pollSleepMs);
    }
    return true;
}

// The first visible top-level window of a class that a process owns, or null.
inline HWND VisibleWindowOf(DWORD pid, const wchar_t* className) {
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

// Dispatches this thread's messages until three looks in a row find none.
inline void PumpUntilIdle() {
    MSG msg;
    for (int quiet = 0; quiet < 3;) {
        bool any = false;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        quiet = any ? 0 : quiet + 1;
        Sleep(any ? 0 : 5);
    }
}
