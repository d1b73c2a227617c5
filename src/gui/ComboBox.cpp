#include "gui/ComboBox.h"

#include "gui/Handles.h"

namespace gui {

ComboBox::ComboBox(Window& parent, const RECT& bounds) : ComboBox(parent, bounds, 0) {}

ComboBox::ComboBox(Window& parent, const RECT& bounds, DWORD style) : NativeControl(parent) {
    SetBounds(bounds);
    CreateControl(L"GuiComboBox", WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | style);
    Show();
}

int ComboBox::AddItem(const std::wstring& text, LPARAM data) {
    auto index = static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    if (index >= 0)
        SetItemData(index, data);
    return index;
}

std::wstring ComboBox::ItemText(int index) const {
    auto length = Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length == CB_ERR)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    length = Send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(length == CB_ERR ? 0 : static_cast<size_t>(length));
    return text;
}

int ComboBox::TextWidth(const std::wstring& text) const {
    HDC dc = ::GetDC(Handle());
    SIZE size{};
    {
        SelectGuard select(dc, Font() != nullptr ? Font() : ::GetStockObject(DEFAULT_GUI_FONT));
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    }
    ::ReleaseDC(Handle(), dc);
    return size.cx;
}

void ComboBox::Select() {
    if (OnChange)
        OnChange();
}

bool ComboBox::Notified(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_COMMAND)
        return false;
    switch (HIWORD(wParam)) {
    case CBN_SELCHANGE:
        Select();
        break;
    case CBN_DROPDOWN:
        if (OnDropDown)
            OnDropDown();
        break;
    default:
        return false;
    }
    result = 0;
    return true;
}

} // namespace gui
