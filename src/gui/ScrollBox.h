#pragma once
// A container that scrolls its children when they need more room than it has: aligned
// children are laid out in an area as large as their fixed sizes need, and scroll bars
// appear for the axis that overflows.
#include "gui/Window.h"

namespace gui {

class ScrollBox : public Window {
public:
    explicit ScrollBox(Window& parent);

    // How far one line of a scroll bar moves the content, in pixels.
    static constexpr int LineIncrement = 16;

    POINT ScrollPos() const { return pos_; }
    // The largest position on each axis (0 where the content fits).
    POINT MaxScrollPos() const;
    void ScrollTo(POINT pos);
    SIZE ContentSize() const;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    RECT AlignArea() const override;
    void Realigned() override { UpdateScrollBars(); }

private:
    void UpdateScrollBars();
    // The position kept within the scrolling range.
    POINT Clamped(POINT pos) const;
    void HandleScroll(int bar, WORD request);

    POINT pos_{0, 0};
    bool updatingBars_ = false;
};

} // namespace gui
