// The chain of instances at one edge and the colour each one shows.
#include "app/ColorBlend.h"
#include "app/MainForm.h"
#include "app/WndInfo.h"

namespace app {

bool TMainForm::IsPeerWindow(HWND wnd) {
    if (wnd == nullptr || wnd == Handle() || !::IsWindow(wnd))
        return false;
    return WndMatches(wnd, WndClassName(Handle()), WndText(Handle()));
}

void TMainForm::PostChain(HWND to, TDockChainCode code, LPARAM argument) {
    ::PostMessageW(to, WM_DOCKCHAIN, code, argument);
}

void TMainForm::Redock() {
    // A previous window that vanished without leaving (its process was killed) leaves
    // a gap: this window then moves to the edge and joins the chain found there again,
    // so that it closes the gap instead of overlapping the chain's first window.
    bool previousVanished = PrevWnd() != Handle() && !HasPrevWnd();
    SetBounds(CalcDockRect(FSnapEdge, FDesktop.MonitorFromRect(ScreenBounds())));
    if (previousVanished)
        FindChain(FSnapEdge);
}

void TMainForm::WMDockChain(WPARAM code, LPARAM argument) {
    DefaultMessage(WM_DOCKCHAIN, code, argument);
    FChain.Receive(code, argument);
}

void TMainForm::ReceiveBlendColor(TColor color) {
    FBlendColor = color;
    UpdateColor();
}

void TMainForm::UpdateColor() {
    // Without colour shift the window keeps exactly its base colour, as the option
    // promises.
    TColor c = FColorShift ? BlendedColor(FBaseColor, FBlendColor) : FBaseColor;
    if (c == Color())
        return;
    SetColor(c);
    if (HasNextWnd())
        PostChain(NextWnd(), dcColor, static_cast<LPARAM>(c));
}

void TMainForm::SetBaseColor(TColor value) {
    if (value == FBaseColor)
        return;
    FBaseColor = value;
    UpdateColor();
    InclModify(cpForm);
}

void TMainForm::SetColorShift(bool value) {
    if (value == FColorShift)
        return;
    FColorShift = value;
    UpdateColor();
    InclModify(cpForm);
}

} // namespace app
