#pragma once
// A push button. A click (by the user, by Enter or Escape in its dialog, or by its
// accelerator) first gives its dialog the button's modal result, then fires OnClick.
#include "gui/NativeControl.h"

namespace gui {

class Button : public NativeControl {
public:
    Button(Window& parent, const std::wstring& caption, const RECT& bounds);

    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    // The default button is drawn with a heavier frame; its dialog presses it on Enter.
    void SetDefault(bool isDefault);

    void Click();
    bool DialogChar(wchar_t ch) override;

protected:
    bool Notified(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    int modalResult_ = 0;
};

} // namespace gui
