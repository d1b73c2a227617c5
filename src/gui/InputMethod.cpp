#include "gui/InputMethod.h"

#include "gui/Window.h"

#include <imm.h>

namespace gui {
namespace {

class SystemInputMethodImpl : public IInputMethod {
public:
    std::optional<bool> OpenStatus(HWND window) override {
        HIMC context = ::ImmGetContext(window);
        if (context == nullptr)
            return std::nullopt;
        bool open = ::ImmGetOpenStatus(context) != FALSE;
        ::ImmReleaseContext(window, context);
        return open;
    }
    void SetOpenStatus(HWND window, bool open) override {
        HIMC context = ::ImmGetContext(window);
        if (context == nullptr)
            return;
        ::ImmSetOpenStatus(context, open ? TRUE : FALSE);
        ::ImmReleaseContext(window, context);
    }
};

} // namespace

IInputMethod& SystemInputMethod() {
    static SystemInputMethodImpl inputMethod;
    return inputMethod;
}

InputMethodOff::InputMethodOff(Window& control, IInputMethod& inputMethod)
    : control_(control.Handle()), inputMethod_(inputMethod) {
    subclass_.Attach(control_, [this](UINT message, WPARAM wParam, LPARAM lParam) {
        return ControlMessage(message, wParam, lParam);
    });
}

void InputMethodOff::Close() {
    // Closing raises a notification of its own, which must not close again.
    if (closing_ || inputMethod_.OpenStatus(control_) != true)
        return;
    closing_ = true;
    inputMethod_.SetOpenStatus(control_, false);
    closing_ = false;
}

LRESULT InputMethodOff::ControlMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = subclass_.CallDefault(message, wParam, lParam);
    switch (message) {
    case WM_SETFOCUS:
        openOnArrival_ = inputMethod_.OpenStatus(control_).value_or(false);
        Close();
        break;
    case WM_IME_NOTIFY:
        if (wParam == IMN_SETOPENSTATUS && openOnArrival_.has_value())
            Close();
        break;
    case WM_KILLFOCUS: {
        // Forgotten first: reopening raises a notice of its own, which must not close.
        bool reopen = openOnArrival_.value_or(false);
        openOnArrival_.reset();
        if (reopen)
            inputMethod_.SetOpenStatus(control_, true);
        break;
    }
    default:
        break;
    }
    return result;
}

} // namespace gui
