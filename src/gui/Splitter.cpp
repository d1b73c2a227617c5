#include "gui/Splitter.h"

#include "gui/Dpi.h"

#include <windowsx.h>

namespace gui {

Splitter::Splitter(Window& parent) : Window(&parent), dpi_(DpiOfWindow(parent.Handle())) {
    SetParentColor(true);
    SetBounds(MakeRect(0, 0, Thickness(), Thickness()));
    CreateParams params;
    params.className = L"GuiSplitter";
    params.classStyle = 0;
    CreateHandle(params);
    Show();
}

int Splitter::Thickness() const {
    return ScaleForDpi(3, dpi_);
}

void Splitter::SetDpi(int dpi) {
    dpi = SaneDpi(dpi);
    if (dpi == dpi_)
        return;
    dpi_ = dpi;
    // Only the thickness is the splitter's own; its length comes from the layout.
    if (Horizontal())
        SetHeight(Thickness());
    else if (Align() != alNone)
        SetWidth(Thickness());
    else
        SetBounds(MakeRect(Left(), Top(), Thickness(), Thickness()));
}

bool Splitter::Far() const {
    // Aligned to the right or bottom, the control lies on the far side: dragging
    // towards it makes it smaller.
    return Align() == alRight || Align() == alBottom;
}

void Splitter::DragBy(int delta) {
    if (resized_ != nullptr)
        ResizeTo(SizeOf(*resized_) + (Far() ? -delta : delta));
}

void Splitter::ResizeTo(int newSize) {
    if (resized_ == nullptr)
        return;
    if (newSize < minSize_)
        newSize = minSize_;
    if (newSize == SizeOf(*resized_))
        return;
    bool accept = true;
    if (OnCanResize)
        OnCanResize(newSize, accept);
    if (!accept)
        return;
    if (Horizontal())
        resized_->SetHeight(newSize);
    else
        resized_->SetWidth(newSize);
    if (OnMoved)
        OnMoved();
}

LRESULT Splitter::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETCURSOR:
        WMSetCursor();
        return TRUE;
    case WM_LBUTTONDOWN:
        BeginDragging();
        return 0;
    case WM_MOUSEMOVE:
        DragMoved();
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        EndDragging();
        return 0;
    default:
        return Window::HandleMessage(message, wParam, lParam);
    }
}

void Splitter::WMSetCursor() {
    ::SetCursor(::LoadCursorW(nullptr, Horizontal() ? IDC_SIZENS : IDC_SIZEWE));
}

void Splitter::BeginDragging() {
    if (resized_ == nullptr)
        return;
    dragging_ = true;
    ::GetCursorPos(&dragStart_);
    startSize_ = SizeOf(*resized_);
    ::SetCapture(Handle());
}

void Splitter::DragMoved() {
    if (!dragging_)
        return;
    // Measured on the screen: the splitter itself moves under the pointer.
    POINT p;
    ::GetCursorPos(&p);
    int moved = Horizontal() ? p.y - dragStart_.y : p.x - dragStart_.x;
    ResizeTo(startSize_ + (Far() ? -moved : moved));
}

void Splitter::EndDragging() {
    if (!dragging_)
        return;
    dragging_ = false;
    if (::GetCapture() == Handle())
        ::ReleaseCapture();
}

} // namespace gui
