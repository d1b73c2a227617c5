#include "KestravProcess.h"

#include <optional>
#include <stdexcept>

#include "support/LinuxSide.h"
#include "support/TestFiles.h"

namespace e2e {

std::wstring KestravExe() {
    // The build path is UTF-8 on the Linux side and may hold any letter.
    const std::string unix = KESTRAV_EXE_UNIX;
    if (std::optional<std::wstring> dos = testing_support::DosPath(unix))
        return *dos;
    std::wstring path = L"Z:" + testing_support::FromUtf8(unix);
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    return testing_support::WaitFor(condition, timeoutMs);
}

std::vector<HWND> EdgeWindowsOf(DWORD processId) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{processId, {}};
    EnumWindows(
        [](HWND wnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD pid = 0;
            GetWindowThreadProcessId(wnd, &pid);
            wchar_t cls[64] = {}, text[64] = {};
            GetClassNameW(wnd, cls, 64);
            GetWindowTextW(wnd, text, 64);
            if (pid == s->pid && std::wstring(cls) == L"TMainForm" && std::wstring(text) == L"Kestrav")
                s->found.push_back(wnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RECT WindowBounds(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

KestravProcess::KestravProcess(const std::wstring& exe) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    std::wstring command = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info_))
        throw std::runtime_error("cannot start Kestrav.exe");
    // A program that ends before its window shows ends the wait too; the test then finds
    // no window.
    WaitFor(
        [this] {
            if (!Running())
                return true;
            std::vector<HWND> windows = EdgeWindowsOf(info_.dwProcessId);
            if (windows.empty() || !IsWindowVisible(windows.front()))
                return false;
            window_ = windows.front();
            return true;
        },
        15000);
}

KestravProcess::~KestravProcess() {
    if (Running())
        Kill();
    if (info_.hProcess != nullptr) {
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
}

bool KestravProcess::Running() const {
    return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

int KestravProcess::Close(DWORD timeoutMs) {
    if (window_ != nullptr)
        PostMessageW(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return static_cast<int>(code);
}

void KestravProcess::Kill() {
    TerminateProcess(info_.hProcess, 9);
    WaitForSingleObject(info_.hProcess, 5000);
}

} // namespace e2e
