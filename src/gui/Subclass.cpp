#include "gui/Subclass.h"

#include "gui/Application.h"

#include <commctrl.h>

namespace gui {

bool Subclass::Attach(HWND target, Handler handler) {
    Detach();
    if (target == nullptr || !::IsWindow(target))
        return false;
    handler_ = std::move(handler);
    if (!::SetWindowSubclass(target, Procedure, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this)))
        return false;
    target_ = target;
    return true;
}

void Subclass::Detach() {
    if (target_ == nullptr)
        return;
    if (::IsWindow(target_))
        ::RemoveWindowSubclass(target_, Procedure, reinterpret_cast<UINT_PTR>(this));
    target_ = nullptr;
}

LRESULT Subclass::CallDefault(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefSubclassProc(target_, message, wParam, lParam);
}

LRESULT CALLBACK Subclass::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR data) {
    auto* self = reinterpret_cast<Subclass*>(data);
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(window, Procedure, id);
        self->target_ = nullptr;
        return ::DefSubclassProc(window, message, wParam, lParam);
    }
    if (!self->handler_)
        return ::DefSubclassProc(window, message, wParam, lParam);
    try {
        return self->handler_(message, wParam, lParam);
    } catch (...) {
        Application::Instance().HandleException();
        return ::DefSubclassProc(window, message, wParam, lParam);
    }
}

} // namespace gui
