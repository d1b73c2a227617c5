// Docking against an edge, collapsing and expanding, resizing from the inner side.
#include "app/DockGeometry.h"
#include "app/MainForm.h"

#include <windowsx.h>
#include <utility>

namespace app {

RECT TMainForm::CalcDockRect(TAlign edge, HMONITOR monitor) {
    // The previous window counts only on the same monitor: moved to the same edge of
    // another monitor, the window goes to that monitor's edge and joins the chain there.
    std::optional<RECT> previous;
    if (HasPrevWnd()) {
        RECT p;
        if (::GetWindowRect(PrevWnd(), &p) && FDesktop.MonitorFromRect(p) == monitor)
            previous = p;
    }
    return app::CalcDockRect(edge, FLayout, {FCollapseSize, FExpandWidth, FExpandHeight}, FDesktop.WorkArea(monitor),
                             previous, ScreenBounds());
}

int TMainForm::HitPlaceAt(POINT point) const { return app::HitPlaceAt(ScreenBounds(), FCollapseSize, point); }

void TMainForm::SetSnapEdge(TAlign value) {
    HMONITOR monitor = FDesktop.LeftButtonDown() ? FDesktop.MonitorFromPoint(FDesktop.CursorPos())
                                                 : FDesktop.MonitorFromRect(ScreenBounds());
    RECT r = CalcDockRect(value, monitor);
    if (r == ScreenBounds() && value == FSnapEdge)
        return;
    FChain.Leave();
    SetBounds(r);
    FDockMonitor = FDesktop.MonitorBounds(monitor);

    if (HWND head = FindChainHead(value))
        FChain.Join(head);

    if (value != FSnapEdge) {
        FSnapEdge = value;
        ::SetWindowLongPtrW(Handle(), GWLP_USERDATA, static_cast<LONG_PTR>(value));
        SetPadding(EdgePadding(value, FDpi));
        ArrangeTitleBar(value);
        AlignFrames();
    }
    InclModify(cpForm);
}

namespace {

struct ChainSearch {
    TMainForm* self;
    TAlign edge;
    HWND head;
};

} // namespace

HWND TMainForm::FindChainHead(TAlign edge) {
    ChainSearch search{this, edge, nullptr};
    ::EnumWindows(FindChainProc, reinterpret_cast<LPARAM>(&search));
    return search.head;
}

BOOL CALLBACK TMainForm::FindChainProc(HWND wnd, LPARAM param) {
    auto* search = reinterpret_cast<ChainSearch*>(param);
    TMainForm* self = search->self;
    if (!self->IsPeerWindow(wnd) ||
        ::GetWindowLongPtrW(wnd, GWLP_USERDATA) != static_cast<LONG_PTR>(search->edge))
        return TRUE;
    RECT other;
    if (!::GetWindowRect(wnd, &other) || !IsChainHead(search->edge, self->ScreenBounds(), other))
        return TRUE;
    search->head = wnd;
    return FALSE;
}

void TMainForm::ArrangeTitleBar(TAlign edge) {
    FTitlePanel->SetBarAlign(gui::IsSide(edge) ? edge : gui::alTop);
}

void TMainForm::SetDepth(int depth) { SetBounds(WithDepth(ScreenBounds(), FSnapEdge, depth)); }

void TMainForm::SetLayout(TLayout value) {
    if (value == FLayout)
        return;
    TLayout old = FLayout;
    FLayout = value;
    if (value == loCollapsed) {
        UpdatePinningBtn(false);
        HWND focus = ::GetFocus();
        FWasActive = IsOwnControl(focus) ? focus : nullptr;
        FTitlePanel->Hide();
        FScrollBox->Hide();
        FAlphaBlend = true;
        ApplyAlpha();
        RECT bounds = ScreenBounds();
        if (gui::IsHorizontalSide(FSnapEdge))
            FExpandHeight = gui::Height(bounds);
        else if (gui::IsVerticalSide(FSnapEdge))
            FExpandWidth = gui::Width(bounds);
        SetDepth(FCollapseSize);
    } else if (value == loExpanded || value == loPinned) {
        if (old == loCollapsed) {
            RaiseWindow();
            FTitlePanel->Show();
            FScrollBox->Show();
            if (IsOwnControl(FWasActive)) {
                FActiveControl = FWasActive;
                ::SetFocus(FWasActive);
            }
            FAlphaBlend = false;
            ApplyAlpha();
            SetDepth(gui::IsHorizontalSide(FSnapEdge) ? FExpandHeight : FExpandWidth);
        }
        UpdatePinningBtn(FLayout == loPinned);
    }
    LayoutChangedForKeyboard();
}

void TMainForm::ApplyAlpha() {
    LONG_PTR exStyle = ::GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
    if (FAlphaBlend) {
        ::SetWindowLongPtrW(Handle(), GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        ::SetLayeredWindowAttributes(Handle(), 0, FAlphaBlendValue, LWA_ALPHA);
    } else if ((exStyle & WS_EX_LAYERED) != 0) {
        ::SetWindowLongPtrW(Handle(), GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
        ::RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

void TMainForm::SetAlphaBlendValue(BYTE value) {
    FAlphaBlendValue = value;
    if (FAlphaBlend)
        ApplyAlpha();
}

void TMainForm::UpdatePinningBtn(bool pinned) {
    int tag = pinned ? 4 : 3;
    if (FPinningBtn->Tag() == tag)
        return;
    SetButtonTag(*FPinningBtn, tag);
    InclModify(cpForm);
}

void TMainForm::SetTopmost(bool value) {
    if (value == FTopmost)
        return;
    FTopmost = value;
    SetButtonTag(*FTopmostBtn, value ? 2 : 1);
    RaiseWindow();
    InclModify(cpForm);
}

void TMainForm::SetCollapseSize(int value) {
    if (value == FCollapseSize)
        return;
    FCollapseSize = value;
    if (FLayout == loCollapsed) {
        SetDepth(value);
        if (HasNextWnd())
            PostChain(NextWnd(), dcRedock, reinterpret_cast<LPARAM>(Handle()));
    }
    InclModify(cpForm);
}

void TMainForm::SetExpandWidth(int value) {
    if (value == FExpandWidth)
        return;
    FExpandWidth = value;
    if (FLayout != loCollapsed && gui::IsVerticalSide(FSnapEdge))
        SetDepth(value);
    InclModify(cpForm);
}

void TMainForm::SetExpandHeight(int value) {
    if (value == FExpandHeight)
        return;
    FExpandHeight = value;
    if (FLayout != loCollapsed && gui::IsHorizontalSide(FSnapEdge))
        SetDepth(value);
    InclModify(cpForm);
}

void TMainForm::AppMainEventsIdle() {
    if (FLayoutTimer.Running())
        return;
    if (FLayout == loCollapsed)
        FLayoutTimer.OnTimer = [this] { LayoutTimerExpanding(); };
    else if (FLayout == loExpanded)
        FLayoutTimer.OnTimer = [this] { LayoutTimerCollapsing(); };
    else
        return;
    FLayoutTimer.Start();
}

void TMainForm::RedockIfPreviousVanished() {
    FChain.CheckPrevious();
}

void TMainForm::LayoutTimerExpanding() {
    RedockIfPreviousVanished();
    FLayoutTimer.Stop();
    // The tick looks at the pointer anyway; looking at the window in front as well
    // catches what the system's window events did not report.
    FullScreenWatchChange();
    if (!FReceded && Contains(ScreenBounds(), FDesktop.CursorPos()))
        SetLayout(loExpanded);
}

void TMainForm::LayoutTimerCollapsing() {
    RedockIfPreviousVanished();
    if (FTitlePanel->MouseCaptured())
        return; // a title drag is in progress
    FLayoutTimer.Stop();
    bool inside = Contains(ScreenBounds(), FDesktop.CursorPos());
    // Opened by the hotkey, the panel waits for the pointer to come and go again.
    if (FHeldOpen) {
        if (inside)
            FHeldOpen = false;
        return;
    }
    if (!inside)
        SetLayout(loCollapsed);
}

void TMainForm::AppMainEventsDeactivate() {
    if (FLayout != loExpanded)
        return;
    FLayoutTimer.Stop();
    SetLayout(loCollapsed);
}

void TMainForm::FormClick() {
    if (FLayout != loCollapsed)
        return;
    FLayoutTimer.Stop();
    SetLayout(loExpanded);
}

void TMainForm::TitlePanelMouseMove(WPARAM keys, POINT point) {
    if ((keys & MK_LBUTTON) == 0)
        return;
    ::ClientToScreen(FTitlePanel->Handle(), &point);
    TAlign edge = DragTargetEdge(FDesktop.WorkArea(FDesktop.MonitorFromPoint(point)), point, DragBand());
    if (edge != gui::alNone)
        SetSnapEdge(edge);
}

LRESULT TMainForm::WMNCHitTest(WPARAM wParam, LPARAM lParam) {
    LRESULT result = Window::HandleMessage(WM_NCHITTEST, wParam, lParam);
    FHitPlace = HTCLIENT;
    FCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    if (FLayout == loExpanded || FLayout == loPinned) {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        int place = HitPlaceAt(p);
        if (place == InnerSideHit(FSnapEdge)) {
            FHitPlace = place;
            FCursor = ::LoadCursorW(nullptr, gui::IsVerticalSide(FSnapEdge) ? IDC_SIZEWE : IDC_SIZENS);
        }
    }
    return result;
}

void TMainForm::FormMouseMove(WPARAM keys, POINT point) {
    if ((keys & MK_LBUTTON) == 0)
        return;
    WPARAM command = 0;
    switch (FHitPlace) {
    case HTLEFT: command = SC_SIZE + WMSZ_LEFT; break;
    case HTRIGHT: command = SC_SIZE + WMSZ_RIGHT; break;
    case HTTOP: command = SC_SIZE + WMSZ_TOP; break;
    case HTBOTTOM: command = SC_SIZE + WMSZ_BOTTOM; break;
    default: return;
    }
    ::ReleaseCapture();
    ::SendMessageW(Handle(), WM_SYSCOMMAND, command, MAKELPARAM(point.x, point.y));
    InclModify(cpForm);
}

bool TMainForm::FormCanResize(int width, int height) const {
    if (FLayout == loCollapsed)
        return true;
    if (gui::IsHorizontalSide(FSnapEdge))
        return height >= 100;
    if (gui::IsVerticalSide(FSnapEdge))
        return width >= 100;
    return true;
}

void TMainForm::FormResize() {
    if (Handle() != nullptr && !FRedocking && HasNextWnd())
        PostChain(NextWnd(), dcRedock, reinterpret_cast<LPARAM>(Handle()));
}

} // namespace app
