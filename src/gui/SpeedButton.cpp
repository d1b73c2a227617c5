#include "gui/SpeedButton.h"

#include "gui/Hint.h"

#include <windowsx.h>

namespace gui {

SpeedButton::SpeedButton(Window& parent) : Window(&parent) {
    SetParentColor(true);
    SetBounds(MakeRect(0, 0, 21, 21));
    CreateParams params;
    params.className = L"GuiSpeedButton";
    params.classStyle = 0; // double clicks count as two clicks
    CreateHandle(params);
    Show();
}

SpeedButton::~SpeedButton() {
    RemoveHint();
}

void SpeedButton::SetGlyph(unique_hbitmap glyph) {
    glyph_ = std::move(glyph);
    Invalidate();
}

void SpeedButton::SetHint(const std::wstring& hint) {
    if (hint_ == hint)
        return;
    hint_ = hint;
    gui::SetHint(*this, hint_);
}

void SpeedButton::Click() {
    if (OnClick)
        OnClick();
}

LRESULT SpeedButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE:
        SetHot(true);
        break;
    case WM_MOUSELEAVE:
        SetHot(false);
        return 0;
    case WM_LBUTTONDOWN:
        SetDown(true);
        break;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        SetDown(false);
        break;
    case WM_CONTEXTMENU:
        if (WMContextMenu(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))
            return 0;
        break;
    case WM_DESTROY:
        // Destroyed with its parent, not by this object.
        RemoveHint();
        break;
    default:
        break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

void SpeedButton::SetHot(bool hot) {
    if (hot == hot_)
        return;
    hot_ = hot;
    if (hot) {
        // The system tells the button when the pointer leaves it.
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = Handle();
        ::TrackMouseEvent(&track);
    }
    Invalidate();
}

void SpeedButton::SetDown(bool down) {
    if (down == down_)
        return;
    down_ = down;
    Invalidate();
}

void SpeedButton::RemoveHint() {
    // The tooltip would keep the tool of a button that is gone.
    if (!hint_.empty())
        gui::SetHint(*this, L"");
}

bool SpeedButton::WMContextMenu(POINT screen) {
    if (!OnContextPopup)
        return false;
    // A menu asked for from the keyboard comes without a point.
    if (screen.x == -1 && screen.y == -1)
        ::GetCursorPos(&screen);
    OnContextPopup(screen);
    return true;
}

void SpeedButton::Paint(HDC dc) {
    RECT r = ClientRect();
    if (down_ && hot_)
        ::DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    else if (hot_)
        ::DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    if (!glyph_)
        return;
    BITMAP info{};
    ::GetObjectW(glyph_.get(), sizeof(info), &info);
    unique_hdc source(::CreateCompatibleDC(dc));
    SelectGuard select(source.get(), glyph_.get());
    COLORREF transparent = ::GetPixel(source.get(), 0, info.bmHeight - 1);
    int offset = down_ && hot_ ? 1 : 0;
    int x = (gui::Width(r) - info.bmWidth) / 2 + offset;
    int y = (gui::Height(r) - info.bmHeight) / 2 + offset;
    ::TransparentBlt(dc, x, y, info.bmWidth, info.bmHeight, source.get(), 0, 0, info.bmWidth, info.bmHeight,
                     transparent);
}

} // namespace gui
