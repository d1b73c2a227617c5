#include "gui/ScrollBox.h"

#include <algorithm>
#include <climits>

namespace gui {

ScrollBox::ScrollBox(Window& parent) : Window(&parent) {
    CreateParams params;
    params.className = L"GuiScrollBox";
    CreateHandle(params);
    Show();
}

SIZE ScrollBox::ContentSize() const {
    // Children aligned to the left or right need their widths side by side, those at
    // the top or bottom their heights one above the other.
    int width = GetPadding().left + GetPadding().right;
    int height = GetPadding().top + GetPadding().bottom;
    for (const Window* child : Children()) {
        if (!child->Visible())
            continue;
        if (IsVerticalSide(child->Align()))
            width += child->Width();
        else if (IsHorizontalSide(child->Align()))
            height += child->Height();
    }
    return {width, height};
}

RECT ScrollBox::AlignArea() const {
    RECT client = ClientRect();
    SIZE content = ContentSize();
    int width = std::max<int>(gui::Width(client), content.cx);
    int height = std::max<int>(gui::Height(client), content.cy);
    return MakeRect(-pos_.x, -pos_.y, width, height);
}

POINT ScrollBox::Clamped(POINT pos) const {
    RECT client = ClientRect();
    SIZE content = ContentSize();
    return {std::clamp<int>(pos.x, 0, std::max<int>(0, content.cx - gui::Width(client))),
            std::clamp<int>(pos.y, 0, std::max<int>(0, content.cy - gui::Height(client)))};
}

POINT ScrollBox::MaxScrollPos() const { return Clamped({INT_MAX, INT_MAX}); }

void ScrollBox::UpdateScrollBars() {
    // Showing or hiding a bar resizes the box, which lays it out and comes back here;
    // the outer call finishes the work.
    if (Handle() == nullptr || updatingBars_)
        return;
    updatingBars_ = true;
    RECT client = ClientRect();
    SIZE content = ContentSize();
    POINT pos = Clamped(pos_);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = content.cx > gui::Width(client) ? content.cx - 1 : 0;
    info.nPage = static_cast<UINT>(gui::Width(client));
    info.nPos = pos.x;
    ::SetScrollInfo(Handle(), SB_HORZ, &info, TRUE);
    info.nMax = content.cy > gui::Height(client) ? content.cy - 1 : 0;
    info.nPage = static_cast<UINT>(gui::Height(client));
    info.nPos = pos.y;
    ::SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
    if (pos.x != pos_.x || pos.y != pos_.y) {
        pos_ = pos;
        Realign();
    }
    updatingBars_ = false;
}

void ScrollBox::ScrollTo(POINT pos) {
    pos = Clamped(pos);
    if (pos.x == pos_.x && pos.y == pos_.y)
        return;
    pos_ = pos;
    Realign();
    Invalidate();
}

void ScrollBox::HandleScroll(int bar, WORD request) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    ::GetScrollInfo(Handle(), bar, &info);
    int pos = info.nPos;
    int page = static_cast<int>(info.nPage);
    switch (request) {
    case SB_LINEUP: pos -= LineIncrement; break;
    case SB_LINEDOWN: pos += LineIncrement; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = info.nTrackPos; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = info.nMax; break;
    default: return;
    }
    if (bar == SB_HORZ)
        ScrollTo({pos, pos_.y});
    else
        ScrollTo({pos_.x, pos});
}

LRESULT ScrollBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_HSCROLL:
        HandleScroll(SB_HORZ, LOWORD(wParam));
        return 0;
    case WM_VSCROLL:
        HandleScroll(SB_VERT, LOWORD(wParam));
        return 0;
    default:
        return Window::HandleMessage(message, wParam, lParam);
    }
}

} // namespace gui
