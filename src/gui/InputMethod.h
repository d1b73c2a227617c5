#pragma once
// The input method of a window (a Japanese IME, say) as far as the program needs it:
// whether it is open, and opening or closing it. The real one asks the system; tests
// give a fake.
#include "gui/Subclass.h"

#include <windows.h>

#include <optional>

namespace gui {

class Window;

class IInputMethod {
public:
    virtual ~IInputMethod() = default;
    // Whether the input method is open for the window; nothing when it has none.
    virtual std::optional<bool> OpenStatus(HWND window) = 0;
    virtual void SetOpenStatus(HWND window, bool open) = 0;
};

// The system's input method (the window's input context).
IInputMethod& SystemInputMethod();

// Keeps the input method closed while a control has the keyboard focus, for fields that
// take plain digits: it is closed when the focus arrives and closed again when someone
// opens it meanwhile; when the focus leaves, it gets back the state it had on arrival.
class InputMethodOff {
public:
    explicit InputMethodOff(Window& control, IInputMethod& inputMethod = SystemInputMethod());
    InputMethodOff(const InputMethodOff&) = delete;
    InputMethodOff& operator=(const InputMethodOff&) = delete;

private:
    LRESULT ControlMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Close();

    HWND control_;
    IInputMethod& inputMethod_;
    Subclass subclass_;
    // The state found when the focus arrived; nothing while the control has no focus.
    std::optional<bool> openOnArrival_;
    bool closing_ = false;
};

} // namespace gui
