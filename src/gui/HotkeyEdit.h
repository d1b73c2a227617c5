#pragma once
// The platform's hotkey field: the user presses a key combination and the field shows
// it. Its value is the platform's hotkey word (virtual key in the low byte, HOTKEYF_
// modifier flags in the high byte); 0 is no hotkey, which Backspace or Delete without
// modifiers give. A key without Ctrl or Alt never stands alone: the field adds Ctrl+Shift.
#include "gui/NativeControl.h"

#include <functional>

namespace gui {

class HotkeyEdit : public NativeControl {
public:
    HotkeyEdit(Window& parent, const RECT& bounds);

    WORD Hotkey() const { return static_cast<WORD>(Send(HKM_GETHOTKEY)); }
    // Fires no event.
    void SetHotkey(WORD hotkey) { Send(HKM_SETHOTKEY, hotkey); }

    // The user changed the combination.
    std::function<void()> OnChange;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool Notified(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Change();
};

} // namespace gui
