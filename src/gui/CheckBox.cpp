#include "gui/CheckBox.h"

namespace gui {

CheckBox::CheckBox(Window& parent, const std::wstring& caption, const RECT& bounds) : NativeControl(parent) {
    SetText(caption);
    SetBounds(bounds);
    CreateControl(L"GuiCheckBox", WC_BUTTONW, BS_AUTOCHECKBOX | WS_TABSTOP);
    Show();
}

bool CheckBox::Checked() const {
    return Send(BM_GETCHECK) == BST_CHECKED;
}

void CheckBox::SetChecked(bool checked) {
    if (Checked() == checked)
        return;
    Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
    if (OnClick)
        OnClick();
}

bool CheckBox::DialogChar(wchar_t ch) {
    if (!IsAccelerator(ch, Text()) || !Enabled() || !::IsWindowVisible(Handle()))
        return false;
    SetFocus();
    SetChecked(!Checked());
    return true;
}

bool CheckBox::Notified(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED)
        return false;
    if (OnClick)
        OnClick();
    result = 0;
    return true;
}

} // namespace gui
