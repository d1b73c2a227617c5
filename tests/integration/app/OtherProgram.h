#pragma once
// Another program's window for tests that watch other processes, and a message-only
// window that counts the notices posted to it.
#include "support/Pump.h"

#include <windows.h>

namespace app_test {

// A window of another program, started here and ended by the test.
class OtherProgram {
public:
    OtherProgram() {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        wchar_t command[] = L"notepad.exe";
        if (!CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_))
            return;
        WaitForInputIdle(info_.hProcess, 10000);
        testing_support::PumpUntil(
            [this] { return (window_ = TopLevelWindowOf(info_.dwProcessId)) != nullptr; }, 10000);
    }
    ~OtherProgram() {
        if (info_.hProcess == nullptr)
            return;
        End();
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    HWND Window() const { return window_; }
    void End() {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }

private:
    static HWND TopLevelWindowOf(DWORD pid) {
        struct Search {
            DWORD pid;
            HWND found;
        } search{pid, nullptr};
        EnumWindows(
            [](HWND wnd, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<Search*>(param);
                DWORD owner = 0;
                GetWindowThreadProcessId(wnd, &owner);
                if (owner != s->pid || !IsWindowVisible(wnd))
                    return TRUE;
                s->found = wnd;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    PROCESS_INFORMATION info_{};
    HWND window_ = nullptr;
};

// A message-only window that counts the notices it gets.
class NoticeCounter {
public:
    static constexpr UINT kNotice = WM_APP + 0x70;
    NoticeCounter() {
        WNDCLASSW cls{};
        cls.lpfnWndProc = Proc;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.lpszClassName = L"KestravNoticeCounter";
        RegisterClassW(&cls);
        window_ = CreateWindowExW(0, cls.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  cls.hInstance, this);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~NoticeCounter() { DestroyWindow(window_); }
    HWND Window() const { return window_; }
    int count = 0;
    HWND about = nullptr;

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kNotice) {
            auto* self = reinterpret_cast<NoticeCounter*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
            ++self->count;
            self->about = reinterpret_cast<HWND>(lParam);
            return 0;
        }
        return DefWindowProcW(wnd, message, wParam, lParam);
    }
    HWND window_ = nullptr;
};

} // namespace app_test
