#pragma once
// Learns as soon as the process behind another window ends, at no cost while it runs:
// the system waits on the process handle and, when it ends, a message is posted to a
// window of ours. The system's waiting thread only posts; it never touches our objects.
#include "gui/Handles.h"

#include <windows.h>

#include <memory>

namespace app {

class ProcessEndWatch {
public:
    ProcessEndWatch() = default;
    ProcessEndWatch(const ProcessEndWatch&) = delete;
    ProcessEndWatch& operator=(const ProcessEndWatch&) = delete;
    ~ProcessEndWatch() { Stop(); }

    // Watches the process of `watched` instead of any earlier one; when it ends,
    // `message` is posted to `target` with `watched` in lParam. Answers whether a
    // watch runs: a window of this very process, or a process that cannot be opened
    // (another integrity level), is not watched.
    bool Watch(HWND watched, HWND target, UINT message);
    // Ends the watch; once it returns no message of it can be posted any more.
    void Stop();
    bool Watching() const { return wait_ != nullptr; }

private:
    struct Notice {
        HWND target;
        UINT message;
        HWND watched;
    };
    static void CALLBACK Ended(PVOID notice, BOOLEAN timedOut);

    gui::unique_handle_null process_;
    HANDLE wait_ = nullptr;
    std::unique_ptr<Notice> notice_;
};

} // namespace app
