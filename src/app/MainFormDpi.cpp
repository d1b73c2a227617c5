// The edge window at another DPI: its chrome follows the DPI of its monitor.
#include "app/DockGeometry.h"
#include "app/MainForm.h"
#include "gui/Dpi.h"
#include "gui/Hint.h"

#include <vector>

namespace app {
namespace {

// Keeps a visible window from painting while its parts change size, so that nothing
// shows at a mix of the old and the new DPI; one repaint follows.
class RedrawPause {
public:
    explicit RedrawPause(HWND window) : window_(window), paused_(::IsWindowVisible(window) != FALSE) {
        // Only a visible window: turning drawing back on would also show a hidden one.
        if (paused_)
            ::SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
    }
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;
    ~RedrawPause() {
        if (!paused_)
            return;
        ::SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
        ::RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }

private:
    HWND window_;
    bool paused_;
};

} // namespace

int TMainForm::DragBand() const {
    return gui::ScaleForDpi(25, FDpi);
}

void TMainForm::ApplyDpi(int dpi) {
    dpi = gui::SaneDpi(dpi);
    if (dpi == FDpi && FTitlePanel->Dpi() == dpi)
        return;
    FDpi = dpi;
    // Every part changes size first; then each container lays out once, from the
    // window inwards, so that no frame (and its tree) is sized more than needed.
    std::vector<gui::Window*> containers{this, FScrollBox.get()};
    for (FrameSlot& slot : FFrames)
        containers.push_back(slot.frame.get());
    for (gui::Window* container : containers)
        container->DisableAlign();
    gui::SetHintDpi(dpi);
    FTitlePanel->SetDpi(dpi);
    for (FrameSlot& slot : FFrames) {
        gui::CaptionBar& caption = slot.frame->CaptionPanel();
        caption.SetDpi(dpi);
        // A collapsed frame is as deep as its caption bar.
        if (slot.frame->Collapsed()) {
            if (slot.frame->Align() == gui::alTop)
                slot.frame->SetHeight(caption.Height());
            else if (slot.frame->Align() == gui::alLeft)
                slot.frame->SetWidth(caption.Width());
        }
        slot.splitter->SetDpi(dpi);
    }
    SetPadding(EdgePadding(FSnapEdge, dpi));
    for (gui::Window* container : containers)
        container->EnableAlign();
}

void TMainForm::ApplyMonitorDpi() {
    RedrawPause pause(Handle());
    ApplyDpi(gui::DpiOfWindow(Handle()));
}

void TMainForm::WMDpiChanged(int dpi, const RECT& suggested) {
    // One repaint when everything, the window's own bounds too, is in place.
    RedrawPause pause(Handle());
    ApplyDpi(dpi);
    // Docked, the window keeps its depth in pixels and spans its edge of the new
    // monitor; the system's suggestion (its old size scaled) applies only undocked.
    if (gui::IsSide(FSnapEdge))
        SetBounds(CalcDockRect(FSnapEdge, FDesktop.MonitorFromRect(suggested)));
    else
        SetBounds(suggested);
}

bool TMainForm::WMGetDpiScaledSize(SIZE& size) const {
    // A docked window is not scaled: its depth is the user's, its length the monitor's.
    if (!gui::IsSide(FSnapEdge))
        return false;
    size = {Width(), Height()};
    return true;
}

} // namespace app
