#include "gui/Edit.h"

namespace gui {

Edit::Edit(Window& parent, const RECT& bounds) : NativeControl(parent) {
    SetBounds(bounds);
    CreateControl(L"GuiEdit", WC_EDITW, ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE);
    Show();
}

std::wstring Edit::Text() const {
    if (Handle() == nullptr)
        return {};
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(Handle())) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(Handle(), text.data(), static_cast<int>(text.size()))));
    return text;
}

void Edit::SetText(const std::wstring& text) {
    if (Handle() != nullptr)
        ::SetWindowTextW(Handle(), text.c_str());
}

void Edit::Change() {
    if (OnChange)
        OnChange();
}

void Edit::KeyPress(wchar_t& key) {
    if (OnKeyPress)
        OnKeyPress(key);
}

LRESULT Edit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR) {
        auto key = static_cast<wchar_t>(wParam);
        KeyPress(key);
        if (key == 0)
            return 0;
        wParam = key;
    }
    return NativeControl::HandleMessage(message, wParam, lParam);
}

bool Edit::Notified(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_COMMAND || HIWORD(wParam) != EN_CHANGE)
        return false;
    Change();
    result = 0;
    return true;
}

} // namespace gui
