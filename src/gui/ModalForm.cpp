#include "gui/ModalForm.h"

#include "gui/Application.h"
#include "gui/Button.h"
#include "gui/ComboBox.h"
#include "gui/Dpi.h"
#include "gui/Fonts.h"
#include "gui/PageControl.h"

#include <vector>

namespace gui {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

bool IsControlParent(HWND window) {
    return (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0;
}

// The controls Tab stops at, in the dialog manager's order: each window's children in
// z-order, control parents entered. Unlike the dialog manager, a control that is a tab
// stop and a control parent at once (the tabs of a page control, which hold the pages)
// is a stop of its own, before the controls inside it.
void CollectTabStops(HWND parent, std::vector<HWND>& stops) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child) || !::IsWindowEnabled(child))
            continue;
        if ((::GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) != 0)
            stops.push_back(child);
        if (IsControlParent(child))
            CollectTabStops(child, stops);
    }
}

std::vector<HWND> TabStops(HWND root) {
    std::vector<HWND> stops;
    if (root != nullptr)
        CollectTabStops(root, stops);
    return stops;
}

// The first control inside root that takes input itself (not a container of controls).
HWND FirstControlIn(HWND root) {
    std::vector<HWND> stops = TabStops(root);
    for (HWND stop : stops) {
        if (!IsControlParent(stop))
            return stop;
    }
    return stops.empty() ? nullptr : stops.front();
}

void CollectPageControls(Window& window, std::vector<PageControl*>& found) {
    for (Window* child : window.Children()) {
        if (auto* pages = dynamic_cast<PageControl*>(child); pages != nullptr && pages->Handle() != nullptr)
            found.push_back(pages);
        CollectPageControls(*child, found);
    }
}

} // namespace

void FocusDialogControl(HWND control) {
    if (control == nullptr)
        return;
    ::SetFocus(control);
    // The dialog manager selects an edit's text when Tab arrives there, but not when the
    // focus is set otherwise; selecting here makes every keyboard arrival alike.
    if (::GetFocus() == control && (::SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0)
        ::SendMessageW(control, EM_SETSEL, 0, -1);
}

ModalForm::ModalForm(HWND owner, const std::wstring& caption, int clientWidth, int clientHeight)
    : Window(nullptr), owner_(owner), designClient_{clientWidth, clientHeight},
      designFont_(DefaultLogFont()) {
    SetText(caption);
    SetClientSize(clientWidth, clientHeight);
    CreateParams params;
    params.className = L"GuiModalForm";
    params.style = kStyle;
    params.exStyle = kExStyle;
    params.owner = owner;
    CreateHandle(params);
    font_ = CreateFontFrom(designFont_);
}

void ModalForm::SetClientSize(int width, int height) {
    RECT frame{0, 0, width, height};
    ::AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    SetBounds(MakeRect(Left(), Top(), frame.right - frame.left, frame.bottom - frame.top));
}

void ModalForm::SetDialogFont(const LOGFONTW& font) {
    designFont_ = font;
    LOGFONTW scaled = font;
    scaled.lfHeight = ScaleForDpi(font.lfHeight, dpi_);
    scaled.lfWidth = ScaleForDpi(font.lfWidth, dpi_);
    unique_hfont made = CreateFontFrom(scaled);
    if (!made)
        return;
    // The controls take the new font before the old one goes.
    std::swap(font_, made);
    ApplyFont(*this);
}

void ModalForm::ApplyFont(Window& window) {
    window.SetFont(font_.get());
    for (Window* child : window.Children())
        ApplyFont(*child);
}

void ModalForm::CaptureDesignBounds(const Window& window) {
    for (const Window* child : window.Children()) {
        // A control seen for the first time was made at the DPI the form has now.
        if (designBounds_.find(child) == designBounds_.end()) {
            RECT now = child->Bounds();
            designBounds_[child] =
                RECT{::MulDiv(now.left, kDesignDpi, dpi_), ::MulDiv(now.top, kDesignDpi, dpi_),
                     ::MulDiv(now.right, kDesignDpi, dpi_), ::MulDiv(now.bottom, kDesignDpi, dpi_)};
        }
        CaptureDesignBounds(*child);
    }
}

void ModalForm::ScaleBounds(Window& window) {
    // Children first: a container resized afterwards places its pages itself.
    for (Window* child : window.Children()) {
        ScaleBounds(*child);
        const RECT& d = designBounds_[child];
        child->SetBounds(RECT{ScaleForDpi(d.left, dpi_), ScaleForDpi(d.top, dpi_), ScaleForDpi(d.right, dpi_),
                              ScaleForDpi(d.bottom, dpi_)});
    }
}

void ModalForm::SetDpi(int dpi) {
    dpi = SaneDpi(dpi);
    if (dpi == dpi_)
        return;
    CaptureDesignBounds(*this);
    dpi_ = dpi;
    // The font first: the tabs' height, for one, follows it.
    SetDialogFont(designFont_);
    ScaleBounds(*this);
    SetClientSize(ScaleForDpi(designClient_.cx, dpi), ScaleForDpi(designClient_.cy, dpi));
    DpiChanged(dpi);
    Invalidate();
}

void ModalForm::WMDpiChanged(int dpi, const RECT& suggested) {
    SetDpi(dpi);
    // The system's rectangle keeps the form where the user moved it; its size is ours.
    SetBounds(MakeRect(suggested.left, suggested.top, Width(), Height()));
}

int ModalForm::ShowModal() {
    if (showingModal_)
        return mrNone;
    modalResult_ = mrNone;
    if (OnShow)
        OnShow();
    // The form shows on its owner's monitor, at that monitor's DPI.
    SetDpi(DpiOfWindow(owner_ != nullptr ? owner_ : Handle()));
    RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    SetBounds(MakeRect((gui::Width(screen) - Width()) / 2, (gui::Height(screen) - Height()) / 2, Width(),
                       Height()));
    bool ownerWasEnabled = owner_ != nullptr && ::IsWindowEnabled(owner_);
    if (ownerWasEnabled)
        ::EnableWindow(owner_, FALSE);
    showingModal_ = true;
    Show();
    ::SetForegroundWindow(Handle());
    ::SetActiveWindow(Handle());
    if (!::IsChild(Handle(), ::GetFocus()))
        FocusFirstControl();

    Application& application = Application::Instance();
    while (modalResult_ == mrNone) {
        MSG msg;
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            application.RaiseIdle();
            if (modalResult_ == mrNone)
                ::WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            // The program ends: the outer loop sees the quit message again.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            modalResult_ = mrCancel;
            break;
        }
        bool used = false;
        try {
            // A button's handler runs here, outside any window procedure.
            used = PreTranslate(msg);
        } catch (...) {
            application.HandleException();
            used = true;
        }
        if (!used) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    // The owner comes back before the form hides, so that it gets the activation.
    if (ownerWasEnabled && ::IsWindow(owner_))
        ::EnableWindow(owner_, TRUE);
    Hide();
    showingModal_ = false;
    return modalResult_;
}

bool ModalForm::PressButton(Button* button) {
    if (button == nullptr || !button->Enabled())
        return true; // the key is used up all the same
    button->Click();
    return true;
}

bool ModalForm::DispatchDialogChar(Window& window, wchar_t ch) {
    for (Window* child : window.Children()) {
        if (child->Handle() == nullptr || !::IsWindowVisible(child->Handle()) || !child->Enabled())
            continue;
        if (child->DialogChar(ch) || DispatchDialogChar(*child, ch))
            return true;
    }
    return false;
}

void ModalForm::FocusFirstControl() {
    FocusDialogControl(FirstControlIn(Handle()));
}

PageControl* ModalForm::KeyboardPageControl() const {
    std::vector<PageControl*> found;
    CollectPageControls(const_cast<ModalForm&>(*this), found);
    HWND focus = ::GetFocus();
    for (PageControl* pages : found) {
        if (focus != nullptr && (focus == pages->Handle() || ::IsChild(pages->Handle(), focus)))
            return pages;
    }
    return found.empty() ? nullptr : found.front();
}

bool ModalForm::TabKey(bool backward) {
    HWND focus = ::GetFocus();
    if (focus != nullptr &&
        (::SendMessageW(focus, WM_GETDLGCODE, VK_TAB, 0) & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) != 0)
        return false;
    std::vector<HWND> stops = TabStops(Handle());
    if (stops.empty())
        return true;
    // The stop that holds the focus is the innermost one: in this order a control comes
    // after the container it lies in.
    int current = -1;
    for (size_t i = 0; i < stops.size(); ++i) {
        if (focus != nullptr && (stops[i] == focus || ::IsChild(stops[i], focus)))
            current = static_cast<int>(i);
    }
    int count = static_cast<int>(stops.size());
    int next = current < 0 ? (backward ? count - 1 : 0) : (current + (backward ? count - 1 : 1)) % count;
    FocusDialogControl(stops[static_cast<size_t>(next)]);
    // The keyboard is in use: focus rectangles show from now on.
    ::SendMessageW(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    return true;
}

bool ModalForm::PageKey(WPARAM key) {
    if (::GetKeyState(VK_CONTROL) >= 0 || ::GetKeyState(VK_MENU) < 0)
        return false;
    bool forward = true;
    if (key == VK_TAB)
        forward = ::GetKeyState(VK_SHIFT) >= 0;
    else if (key == VK_PRIOR)
        forward = false;
    else if (key != VK_NEXT)
        return false;
    PageControl* pages = KeyboardPageControl();
    if (pages == nullptr || pages->PageCount() == 0)
        return false;
    bool onTabs = ::GetFocus() == pages->Handle();
    pages->SelectNextPage(forward);
    // As in a property sheet: the tabs keep the focus, a control of the old page hands
    // it to the first control of the new one.
    if (!onTabs) {
        HWND first = FirstControlIn(pages->Page(pages->ActivePageIndex()).Handle());
        FocusDialogControl(first != nullptr ? first : pages->Handle());
    }
    ::SendMessageW(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    return true;
}

bool ModalForm::PreTranslate(const MSG& msg) {
    if (Handle() == nullptr || (msg.hwnd != Handle() && !::IsChild(Handle(), msg.hwnd)))
        return false;
    HWND focus = ::GetFocus();
    Window* focused = Window::FromHandle(focus);
    switch (msg.message) {
    case WM_KEYDOWN:
        if (PageKey(msg.wParam))
            return true;
        if (msg.wParam == VK_TAB && ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_MENU) >= 0)
            return TabKey(::GetKeyState(VK_SHIFT) < 0);
        if (msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE)
            break;
        // An open list takes Enter and Escape itself.
        if (auto* combo = dynamic_cast<ComboBox*>(focused); combo != nullptr && combo->DroppedDown())
            return false;
        if (msg.wParam == VK_ESCAPE)
            return PressButton(cancelButton_);
        if (auto* button = dynamic_cast<Button*>(focused))
            return PressButton(button);
        return PressButton(defaultButton_);
    case WM_SYSCHAR:
        return DispatchDialogChar(*this, static_cast<wchar_t>(msg.wParam));
    case WM_CHAR:
        // Where the focus takes no characters, a plain key works as an accelerator.
        if ((::SendMessageW(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) &
             (DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTALLKEYS)) == 0)
            return DispatchDialogChar(*this, static_cast<wchar_t>(msg.wParam));
        return false;
    default:
        break;
    }
    return ::IsDialogMessageW(Handle(), const_cast<MSG*>(&msg)) != FALSE;
}

LRESULT ModalForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        if (showingModal_) {
            if (OnClose)
                OnClose();
            modalResult_ = mrCancel;
        }
        return 0;
    case kWMDpiChanged:
        if (lParam != 0)
            WMDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_COMMAND:
        // The dialog manager's own IDOK and IDCANCEL; the buttons act through their clicks.
        if (lParam == 0 || Window::FromHandle(reinterpret_cast<HWND>(lParam)) == nullptr)
            return 0;
        break;
    default:
        break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

} // namespace gui
