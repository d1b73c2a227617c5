#pragma once
// Full-screen programs: whether one lies in front on a monitor, and a watch that tells
// the edge window when the window in front changes, moves, is minimised or goes.
#include "app/Desktop.h"

#include <windows.h>

#include <optional>

namespace app {

// Whether the window in front is a full-screen program on the monitor with these
// bounds: shown, not minimised, not the desktop, not one of ours, not an ordinary
// maximised window, and covering the whole monitor.
bool IsFullScreenOn(const std::optional<FrontWindow>& front, const RECT& monitorBounds);

// Listens to the system's window events, without a timer: the foreground changing
// everywhere, and the foreground process's windows moving, hiding or going. Each burst
// of such events posts one message to the window given to Start; the next burst posts
// again once that message has been handled (Handled).
class FullScreenWatch {
public:
    FullScreenWatch() = default;
    FullScreenWatch(const FullScreenWatch&) = delete;
    FullScreenWatch& operator=(const FullScreenWatch&) = delete;
    ~FullScreenWatch();

    // Answers whether the system took the hooks; without them the caller's own checks
    // are all there is.
    bool Start(HWND notify, UINT message);
    void Stop();
    bool Watching() const { return foregroundHook_ != nullptr; }
    // The posted message arrived; later events post again.
    void Handled() { posted_ = false; }
    // An event of the system's hooks, as they report it.
    void Noticed(DWORD event, HWND wnd, LONG object, LONG child);

private:
    static void CALLBACK WinEventProc(HWINEVENTHOOK hook, DWORD event, HWND wnd, LONG object, LONG child,
                                      DWORD thread, DWORD time);
    // Moves the hooks on window changes to the process of the new window in front.
    void Follow(HWND front);
    void Unfollow();
    void Notify();

    HWND notify_ = nullptr;
    UINT message_ = 0;
    bool posted_ = false;
    HWND front_ = nullptr;
    DWORD frontProcess_ = 0;
    HWINEVENTHOOK foregroundHook_ = nullptr;
    HWINEVENTHOOK minimizeHook_ = nullptr;
    HWINEVENTHOOK goneHook_ = nullptr;
    HWINEVENTHOOK locationHook_ = nullptr;
};

} // namespace app
