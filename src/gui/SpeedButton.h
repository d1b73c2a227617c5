#pragma once
// A flat button with a glyph and a hint. It takes no focus, shows a raised edge while
// the pointer is over it and a sunken one while pressed.
#include "gui/Handles.h"
#include "gui/Window.h"

#include <string>

namespace gui {

class SpeedButton : public Window {
public:
    explicit SpeedButton(Window& parent);
    // Takes the button's hint out of the tooltip.
    ~SpeedButton() override;

    // The glyph is owned by the button; its bottom-left pixel is drawn transparent.
    void SetGlyph(unique_hbitmap glyph);
    HBITMAP Glyph() const { return glyph_.get(); }

    const std::wstring& Hint() const { return hint_; }
    void SetHint(const std::wstring& hint);

    // A pop-up menu shown on a right click (borrowed; the owner keeps it).
    std::function<void(POINT screen)> OnContextPopup;

    // Raises OnClick as a click of the user would.
    void Click();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;

private:
    void SetHot(bool hot);
    void SetDown(bool down);
    bool WMContextMenu(POINT screen);
    void RemoveHint();

    unique_hbitmap glyph_;
    std::wstring hint_;
    bool hot_ = false;
    bool down_ = false;
};

} // namespace gui
