#include "gui/Window.h"

#include "gui/Application.h"
#include "gui/Error.h"
#include "gui/Handles.h"

#include <windowsx.h>
#include <algorithm>
#include <map>

namespace gui {
namespace {

bool IsAncestorOrSelf(HWND ancestor, HWND window) {
    return window != nullptr && (window == ancestor || ::IsChild(ancestor, window));
}

// Our classes by name, with the window procedure of the platform class each is made
// from (null for classes of our own).
// Never destroyed: windows that outlive static destruction (the application's hidden
// window gets its last messages after main returns) still look their class up here.
std::map<std::wstring, WNDPROC>& RegisteredClasses() {
    static auto* classes = new std::map<std::wstring, WNDPROC>;
    return *classes;
}

// The object pointer sits in the last slot of the window's extra bytes: a class made
// from a platform class keeps that class's own bytes in front of it.
int ObjectSlot(HWND handle) {
    return static_cast<int>(::GetClassLongPtrW(handle, GCL_CBWNDEXTRA)) - static_cast<int>(sizeof(LONG_PTR));
}

} // namespace

Window::Window(Window* parent) : parent_(parent) {
    if (parent_ != nullptr)
        parent_->children_.push_back(this);
}

Window::~Window() {
    // Children are separate objects that may outlive this one only by mistake; unhook
    // them so they never reach a freed parent.
    for (Window* child : children_)
        child->parent_ = nullptr;
    DestroyHandle();
    if (parent_ != nullptr) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        parent_->Realign();
    }
}

Window* Window::FromHandle(HWND handle) {
    if (handle == nullptr || !::IsWindow(handle))
        return nullptr;
    wchar_t className[64];
    if (::GetClassNameW(handle, className, 64) == 0)
        return nullptr;
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    if (!::GetClassInfoExW(::GetModuleHandleW(nullptr), className, &info) ||
        info.lpfnWndProc != StaticWindowProc)
        return nullptr;
    return reinterpret_cast<Window*>(::GetWindowLongPtrW(handle, ObjectSlot(handle)));
}

WNDPROC Window::RegisterClassOnce(const CreateParams& params) {
    auto& registered = RegisteredClasses();
    if (auto it = registered.find(params.className); it != registered.end())
        return it->second;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    WNDPROC baseProc = nullptr;
    if (params.baseClass != nullptr) {
        if (!::GetClassInfoExW(nullptr, params.baseClass, &windowClass))
            throw HResultError(HRESULT_FROM_WIN32(::GetLastError()));
        baseProc = windowClass.lpfnWndProc;
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style &= ~CS_GLOBALCLASS;
        windowClass.cbWndExtra += sizeof(LONG_PTR);
    } else {
        windowClass.style = params.classStyle;
        windowClass.cbWndExtra = sizeof(LONG_PTR);
        windowClass.hCursor = params.cursor != nullptr ? params.cursor : ::LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hIcon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    }
    windowClass.lpfnWndProc = StaticWindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = params.className;
    if (::RegisterClassExW(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw HResultError(HRESULT_FROM_WIN32(::GetLastError()));
    registered.emplace(params.className, baseProc);
    return baseProc;
}

WNDPROC Window::BaseProcOf(HWND handle) {
    wchar_t className[64];
    if (::GetClassNameW(handle, className, 64) != 0) {
        auto& registered = RegisteredClasses();
        if (auto it = registered.find(className); it != registered.end() && it->second != nullptr)
            return it->second;
    }
    return ::DefWindowProcW;
}

void Window::CreateHandle(const CreateParams& params) {
    CHECK(handle_ == nullptr);
    spec_ = params;
    baseProc_ = RegisterClassOnce(params);
    DWORD style = params.style & ~WS_VISIBLE;
    HWND parentHandle = params.owner;
    if (parent_ != nullptr) {
        CHECK(parent_->handle_ != nullptr);
        parentHandle = parent_->handle_;
        style |= WS_CHILD;
    }
    HWND handle =
        ::CreateWindowExW(params.exStyle, params.className, text_.c_str(), style, bounds_.left, bounds_.top,
                          Width(), Height(), parentHandle, nullptr, ::GetModuleHandleW(nullptr), this);
    if (handle == nullptr)
        throw HResultError(HRESULT_FROM_WIN32(::GetLastError()));
    CHECK(handle_ == handle);
    if (font_ != nullptr)
        ::SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    HandleCreated();
    if (visible_)
        ::ShowWindow(handle_, parent_ != nullptr ? SW_SHOWNA : SW_SHOW);
}

void Window::RecreateHandle() {
    CreateParams params = spec_;
    DestroyHandle();
    CreateHandle(params);
}

void Window::DestroyHandle() {
    if (handle_ == nullptr)
        return;
    HWND handle = handle_;
    // Detach first, so that no message reaches a half-destroyed object; the object
    // still learns that its window goes.
    HandleDestroying();
    ::SetWindowLongPtrW(handle, ObjectSlot(handle), 0);
    handle_ = nullptr;
    ::DestroyWindow(handle);
}

LRESULT CALLBACK Window::StaticWindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        self = static_cast<Window*>(create->lpCreateParams);
        ::SetWindowLongPtrW(handle, ObjectSlot(handle), reinterpret_cast<LONG_PTR>(self));
        self->handle_ = handle;
    } else {
        self = reinterpret_cast<Window*>(::GetWindowLongPtrW(handle, ObjectSlot(handle)));
    }
    // A window whose object has let go still ends through its class's own procedure,
    // so that a platform control frees what it holds.
    if (self == nullptr)
        return ::CallWindowProcW(BaseProcOf(handle), handle, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(handle, ObjectSlot(handle), 0);
        LRESULT result = ::CallWindowProcW(self->baseProc_ != nullptr ? self->baseProc_ : ::DefWindowProcW,
                                           handle, message, wParam, lParam);
        // Destroyed from outside (with its parent, say): the object stays, without a window.
        if (self->handle_ == handle)
            self->handle_ = nullptr;
        return result;
    }
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        Application::Instance().HandleException();
        return 0;
    }
}

LRESULT Window::DefaultMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (baseProc_ != nullptr)
        return ::CallWindowProcW(baseProc_, handle_, message, wParam, lParam);
    return ::DefWindowProcW(handle_, message, wParam, lParam);
}

bool Window::Notified(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

bool Window::ReflectNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND from = nullptr;
    switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        from = reinterpret_cast<HWND>(lParam);
        break;
    case WM_NOTIFY:
        from = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
        break;
    case WM_DRAWITEM:
        from = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
        break;
    default:
        return false;
    }
    Window* control = FromHandle(from);
    return control != nullptr && control != this && control->Notified(message, wParam, lParam, result);
}

bool Window::Enabled() const {
    return handle_ == nullptr || ::IsWindowEnabled(handle_) != FALSE;
}

void Window::SetEnabled(bool enabled) {
    if (handle_ != nullptr)
        ::EnableWindow(handle_, enabled ? TRUE : FALSE);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (LRESULT result = 0; ReflectNotification(message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_ERASEBKGND:
        EraseBackground(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_PAINT:
        WMPaint();
        return 0;
    case WM_WINDOWPOSCHANGED:
        WMWindowPosChanged(*reinterpret_cast<const WINDOWPOS*>(lParam));
        break;
    case WM_SIZE:
        Realign();
        if (OnResize)
            OnResize();
        return 0;
    case CM_COLORCHANGED:
        ColorChanged();
        return 0;
    case WM_ACTIVATEAPP:
        if (parent_ == nullptr)
            Application::Instance().NotifyActivateApp(wParam != FALSE);
        break;
    case WM_KILLFOCUS:
        WMKillFocus(reinterpret_cast<HWND>(wParam));
        break;
    case WM_CAPTURECHANGED:
        pressed_ = false;
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
        return DispatchMouse(message, wParam, lParam);
    default:
        break;
    }
    return DefaultMessage(message, wParam, lParam);
}

void Window::WMPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(handle_, &ps);
    Paint(dc);
    ::EndPaint(handle_, &ps);
}

void Window::WMWindowPosChanged(const WINDOWPOS& pos) {
    // Windows shown or hidden through SetWindowPos get no WM_SHOWWINDOW.
    if ((pos.flags & SWP_SHOWWINDOW) != 0)
        visible_ = true;
    else if ((pos.flags & SWP_HIDEWINDOW) != 0)
        visible_ = false;
    BoundsChanged();
}

void Window::WMKillFocus(HWND to) {
    // Tell each of our ancestors that the focus leaves it, up to the one that still
    // holds the new focus.
    for (Window* w = this; w != nullptr; w = w->parent_) {
        if (w->handle_ != nullptr && IsAncestorOrSelf(w->handle_, to))
            break;
        if (w->OnExit)
            w->OnExit();
    }
}

LRESULT Window::DispatchMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        pressed_ = true;
        ::SetCapture(handle_);
        if (message == WM_LBUTTONDBLCLK && OnDblClick)
            OnDblClick();
        if (OnMouseDown)
            OnMouseDown(MouseButton::Left, wParam, pt);
        break;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (OnMouseDown)
            OnMouseDown(message == WM_RBUTTONDOWN ? MouseButton::Right : MouseButton::Middle, wParam, pt);
        break;
    case WM_LBUTTONUP: {
        bool wasPressed = pressed_;
        pressed_ = false;
        if (::GetCapture() == handle_)
            ::ReleaseCapture();
        if (OnMouseUp)
            OnMouseUp(MouseButton::Left, wParam, pt);
        RECT client = ClientRect();
        if (wasPressed && handle_ != nullptr && ::PtInRect(&client, pt) && OnClick)
            OnClick();
        break;
    }
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (OnMouseUp)
            OnMouseUp(message == WM_RBUTTONUP ? MouseButton::Right : MouseButton::Middle, wParam, pt);
        if (message == WM_RBUTTONUP)
            return DefaultMessage(message, wParam, lParam); // lets WM_CONTEXTMENU follow
        break;
    case WM_MOUSEMOVE:
        if (OnMouseMove)
            OnMouseMove(wParam, pt);
        break;
    default:
        break;
    }
    return 0;
}

void Window::BoundsChanged() {
    RECT r;
    ::GetWindowRect(handle_, &r);
    if (parent_ != nullptr || (::GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD) != 0)
        ::MapWindowPoints(HWND_DESKTOP, ::GetParent(handle_), reinterpret_cast<POINT*>(&r), 2);
    bounds_ = r;
}

void Window::SetBounds(const RECT& bounds) {
    SIZE size{bounds.right - bounds.left, bounds.bottom - bounds.top};
    bool resized = size.cx != explicit_.cx || size.cy != explicit_.cy;
    explicit_ = size;
    ApplyBounds(bounds);
    // An aligned child that changes its size moves its siblings.
    if (resized && parent_ != nullptr && align_ != alNone && align_ != alCustom)
        parent_->Realign();
}

void Window::ApplyBounds(const RECT& bounds) {
    if (bounds == bounds_ && handle_ != nullptr)
        return;
    bounds_ = bounds;
    if (handle_ != nullptr) {
        ::SetWindowPos(handle_, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                       bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
        // The window may have refused the change.
        BoundsChanged();
    }
}

RECT Window::ClientRect() const {
    RECT r{0, 0, 0, 0};
    if (handle_ != nullptr)
        ::GetClientRect(handle_, &r);
    else
        r = {0, 0, Width(), Height()};
    return r;
}

RECT Window::ScreenBounds() const {
    RECT r = bounds_;
    if (handle_ != nullptr)
        ::GetWindowRect(handle_, &r);
    return r;
}

void Window::SetAlign(TAlign align) {
    if (align_ == align)
        return;
    if ((IsHorizontalSide(align_) && IsVerticalSide(align)) ||
        (IsVerticalSide(align_) && IsHorizontalSide(align))) {
        std::swap(explicit_.cx, explicit_.cy);
        ApplyBounds(MakeRect(bounds_.left, bounds_.top, explicit_.cx, explicit_.cy));
    }
    align_ = align;
    if (parent_ != nullptr)
        parent_->Realign();
}

void Window::SetPadding(const Padding& padding) {
    if (padding_ == padding)
        return;
    padding_ = padding;
    Realign();
}

void Window::MoveChildTo(Window* child, size_t index) {
    auto it = std::find(children_.begin(), children_.end(), child);
    CHECK(it != children_.end());
    children_.erase(it);
    index = std::min(index, children_.size());
    children_.insert(children_.begin() + static_cast<std::ptrdiff_t>(index), child);
    Realign();
}

void Window::SetVisible(bool visible) {
    if (visible_ == visible)
        return;
    visible_ = visible;
    if (handle_ != nullptr)
        ::ShowWindow(handle_, visible ? (parent_ != nullptr ? SW_SHOWNA : SW_SHOW) : SW_HIDE);
    if (parent_ != nullptr && align_ != alNone)
        parent_->Realign();
}

void Window::SetColor(TColor color) {
    parentColor_ = false;
    if (color_ == color)
        return;
    color_ = color;
    if (handle_ != nullptr)
        ::SendMessageW(handle_, CM_COLORCHANGED, 0, 0);
    else
        ColorChanged();
}

void Window::SetParentColor(bool parentColor) {
    if (parentColor && parent_ != nullptr && parent_->color_ != color_) {
        SetColor(parent_->color_);
    }
    parentColor_ = parentColor;
}

void Window::ColorChanged() {
    Invalidate();
    for (Window* child : children_) {
        if (child->parentColor_) {
            child->SetColor(color_);
            child->parentColor_ = true;
        }
    }
}

void Window::SetFont(HFONT font) {
    font_ = font;
    if (handle_ != nullptr) {
        ::SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        Invalidate();
    }
}

void Window::SetText(const std::wstring& text) {
    if (text_ == text)
        return;
    text_ = text;
    if (handle_ != nullptr) {
        ::SetWindowTextW(handle_, text_.c_str());
        Invalidate();
    }
}

void Window::EnableAlign() {
    if (alignDisabled_ == 0 || --alignDisabled_ > 0 || !alignPending_)
        return;
    alignPending_ = false;
    Realign();
}

void Window::Realign() {
    if (realigning_ || handle_ == nullptr)
        return;
    if (alignDisabled_ > 0) {
        alignPending_ = true;
        return;
    }
    std::vector<AlignItem> items;
    std::vector<Window*> aligned;
    for (Window* child : children_) {
        if (child->align_ == alNone || child->align_ == alCustom)
            continue;
        RECT wanted =
            MakeRect(child->bounds_.left, child->bounds_.top, child->explicit_.cx, child->explicit_.cy);
        items.push_back({child->align_, wanted, child->visible_});
        aligned.push_back(child);
    }
    if (aligned.empty()) {
        Realigned();
        return;
    }
    realigning_ = true;
    std::vector<RECT> bounds = AlignLayout(AlignArea(), padding_, items);
    for (size_t i = 0; i < aligned.size(); ++i) {
        if (items[i].visible)
            aligned[i]->ApplyBounds(bounds[i]);
    }
    realigning_ = false;
    Realigned();
}

void Window::Invalidate() {
    if (handle_ != nullptr)
        ::InvalidateRect(handle_, nullptr, TRUE);
}

void Window::Update() {
    if (handle_ != nullptr)
        ::UpdateWindow(handle_);
}

void Window::SetFocus() {
    if (handle_ != nullptr)
        ::SetFocus(handle_);
}

bool Window::Focused() const {
    return handle_ != nullptr && ::GetFocus() == handle_;
}

bool Window::MouseCaptured() const {
    return handle_ != nullptr && ::GetCapture() == handle_;
}

void Window::EraseBackground(HDC dc) {
    RECT r = ClientRect();
    unique_hbrush brush(::CreateSolidBrush(ColorToRGB(color_)));
    ::FillRect(dc, &r, brush.get());
}

void Window::Paint(HDC) {}

} // namespace gui
