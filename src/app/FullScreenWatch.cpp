#include "app/FullScreenWatch.h"

#include <algorithm>
#include <vector>

namespace app {

bool IsFullScreenOn(const std::optional<FrontWindow>& front, const RECT& monitorBounds) {
    if (!front || !front->visible || front->minimized || front->own || front->desktop ||
        front->maximizedWithCaption)
        return false;
    const RECT& r = front->bounds;
    return r.left <= monitorBounds.left && r.top <= monitorBounds.top && r.right >= monitorBounds.right &&
           r.bottom >= monitorBounds.bottom && monitorBounds.right > monitorBounds.left &&
           monitorBounds.bottom > monitorBounds.top;
}

namespace {

// The watches of this thread; the hooks' callback finds its watch here. Out-of-context
// hooks call back on the thread that set them, so no lock is needed.
std::vector<FullScreenWatch*>& Watches() {
    static std::vector<FullScreenWatch*> watches;
    return watches;
}

HWINEVENTHOOK Hook(DWORD first, DWORD last, DWORD process, WINEVENTPROC proc) {
    return ::SetWinEventHook(first, last, nullptr, proc, process, 0,
                             WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
}

void Unhook(HWINEVENTHOOK& hook) {
    if (hook != nullptr)
        ::UnhookWinEvent(hook);
    hook = nullptr;
}

} // namespace

FullScreenWatch::~FullScreenWatch() {
    Stop();
}

bool FullScreenWatch::Start(HWND notify, UINT message) {
    Stop();
    notify_ = notify;
    message_ = message;
    posted_ = false;
    // The foreground and minimising change rarely, so they are heard everywhere; moves
    // are heard only from the process in front, so that other programs' busy windows
    // cost nothing.
    foregroundHook_ = Hook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, 0, WinEventProc);
    if (foregroundHook_ == nullptr)
        return false;
    minimizeHook_ = Hook(EVENT_SYSTEM_MINIMIZESTART, EVENT_SYSTEM_MINIMIZEEND, 0, WinEventProc);
    Watches().push_back(this);
    Follow(::GetForegroundWindow());
    return true;
}

void FullScreenWatch::Stop() {
    auto& watches = Watches();
    watches.erase(std::remove(watches.begin(), watches.end(), this), watches.end());
    Unfollow();
    Unhook(minimizeHook_);
    Unhook(foregroundHook_);
    notify_ = nullptr;
}

void FullScreenWatch::Follow(HWND front) {
    DWORD process = 0;
    if (front != nullptr)
        ::GetWindowThreadProcessId(front, &process);
    if (process != frontProcess_) {
        Unfollow();
        frontProcess_ = process;
        // The own process is skipped anyway, and 0 would mean every process.
        if (process != 0 && process != ::GetCurrentProcessId()) {
            goneHook_ = Hook(EVENT_OBJECT_DESTROY, EVENT_OBJECT_HIDE, process, WinEventProc);
            locationHook_ =
                Hook(EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE, process, WinEventProc);
        }
    }
    front_ = front;
}

void FullScreenWatch::Unfollow() {
    Unhook(locationHook_);
    Unhook(goneHook_);
    front_ = nullptr;
    frontProcess_ = 0;
}

void CALLBACK FullScreenWatch::WinEventProc(HWINEVENTHOOK hook, DWORD event, HWND wnd, LONG object,
                                            LONG child, DWORD, DWORD) {
    // Nothing here can throw but the vector's copy; a failure then only loses a notice.
    try {
        std::vector<FullScreenWatch*> watches = Watches();
        for (FullScreenWatch* watch : watches) {
            if (hook == watch->foregroundHook_ || hook == watch->minimizeHook_ || hook == watch->goneHook_ ||
                hook == watch->locationHook_)
                watch->Noticed(event, wnd, object, child);
        }
    } catch (...) {
    }
}

void FullScreenWatch::Noticed(DWORD event, HWND wnd, LONG object, LONG child) {
    if (event == EVENT_SYSTEM_FOREGROUND) {
        Follow(wnd);
        Notify();
        return;
    }
    // Only the windows themselves count, not their carets, scroll bars or cursors.
    if (object != OBJID_WINDOW || child != CHILDID_SELF)
        return;
    if (event == EVENT_SYSTEM_MINIMIZESTART || event == EVENT_SYSTEM_MINIMIZEEND || wnd == front_)
        Notify();
}

void FullScreenWatch::Notify() {
    if (posted_ || notify_ == nullptr)
        return;
    posted_ = ::PostMessageW(notify_, message_, 0, 0) != FALSE;
}

} // namespace app
