#pragma once
// The base of controls made from a platform class (edit, button, combo box, up-down,
// tab control): the platform's window procedure handles every message, and the
// notifications the control sends its parent come back to the object as Notified.
#include "gui/Window.h"

#include <commctrl.h>

namespace gui {

class NativeControl : public Window {
public:
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(Handle(), message, wParam, lParam);
    }

protected:
    explicit NativeControl(Window& parent) : Window(&parent) {}
    // Makes the window of class className from the platform's baseClass.
    void CreateControl(const wchar_t* className, const wchar_t* baseClass, DWORD style, DWORD exStyle = 0);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The accelerator character of a caption ("&W" gives L'W'), or 0 when it has none.
wchar_t AcceleratorOf(const std::wstring& caption);
// Whether a typed character is the caption's accelerator (case does not count).
bool IsAccelerator(wchar_t typed, const std::wstring& caption);

} // namespace gui
