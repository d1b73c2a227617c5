#include "gui/ControlAt.h"

#include "gui/Window.h"

namespace gui {

Window* ControlAt(Window& root, POINT screen) {
    HWND handle = root.Handle();
    RECT bounds{};
    if (handle == nullptr || !::GetWindowRect(handle, &bounds) || !::PtInRect(&bounds, screen))
        return nullptr;
    for (;;) {
        POINT client = screen;
        ::ScreenToClient(handle, &client);
        HWND child = ::ChildWindowFromPointEx(handle, client, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
        if (child == nullptr || child == handle)
            break;
        handle = child;
    }
    for (; handle != nullptr; handle = ::GetParent(handle)) {
        if (Window* window = Window::FromHandle(handle))
            return window;
        if (handle == root.Handle())
            break;
    }
    return nullptr;
}

} // namespace gui
