#pragma once
// A static text with an accelerator ("&W" underlines W): the accelerator moves the
// focus to the label's focus control, when it has one.
#include "gui/Window.h"

namespace gui {

class Label : public Window {
public:
    Label(Window& parent, const std::wstring& caption, int left, int top);

    // The control the accelerator focuses; borrowed, may be null.
    Window* FocusControl() const { return focusControl_; }
    void SetFocusControl(Window* control) { focusControl_ = control; }
    // Sizes the label to its caption in its font.
    void AdjustSize();
    // The height of one line of text in the label's font.
    int TextHeight() const;

    bool DialogChar(wchar_t ch) override;

protected:
    void Paint(HDC dc) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    SIZE MeasureText(const std::wstring& text) const;

    Window* focusControl_ = nullptr;
};

} // namespace gui
