#include "gui/ControlDrag.h"

#include "gui/Dpi.h"
#include "gui/Window.h"

#include <windowsx.h>
#include <cstdlib>

namespace gui {

bool PastDragThreshold(POINT start, POINT point, int threshold) {
    return std::abs(point.x - start.x) >= threshold || std::abs(point.y - start.y) >= threshold;
}

Window* DragTargetAt(POINT screen) {
    for (HWND h = ::WindowFromPoint(screen); h != nullptr; h = ::GetParent(h)) {
        Window* w = Window::FromHandle(h);
        if (w != nullptr && w->OnDragOver)
            return w;
    }
    return nullptr;
}

namespace {

POINT ScreenPoint(const MSG& msg) {
    POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    ::ClientToScreen(msg.hwnd, &p);
    return p;
}

bool Accepts(Window& source, POINT screen, Window*& target) {
    target = DragTargetAt(screen);
    bool accept = false;
    if (target != nullptr)
        target->OnDragOver(source, screen, accept);
    return accept;
}

} // namespace

DragOutcome BeginDrag(Window& source, POINT start, int threshold) {
    HWND handle = source.Handle();
    if (handle == nullptr)
        return DragOutcome::NotStarted;
    threshold = ScaleForDpi(threshold, DpiOfWindow(handle));
    // Setting the capture again would tell the source it lost it (and its click).
    if (::GetCapture() != handle)
        ::SetCapture(handle);
    bool dragging = false;
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!::IsWindow(handle))
            return DragOutcome::Cancelled;
        bool mouse = msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST;
        if (msg.message == WM_MOUSEMOVE) {
            POINT p = ScreenPoint(msg);
            if (!dragging && PastDragThreshold(start, p, threshold))
                dragging = true;
            if (dragging) {
                Window* target = nullptr;
                bool accept = Accepts(source, p, target);
                ::SetCursor(::LoadCursorW(nullptr, accept ? IDC_SIZEALL : IDC_NO));
            }
            continue;
        }
        if (msg.message == WM_LBUTTONUP) {
            if (!dragging) {
                // Never became a drag: the source handles the release as a click.
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
                return DragOutcome::NotStarted;
            }
            if (::GetCapture() == handle)
                ::ReleaseCapture();
            POINT p = ScreenPoint(msg);
            Window* target = nullptr;
            if (!Accepts(source, p, target))
                return DragOutcome::Refused;
            target->OnDragDrop(source, p);
            return DragOutcome::Dropped;
        }
        if ((msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) || msg.message == WM_RBUTTONDOWN ||
            ::GetCapture() != handle) {
            if (::GetCapture() == handle)
                ::ReleaseCapture();
            if (!dragging) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            return dragging ? DragOutcome::Cancelled : DragOutcome::NotStarted;
        }
        if (mouse || msg.message == WM_KEYDOWN || msg.message == WM_KEYUP)
            continue; // input belongs to the drag while it lasts
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    // The loop met WM_QUIT: put it back for the application's loop.
    ::PostQuitMessage(static_cast<int>(msg.wParam));
    return DragOutcome::Cancelled;
}

} // namespace gui
