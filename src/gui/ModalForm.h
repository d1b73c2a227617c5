#pragma once
// A dialog window shown modally: while it is open its owner is disabled and a loop of
// its own runs until a button or the close box gives it a result. Enter presses the
// default button, Escape the cancel button, Tab moves between controls (the tabs of a
// page control are a stop of their own), Ctrl+Tab and Ctrl+PageDown switch pages from
// anywhere, and accelerators reach the labels, check boxes and buttons of the visible
// controls.
// Its layout is given in pixels at 96 dpi and is scaled, font and all, to the DPI of the
// monitor it shows on.
#include "gui/Handles.h"
#include "gui/Window.h"

#include <functional>
#include <map>
#include <string>

namespace gui {

class Button;
class PageControl;

// Gives a dialog's control the keyboard focus as the keyboard does: an edit gets its
// whole text selected, so that what is typed next replaces it.
void FocusDialogControl(HWND control);

enum ModalResultCode { mrNone = 0, mrOk = 1, mrCancel = 2 };

class ModalForm : public Window {
public:
    // A top-level window owned by owner, with a caption, a close box and a fixed
    // border around a client area of the given size (at 96 dpi).
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

    // The DPI the form is laid out for now.
    int Dpi() const { return dpi_; }
    // Lays the form out for a DPI: the dialog font at that DPI goes to every control
    // first, then each control's bounds (as made at 96 dpi) and the client area are
    // scaled. Showing the form does this for the DPI of its monitor.
    void SetDpi(int dpi);
    // The font of every control, described at 96 dpi (Tahoma 8 pt until set); it is
    // made for the form's DPI.
    void SetDialogFont(const LOGFONTW& font);
    HFONT DialogFont() const { return font_.get(); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // After the form was laid out for another DPI (controls that size themselves to
    // their text do so here).
    virtual void DpiChanged(int) {}

private:
    void ApplyFont(Window& window);
    void CaptureDesignBounds(const Window& window);
    void ScaleBounds(Window& window);
    void SetClientSize(int width, int height);
    void WMDpiChanged(int dpi, const RECT& suggested);

    bool PressButton(Button* button);
    bool DispatchDialogChar(Window& window, wchar_t ch);
    // Tab and Shift+Tab; false when the focused control takes Tab itself.
    bool TabKey(bool backward);
    // Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PageDown and Ctrl+PageUp; false for other keys.
    bool PageKey(WPARAM key);
    // The page control that holds the focus, else the form's first one (null if none).
    PageControl* KeyboardPageControl() const;
    void FocusFirstControl();

    HWND owner_;
    int modalResult_ = mrNone;
    bool showingModal_ = false;
    Button* defaultButton_ = nullptr;
    Button* cancelButton_ = nullptr;
    int dpi_ = 96;
    SIZE designClient_;
    LOGFONTW designFont_;
    unique_hfont font_;
    // The bounds each control was made with, at 96 dpi: scaling always starts from
    // them, so that going back and forth between DPIs never drifts.
    std::map<const Window*, RECT> designBounds_;
};

} // namespace gui
