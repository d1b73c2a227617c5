#include "nav/ErrorDialog.h"

#include "gui/Application.h"

namespace nav {
namespace {

// The hook of the dialog being shown; one dialog at a time per thread.
thread_local HHOOK tCenteringHook = nullptr;

LRESULT CALLBACK CenterOnScreen(int code, WPARAM wParam, LPARAM lParam) {
    HHOOK hook = tCenteringHook;
    if (code == HCBT_ACTIVATE) {
        // The message box is about to be activated: it is the first window that is.
        auto dialog = reinterpret_cast<HWND>(wParam);
        RECT bounds{};
        if (::GetWindowRect(dialog, &bounds)) {
            int width = bounds.right - bounds.left;
            int height = bounds.bottom - bounds.top;
            int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
            int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
            ::SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        ::UnhookWindowsHookEx(hook);
        tCenteringHook = nullptr;
        return 0;
    }
    return ::CallNextHookEx(hook, code, wParam, lParam);
}

} // namespace

void ShowErrorDialog(HWND owner, const std::wstring& text) {
    if (tCenteringHook == nullptr)
        tCenteringHook = ::SetWindowsHookExW(WH_CBT, CenterOnScreen, nullptr, ::GetCurrentThreadId());
    std::wstring title = gui::Application::ExeTitle();
    ::MessageBoxW(owner, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
    if (tCenteringHook != nullptr) {
        ::UnhookWindowsHookEx(tCenteringHook);
        tCenteringHook = nullptr;
    }
}

} // namespace nav
