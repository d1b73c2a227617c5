#pragma once
// A single-line edit field. The text is the control's own, as the user edits it.
#include "gui/NativeControl.h"

#include <functional>

namespace gui {

class Edit : public NativeControl {
public:
    Edit(Window& parent, const RECT& bounds);

    // Hide the base's cached caption: the user changes this text.
    std::wstring Text() const;
    void SetText(const std::wstring& text);
    void SelectAll() { Send(EM_SETSEL, 0, -1); }

    // Fired after every change of the text.
    std::function<void()> OnChange;
    // Fired for each typed character, also for each one an input method delivers; the
    // handler may replace it, or drop it with 0.
    std::function<void(wchar_t& key)> OnKeyPress;

protected:
    virtual void Change();
    virtual void KeyPress(wchar_t& key);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool Notified(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

} // namespace gui
