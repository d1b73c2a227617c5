#include "shellctrls/MessageWindow.h"

#include "gui/Application.h"
#include "gui/Error.h"

namespace shellctrls {
namespace {

constexpr wchar_t kClassName[] = L"KestravMessageWindow";

void RegisterClassOnce(WNDPROC procedure) {
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.cbWndExtra = sizeof(LONG_PTR);
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    if (::RegisterClassExW(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw gui::HResultError(HRESULT_FROM_WIN32(::GetLastError()));
    registered = true;
}

} // namespace

MessageWindow::MessageWindow(Receiver receiver, void* context) : receiver_(receiver), context_(context) {
    RegisterClassOnce(WindowProc);
    handle_ = ::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
    if (handle_ == nullptr)
        throw gui::HResultError(HRESULT_FROM_WIN32(::GetLastError()));
    ::SetWindowLongPtrW(handle_, 0, reinterpret_cast<LONG_PTR>(this));
}

MessageWindow::~MessageWindow() {
    // Detach first: the messages of the window's own destruction find no object.
    ::SetWindowLongPtrW(handle_, 0, 0);
    ::DestroyWindow(handle_);
}

LRESULT CALLBACK MessageWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<MessageWindow*>(::GetWindowLongPtrW(window, 0));
    if (self == nullptr)
        return ::DefWindowProcW(window, message, wParam, lParam);
    // Copies, so that a receiver that frees this object leaves nothing to touch.
    Receiver receiver = self->receiver_;
    void* context = self->context_;
    try {
        return receiver(context, window, message, wParam, lParam);
    } catch (...) {
        gui::Application::Instance().HandleException();
        return 0;
    }
}

} // namespace shellctrls
