#pragma once
// A check box with a caption. Its OnClick fires when the user clicks it and also when
// code changes its state, as a click would.
#include "gui/NativeControl.h"

namespace gui {

class CheckBox : public NativeControl {
public:
    CheckBox(Window& parent, const std::wstring& caption, const RECT& bounds);

    bool Checked() const;
    void SetChecked(bool checked);

    bool DialogChar(wchar_t ch) override;

protected:
    bool Notified(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

} // namespace gui
