#include "support/Pump.h"

#include "gui/Application.h"

namespace testing_support {

void PumpUntilIdle(DWORD limitMs) {
    DWORD start = ::GetTickCount();
    MSG msg;
    while (::GetTickCount() - start < limitMs) {
        bool any = false;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            if (msg.message == WM_QUIT)
                continue; // tests end programs' loops themselves
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (!any)
            break;
    }
    gui::Application::Instance().RaiseIdle();
}

bool PumpUntil(const std::function<bool()>& condition, DWORD limitMs) {
    DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start >= limitMs)
            return false;
        PumpUntilIdle(50);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

} // namespace testing_support
