#pragma once
// Subclassing a window that is not ours (a common control's inner window, say). The
// subclass removes itself when either side goes: when this object is destroyed, or
// when the target window is destroyed first.
#include <windows.h>
#include <functional>

namespace gui {

class Subclass {
public:
    // Handles a message of the target; call CallDefault for the target's own handling.
    using Handler = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)>;

    Subclass() = default;
    Subclass(const Subclass&) = delete;
    Subclass& operator=(const Subclass&) = delete;
    ~Subclass() { Detach(); }

    // Attaches to target (detaching from any earlier one); false when that fails.
    bool Attach(HWND target, Handler handler);
    void Detach();
    HWND Target() const { return target_; }
    LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR data);

    HWND target_ = nullptr;
    Handler handler_;
};

} // namespace gui
