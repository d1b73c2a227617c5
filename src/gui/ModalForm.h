#pragma once
// A dialog window shown modally: while it is open its owner is disabled and a loop of
// its own runs until a button or the close box gives it a result. Enter presses the
// default button, Escape the cancel button, Tab moves between controls, and
// accelerators reach the labels, check boxes and buttons of the visible controls.
#include "gui/Window.h"

#include <functional>
#include <string>

namespace gui {

class Button;

enum ModalResultCode { mrNone = 0, mrOk = 1, mrCancel = 2 };

class ModalForm : public Window {
public:
    // A top-level window owned by owner, with a caption, a close box and a fixed
    // border around a client area of the given size.
    ModalForm(HWND owner, const std::wstring& caption, int clientWidth, int clientHeight);

    // Shows the form centred on the screen, disables the owner and runs until a result
    // is set; hides the form and answers the result.
    int ShowModal();
    bool ShowingModal() const { return showingModal_; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }

    void SetDefaultButton(Button* button) { defaultButton_ = button; }
    void SetCancelButton(Button* button) { cancelButton_ = button; }

    // Before the form shows, each time.
    std::function<void()> OnShow;
    // The close box (or Alt+F4) was used; the form then ends with mrCancel.
    std::function<void()> OnClose;

    // Handles a keyboard message of the form's controls as a dialog does; true when it
    // is used up. The modal loop calls it for each message.
    bool PreTranslate(const MSG& msg);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool PressButton(Button* button);
    bool DispatchDialogChar(Window& window, wchar_t ch);

    HWND owner_;
    int modalResult_ = mrNone;
    bool showingModal_ = false;
    Button* defaultButton_ = nullptr;
    Button* cancelButton_ = nullptr;
};

} // namespace gui
