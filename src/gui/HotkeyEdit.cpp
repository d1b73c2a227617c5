#include "gui/HotkeyEdit.h"

namespace gui {

HotkeyEdit::HotkeyEdit(Window& parent, const RECT& bounds) : NativeControl(parent) {
    SetBounds(bounds);
    CreateControl(L"GuiHotkeyEdit", HOTKEY_CLASSW, WS_TABSTOP, WS_EX_CLIENTEDGE);
    // A plain key (or Shift and a key) as a system-wide hotkey would take that key
    // from every program.
    Send(HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_SHIFT, 0));
    Show();
}

void HotkeyEdit::Change() {
    if (OnChange)
        OnChange();
}

LRESULT HotkeyEdit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && (wParam == VK_BACK || wParam == VK_DELETE) &&
        ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_SHIFT) >= 0 && ::GetKeyState(VK_MENU) >= 0) {
        if (Hotkey() != 0) {
            SetHotkey(0);
            Change();
        }
        return 0;
    }
    return NativeControl::HandleMessage(message, wParam, lParam);
}

bool HotkeyEdit::Notified(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_COMMAND || HIWORD(wParam) != EN_CHANGE)
        return false;
    Change();
    result = 0;
    return true;
}

} // namespace gui
