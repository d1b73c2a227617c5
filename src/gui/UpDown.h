#pragma once
// The platform's up-down (spin) control. With a buddy edit it steps by the arrows and
// the arrow keys; after each step it writes its position into the buddy as plain
// decimal. It never reads the buddy's text itself: whoever owns the pair decides how
// a typed text becomes the position.
#include "gui/NativeControl.h"

#include <functional>

namespace gui {

class UpDown : public NativeControl {
public:
    explicit UpDown(Window& parent);

    int Min() const;
    int Max() const;
    void SetRange(int min, int max);
    // The control's position as it stands, without a look at the buddy.
    int StoredPosition() const { return static_cast<int>(Send(UDM_GETPOS32)); }
    // Sets the position within the range and writes it into the buddy; asks CanChange
    // first when it differs from the current one.
    virtual void SetPosition(int position);
    int Increment() const;
    void SetIncrement(int increment);
    bool Wrap() const { return (::GetWindowLongW(Handle(), GWL_STYLE) & UDS_WRAP) != 0; }
    void SetWrap(bool wrap);
    bool ArrowKeys() const { return (::GetWindowLongW(Handle(), GWL_STYLE) & UDS_ARROWKEYS) != 0; }
    void SetArrowKeys(bool arrowKeys);

    HWND Buddy() const { return reinterpret_cast<HWND>(Send(UDM_GETBUDDY)); }
    void SetBuddy(HWND buddy) { Send(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy)); }

    // Asked before each change; a handler may refuse it.
    std::function<void(int newPosition, bool& allow)> OnChanging;
    // Fired after each step of the user (whether or not the position moved).
    std::function<void()> OnStep;

protected:
    virtual bool CanChange(int newPosition, int delta);
    virtual void Stepped();
    bool Notified(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void WriteBuddy(int position);
};

} // namespace gui
