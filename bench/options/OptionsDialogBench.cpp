// How fast the options dialog answers the title bar's options button: the time from
// the click to the dialog on screen, at the first opening and at later ones. Drives a
// running Kestrav.exe from outside with real input. Prints figures only.
#include <windows.h>

#include "support/BenchProcess.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

void Click(POINT p) {
    SetCursorPos(p.x, p.y);
    INPUT inputs[3] = {};
    for (INPUT& input : inputs)
        input.type = INPUT_MOUSE;
    inputs[0].mi.dx = (p.x * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN);
    inputs[0].mi.dy = (p.y * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN);
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
}

void PressEscape() {
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

// The options button: of the title bar's buttons (children of a child of the window),
// the lowest one while the window is docked left.
HWND OptionButtonOf(HWND window) {
    struct Search {
        HWND window;
        HWND found;
    } s{window, nullptr};
    EnumChildWindows(
        window,
        [](HWND wnd, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            wchar_t cls[64] = {};
            GetClassNameW(wnd, cls, 64);
            if (std::wstring(cls) != L"GuiSpeedButton" || GetParent(GetParent(wnd)) != s->window)
                return TRUE;
            RECT r, best;
            GetWindowRect(wnd, &r);
            if (s->found == nullptr || (GetWindowRect(s->found, &best), r.top > best.top))
                s->found = wnd;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

} // namespace

int main() {
    std::wstring exe = WindowsPath(KESTRAV_EXE_UNIX);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring command = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
        std::printf("cannot start Kestrav.exe\n");
        return 1;
    }
    HWND window = nullptr;
    WaitFor([&] { return (window = VisibleWindowOf(info.dwProcessId, L"TMainForm")) != nullptr; }, 10000, 0);
    if (window == nullptr) {
        std::printf("no edge window\n");
        TerminateProcess(info.hProcess, 1);
        return 1;
    }
    RECT strip;
    GetWindowRect(window, &strip);
    Click({strip.left + 1, strip.top + 400});
    WaitFor(
        [&] {
            RECT r;
            GetWindowRect(window, &r);
            return r.right - r.left > 100;
        },
        5000, 0);
    Sleep(500);
    HWND button = OptionButtonOf(window);
    RECT b{};
    GetWindowRect(button, &b);
    POINT at{(b.left + b.right) / 2, (b.top + b.bottom) / 2};

    std::vector<double> times;
    for (int i = 0; i < 8; ++i) {
        HWND dialog = nullptr;
        double start = NowMs();
        Click(at);
        bool shown = WaitFor(
            [&] {
                dialog = FindWindowW(L"GuiModalForm", L"オプション");
                return dialog != nullptr && IsWindowVisible(dialog);
            },
            10000, 0);
        double elapsed = NowMs() - start;
        if (!shown) {
            std::printf("the dialog did not show\n");
            break;
        }
        times.push_back(elapsed);
        Sleep(200);
        PressEscape();
        WaitFor([&] { return !IsWindowVisible(dialog); }, 5000, 0);
        Sleep(300);
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    if (times.empty())
        return 1;
    std::printf("options dialog, click to shown, first opening: %.1f ms\n", times[0]);
    std::vector<double> later(times.begin() + 1, times.end());
    std::sort(later.begin(), later.end());
    if (!later.empty())
        std::printf(
            "options dialog, click to shown, later openings (%zu): median %.1f ms, min %.1f, max %.1f\n",
            later.size(), later[later.size() / 2], later.front(), later.back());
    return 0;
}
