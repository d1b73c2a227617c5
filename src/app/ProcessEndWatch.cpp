#include "app/ProcessEndWatch.h"

namespace app {

bool ProcessEndWatch::Watch(HWND watched, HWND target, UINT message) {
    Stop();
    DWORD processId = 0;
    if (watched == nullptr || ::GetWindowThreadProcessId(watched, &processId) == 0 ||
        processId == ::GetCurrentProcessId())
        return false;
    process_.reset(::OpenProcess(SYNCHRONIZE, FALSE, processId));
    if (!process_)
        return false;
    notice_ = std::make_unique<Notice>(Notice{target, message, watched});
    if (!::RegisterWaitForSingleObject(&wait_, process_.get(), Ended, notice_.get(), INFINITE,
                                       WT_EXECUTEONLYONCE | WT_EXECUTEINWAITTHREAD)) {
        wait_ = nullptr;
        notice_.reset();
        process_.reset();
        return false;
    }
    return true;
}

void ProcessEndWatch::Stop() {
    if (wait_ != nullptr) {
        // Waits until a notice that is being posted right now is out, so the notice
        // can be freed safely.
        ::UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
        wait_ = nullptr;
    }
    notice_.reset();
    process_.reset();
}

void CALLBACK ProcessEndWatch::Ended(PVOID notice, BOOLEAN timedOut) {
    if (timedOut)
        return;
    const auto* n = static_cast<const Notice*>(notice);
    ::PostMessageW(n->target, n->message, 0, reinterpret_cast<LPARAM>(n->watched));
}

} // namespace app
