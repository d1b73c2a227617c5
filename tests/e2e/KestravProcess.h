#pragma once
// Starting Kestrav.exe processes and finding their edge windows from outside.
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

#include "support/Wait.h"

namespace e2e {

// The Windows path of the Kestrav.exe under test.
std::wstring KestravExe();

class KestravProcess {
public:
    // Starts a copy of the program (optionally under another file name, copied next to
    // the original) and waits until its edge window is there.
    explicit KestravProcess(const std::wstring& exe = KestravExe());
    KestravProcess(const KestravProcess&) = delete;
    KestravProcess& operator=(const KestravProcess&) = delete;
    ~KestravProcess();

    HWND Window() const { return window_; }
    DWORD ProcessId() const { return info_.dwProcessId; }
    bool Running() const;
    // Asks the window to close and waits for the process; the exit code, or -1 on timeout.
    int Close(DWORD timeoutMs = 10000);
    void Kill();

private:
    PROCESS_INFORMATION info_{};
    HWND window_ = nullptr;
};

// Every visible edge window ("TMainForm" / "Kestrav") of a process.
std::vector<HWND> EdgeWindowsOf(DWORD processId);
RECT WindowBounds(HWND window);
// Waits (polling) until the condition holds; answers it. WaitUntil says what was
// awaited when it fails: ASSERT_TRUE(WaitUntil("the panel open", [&] { ... })).
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 5000);
using testing_support::WaitUntil;

} // namespace e2e
