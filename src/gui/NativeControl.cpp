#include "gui/NativeControl.h"

#include <cwctype>

namespace gui {

void NativeControl::CreateControl(const wchar_t* className, const wchar_t* baseClass, DWORD style,
                                  DWORD exStyle) {
    CreateParams params;
    params.className = className;
    params.baseClass = baseClass;
    params.style = style | WS_CHILD | WS_CLIPSIBLINGS;
    params.exStyle = exStyle;
    CreateHandle(params);
}

LRESULT NativeControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_WINDOWPOSCHANGED:
    case WM_KILLFOCUS:
        // The base keeps the bounds and the exit events, then passes the message on.
        return Window::HandleMessage(message, wParam, lParam);
    default:
        return DefaultMessage(message, wParam, lParam);
    }
}

wchar_t AcceleratorOf(const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&')
            continue;
        if (caption[i + 1] != L'&')
            return caption[i + 1];
        ++i; // "&&" is a plain ampersand
    }
    return 0;
}

bool IsAccelerator(wchar_t typed, const std::wstring& caption) {
    wchar_t accelerator = AcceleratorOf(caption);
    return accelerator != 0 && std::towupper(typed) == std::towupper(accelerator);
}

} // namespace gui
