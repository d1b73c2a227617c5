#include "gui/Label.h"

#include "gui/Handles.h"
#include "gui/ModalForm.h"
#include "gui/NativeControl.h"

namespace gui {

Label::Label(Window& parent, const std::wstring& caption, int left, int top) : Window(&parent) {
    SetParentColor(true);
    SetText(caption);
    SetBounds(MakeRect(left, top, 0, 0));
    CreateParams params;
    params.className = L"GuiLabel";
    params.style = WS_CHILD | WS_CLIPSIBLINGS;
    CreateHandle(params);
    Show();
}

SIZE Label::MeasureText(const std::wstring& text) const {
    HDC dc = ::GetDC(Handle());
    RECT r{0, 0, 0, 0};
    {
        SelectGuard select(dc, Font() != nullptr ? Font() : ::GetStockObject(DEFAULT_GUI_FONT));
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_CALCRECT);
    }
    ::ReleaseDC(Handle(), dc);
    return {r.right, r.bottom};
}

void Label::AdjustSize() {
    if (Handle() == nullptr)
        return;
    SIZE size = MeasureText(Text());
    SetBounds(MakeRect(Left(), Top(), size.cx, size.cy));
}

int Label::TextHeight() const {
    if (Handle() == nullptr)
        return Height();
    // A line holds Latin and Japanese text alike.
    return static_cast<int>(MeasureText(L"Ag漢").cy);
}

bool Label::DialogChar(wchar_t ch) {
    if (focusControl_ == nullptr || !IsAccelerator(ch, Text()) || !focusControl_->Enabled() ||
        focusControl_->Handle() == nullptr || !::IsWindowVisible(focusControl_->Handle()))
        return false;
    FocusDialogControl(focusControl_->Handle());
    return true;
}

LRESULT Label::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    default:
        return Window::HandleMessage(message, wParam, lParam);
    }
}

void Label::Paint(HDC dc) {
    SelectGuard select(dc, Font() != nullptr ? Font() : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(Enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    RECT r = ClientRect();
    std::wstring text = Text();
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_LEFT | DT_TOP);
}

} // namespace gui
