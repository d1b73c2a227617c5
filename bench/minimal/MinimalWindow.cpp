// The smallest useful Win32 window program, built like Kestrav, as a yardstick for
// start-up time, memory and idle CPU.
#include <windows.h>

static LRESULT CALLBACK Procedure(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(wnd, message, wParam, lParam);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"MinimalWindow";
    RegisterClassW(&windowClass);
    HWND wnd = CreateWindowExW(0, L"MinimalWindow", L"Minimal", WS_POPUP | WS_VISIBLE, 0, 0, 4, 800, nullptr,
                               nullptr, instance, nullptr);
    if (wnd == nullptr)
        return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
