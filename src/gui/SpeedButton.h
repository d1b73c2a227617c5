#pragma once
// A flat button with a glyph and a hint. The mouse never gives it the focus; it shows a
// raised edge while the pointer is over it and a sunken one while pressed. A button made
// focusable takes the keyboard focus when given, shows a focus rectangle then, and is
// pressed with Space or Enter. Screen readers know it as a push button named by its hint,
// pressed or not when it switches something on and off.
#include "gui/Accessible.h"
#include "gui/Handles.h"
#include "gui/Window.h"

#include <optional>
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

    // For a button that switches something on and off: whether it is on (pressed);
    // nothing for a plain push button.
    std::optional<bool> Pressed() const { return pressed_; }
    void SetPressed(std::optional<bool> pressed);

    bool KeyboardFocusable() const { return focusable_; }
    void SetKeyboardFocusable(bool focusable);

    // A pop-up menu shown on a right click (borrowed; the owner keeps it).
    std::function<void(POINT screen)> OnContextPopup;
    // A key pressed while the button has the focus, before the button's own handling
    // (Space and Enter click it); set handled to use it up.
    std::function<void(UINT key, bool& handled)> OnKeyDown;

    // Raises OnClick as a click of the user would.
    void Click();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;

private:
    void SetHot(bool hot);
    void SetDown(bool down);
    bool WMContextMenu(POINT screen);
    bool WMKeyDown(UINT key, LPARAM flags);
    void RemoveHint();
    AccessibleFacts Facts() const;

    unique_hbitmap glyph_;
    std::wstring hint_;
    bool hot_ = false;
    bool down_ = false;
    bool focusable_ = false;
    std::optional<bool> pressed_;
    AccessibleServer accessible_;
};

} // namespace gui
