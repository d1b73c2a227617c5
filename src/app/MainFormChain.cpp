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

bool TMainForm::SharesEdge(HWND wnd) {
    RECT other;
    return ::GetWindowLongPtrW(wnd, GWLP_USERDATA) == static_cast<LONG_PTR>(FSnapEdge) &&
           ::GetWindowRect(wnd, &other) &&
           FDesktop.MonitorFromRect(other) == FDesktop.MonitorFromRect(ScreenBounds());
}

bool TMainForm::Redock() {
    RECT before = ScreenBounds();
    FRedocking = true;
    DockOn(FDesktop.MonitorFromRect(before));
    FRedocking = false;
    return ScreenBounds() != before;
}

void TMainForm::WatchPrevWnd(HWND wnd) {
    if (wnd == nullptr)
        FPrevWndWatch.Stop();
    else
        FPrevWndWatch.Watch(wnd, Handle(), WM_PREVWNDENDED);
}

void TMainForm::LeaveChainForGood() {
    FChain.Close();
    FPrevWndWatch.Stop();
    ::SetWindowLongPtrW(Handle(), GWLP_USERDATA, 0);
    ::ShowWindow(Handle(), SW_HIDE);
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
    if (c == FChainColor)
        return;
    FChainColor = c;
    ApplyShownColor();
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
