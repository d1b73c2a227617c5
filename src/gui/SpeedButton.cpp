#include "gui/SpeedButton.h"

#include "gui/Hint.h"

#include <windowsx.h>

namespace gui {

SpeedButton::SpeedButton(Window& parent)
    : Window(&parent), accessible_([this] { return Facts(); }, [this] { Click(); }) {
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
    accessible_.NotifyNameChange(Handle());
}

void SpeedButton::SetPressed(std::optional<bool> pressed) {
    if (pressed_ == pressed)
        return;
    pressed_ = pressed;
    accessible_.NotifyStateChange(Handle());
}

void SpeedButton::SetKeyboardFocusable(bool focusable) {
    focusable_ = focusable;
    if (!focusable && Focused() && Parent() != nullptr)
        Parent()->SetFocus();
}

AccessibleFacts SpeedButton::Facts() const {
    AccessibleFacts facts;
    facts.name = hint_;
    facts.role = ROLE_SYSTEM_PUSHBUTTON;
    if (pressed_.value_or(false))
        facts.state |= STATE_SYSTEM_PRESSED;
    if (focusable_)
        facts.state |= STATE_SYSTEM_FOCUSABLE;
    if (hot_)
        facts.state |= STATE_SYSTEM_HOTTRACKED;
    facts.defaultAction = L"押す";
    return facts;
}

void SpeedButton::Click() {
    if (OnClick)
        OnClick();
}

LRESULT SpeedButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (LRESULT result = 0; accessible_.HandleMessage(Handle(), message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Invalidate();
        break;
    case WM_KEYDOWN:
        if (WMKeyDown(static_cast<UINT>(wParam), lParam))
            return 0;
        break;
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

bool SpeedButton::WMKeyDown(UINT key, LPARAM flags) {
    bool handled = false;
    if (OnKeyDown)
        OnKeyDown(key, handled);
    if (handled || Handle() == nullptr)
        return true;
    // A key held down repeats; the button is pressed once.
    bool repeated = (flags & (1 << 30)) != 0;
    if (key == VK_SPACE || key == VK_RETURN) {
        if (!repeated)
            Click();
        return true;
    }
    return false;
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
    if (glyph_) {
        BITMAP info{};
        ::GetObjectW(glyph_.get(), sizeof(info), &info);
        unique_hdc source(::CreateCompatibleDC(dc));
        SelectGuard select(source.get(), glyph_.get());
        COLORREF transparent = ::GetPixel(source.get(), 0, info.bmHeight - 1);
        int offset = down_ && hot_ ? 1 : 0;
        int x = (gui::Width(r) - info.bmWidth) / 2 + offset;
        int y = (gui::Height(r) - info.bmHeight) / 2 + offset;
        ::TransparentBlt(dc, x, y, info.bmWidth, info.bmHeight, source.get(), 0, 0, info.bmWidth,
                         info.bmHeight, transparent);
    }
    if (Focused()) {
        ::InflateRect(&r, -1, -1);
        ::DrawFocusRect(dc, &r);
    }
}

} // namespace gui
