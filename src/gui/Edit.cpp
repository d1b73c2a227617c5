#include "gui/Edit.h"

#include <imm.h>

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
    switch (message) {
    case WM_IME_COMPOSITION:
        // The platform's edit would insert an input method's result itself, past the
        // key-press handling; the system's own handling hands it over as WM_IME_CHAR.
        if ((lParam & GCS_RESULTSTR) != 0)
            return ::DefWindowProcW(Handle(), message, wParam, lParam);
        break;
    case WM_IME_CHAR:
    case WM_CHAR: {
        auto key = static_cast<wchar_t>(wParam);
        KeyPress(key);
        if (key == 0)
            return 0;
        return NativeControl::HandleMessage(WM_CHAR, key, lParam);
    }
    default:
        break;
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
