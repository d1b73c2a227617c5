// Full-screen programs in front, and monitors and work areas that change.
#include "app/MainForm.h"

namespace app {

void TMainForm::StartFullScreenWatch() {
    // Without the system's window events the layout timer's ticks still notice a
    // full-screen program while the window is collapsed.
    FFullScreenWatch.Start(Handle(), WM_FULLSCREENCHANGE);
}

void TMainForm::FullScreenWatchChange() {
    FFullScreenWatch.Handled();
    // A notice still on its way when the window closed must not show it again.
    if (FDestroyed)
        return;
    // A pinned panel stays as the user pinned it.
    bool covered =
        (FLayout == loCollapsed || FLayout == loExpanded) &&
        IsFullScreenOn(FDesktop.Front(), FDesktop.MonitorBounds(FDesktop.MonitorFromRect(ScreenBounds())));
    if (covered == FReceded)
        return;
    FReceded = covered;
    if (covered) {
        if (FLayout == loExpanded) {
            FLayoutTimer.Stop();
            SetLayout(loCollapsed);
        }
        // Hidden rather than moved down the z-order: it then neither shows over the
        // program nor catches the pointer at the edge, whatever band it was in.
        FShownBeforeReceding = ::IsWindowVisible(Handle()) != FALSE;
        if (FShownBeforeReceding)
            ::ShowWindow(Handle(), SW_HIDE);
    } else if (FShownBeforeReceding) {
        ::ShowWindow(Handle(), SW_SHOWNA);
    }
}

void TMainForm::DockOn(HMONITOR monitor) {
    SetBounds(CalcDockRect(FSnapEdge, monitor));
    FDockMonitor = FDesktop.MonitorBounds(monitor);
}

void TMainForm::WMDisplayChange() {
    // A window whose monitor went lies nearest to another one now; it docks at the same
    // edge there and may find a chain at that edge to join. Windows whose monitor stayed
    // keep their place, also when a monitor comes back.
    HMONITOR monitor = FDesktop.MonitorFromRect(ScreenBounds());
    FChain.DisplayChanged(FDesktop.MonitorBounds(monitor) != FDockMonitor);
    FullScreenWatchChange();
}

void TMainForm::WMSettingChange(WPARAM action) {
    // A taskbar moved or resized changes the work area the chain lies in.
    if (action == SPI_SETWORKAREA)
        WMDisplayChange();
    // A high-contrast theme switched on or off.
    if (action == SPI_SETHIGHCONTRAST)
        SystemColorsChanged();
}

} // namespace app
