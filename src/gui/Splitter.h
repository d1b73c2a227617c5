#pragma once
// A bar between aligned controls that resizes the control it follows when dragged.
#include "gui/Window.h"

#include <functional>

namespace gui {

class Splitter : public Window {
public:
    explicit Splitter(Window& parent);

    // The control whose size the splitter changes (borrowed).
    void SetResized(Window* control) { resized_ = control; }
    Window* Resized() const { return resized_; }
    int MinSize() const { return minSize_; }
    void SetMinSize(int size) { minSize_ = size; }

    // Asked before each size change; leave accept true to allow it.
    std::function<void(int newSize, bool& accept)> OnCanResize;
    std::function<void()> OnMoved;

    // Moves the splitter as a drag by `delta` pixels along its axis would.
    void DragBy(int delta);

    // The splitter is 3 pixels thick at 96 dpi; it starts at the DPI of its parent's
    // window and follows it through this.
    void SetDpi(int dpi);
    int Thickness() const;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool Horizontal() const { return IsHorizontalSide(Align()); }
    bool Far() const;
    void ResizeTo(int newSize);
    void WMSetCursor();
    void BeginDragging();
    void DragMoved();
    void EndDragging();
    int SizeOf(const Window& w) const { return Horizontal() ? w.Height() : w.Width(); }

    Window* resized_ = nullptr;
    int minSize_ = 30;
    bool dragging_ = false;
    POINT dragStart_{0, 0};
    int startSize_ = 0;
    int dpi_ = 96;
};

} // namespace gui
