// The harness itself: an exception the application catches in a test program fails the
// running test with the exception's text, wherever the application caught it.
#include "gui/Application.h"
#include "gui/Timer.h"
#include "gui/Window.h"
#include "support/Pump.h"
#include "support/Reports.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace {

class ThrowingWindow : public gui::Window {
public:
    ThrowingWindow() : gui::Window(nullptr) {
        CreateParams params;
        params.className = L"ReportsTestWindow";
        params.style = WS_POPUP;
        CreateHandle(params);
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_APP)
            throw std::runtime_error("thrown in a window procedure");
        return Window::HandleMessage(message, wParam, lParam);
    }
};

TEST(Reports, ExceptionInAWindowProcedureFailsTheTestWithItsText) {
    ThrowingWindow window;
    ASSERT_NE(window.Handle(), nullptr);
    const DWORD start = ::GetTickCount();
    EXPECT_NONFATAL_FAILURE(::SendMessageW(window.Handle(), WM_APP, 0, 0), "thrown in a window procedure");
    // Posted, it is caught while the test pumps.
    EXPECT_NONFATAL_FAILURE(
        {
            ::PostMessageW(window.Handle(), WM_APP, 0, 0);
            testing_support::PumpUntilIdle();
        },
        "thrown in a window procedure");
    EXPECT_LT(::GetTickCount() - start, 2000u) << "a report must not wait for anyone";
}

TEST(Reports, ExceptionInATimerOrIdleHookFailsTheTest) {
    gui::Timer timer;
    timer.SetInterval(1);
    timer.OnTimer = [&] {
        timer.Stop();
        throw std::runtime_error("thrown in a timer");
    };
    EXPECT_NONFATAL_FAILURE(
        {
            timer.Start();
            testing_support::PumpUntil([] { return false; }, 300);
        },
        "thrown in a timer");

    gui::ApplicationEvents events;
    events.OnIdle = [] { throw std::runtime_error("thrown in an idle hook"); };
    EXPECT_NONFATAL_FAILURE(gui::Application::Instance().RaiseIdle(), "thrown in an idle hook");
}

TEST(Reports, ExpectedReportsAreCollectedInsteadOfFailing) {
    ThrowingWindow window;
    testing_support::ExpectedReports outer;
    {
        testing_support::ExpectedReports inner;
        ::SendMessageW(window.Handle(), WM_APP, 0, 0);
        EXPECT_EQ(inner.Messages(), std::vector<std::wstring>{L"thrown in a window procedure"});
    }
    EXPECT_TRUE(outer.Messages().empty()) << "the innermost scope collects";
    ::SendMessageW(window.Handle(), WM_APP, 0, 0);
    EXPECT_EQ(outer.Messages().size(), 1u);
}

} // namespace
