#include "gui/Button.h"

#include "gui/ModalForm.h"

namespace gui {

Button::Button(Window& parent, const std::wstring& caption, const RECT& bounds) : NativeControl(parent) {
    SetText(caption);
    SetBounds(bounds);
    CreateControl(L"GuiButton", WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP);
    Show();
}

void Button::SetDefault(bool isDefault) {
    Send(BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void Button::Click() {
    Window* top = this;
    while (top->Parent() != nullptr)
        top = top->Parent();
    if (auto* form = dynamic_cast<ModalForm*>(top); form != nullptr && modalResult_ != mrNone)
        form->SetModalResult(modalResult_);
    if (OnClick)
        OnClick();
}

bool Button::DialogChar(wchar_t ch) {
    if (!IsAccelerator(ch, Text()) || !Enabled() || !::IsWindowVisible(Handle()))
        return false;
    Click();
    return true;
}

bool Button::Notified(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED)
        return false;
    Click();
    result = 0;
    return true;
}

} // namespace gui
