#pragma once
// A hidden message-only window whose messages go to one receiver function. The
// window is destroyed with the object. The receiver may destroy the object (and so
// the window) while it handles a message: nothing of the object is used after the
// receiver returns.
#include <windows.h>

namespace shellctrls {

class MessageWindow {
public:
    using Receiver = LRESULT (*)(void* context, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Raises gui::HResultError when the window cannot be created.
    MessageWindow(Receiver receiver, void* context);
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;
    ~MessageWindow();

    HWND Handle() const noexcept { return handle_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    Receiver receiver_;
    void* context_;
    HWND handle_ = nullptr;
};

} // namespace shellctrls
