// The watch on the window in front. Wine 8 raises none of the window events the watch
// listens to, so the events are also given to it as the system's hooks would.
#include "app/FullScreenWatch.h"
#include "OtherProgram.h"
#include "support/Pump.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace app;
using app_test::NoticeCounter;
using app_test::OtherProgram;
using testing_support::PumpUntil;
using testing_support::PumpUntilIdle;

namespace {

TEST(FullScreenWatchTest, PostsOncePerBurstForEventsOfTheWindowInFrontAndNothingAfterStop) {
    NoticeCounter counter;
    FullScreenWatch watch;
    ASSERT_TRUE(watch.Start(counter.Window(), NoticeCounter::kNotice));
    OtherProgram other;
    ASSERT_NE(other.Window(), nullptr) << "notepad did not start";
    const HWND front = other.Window();
    SetForegroundWindow(front);
    if (!PumpUntil([&] { return counter.count != 0; }, 1000))
        std::printf("  the system raised no foreground event; the events are given by hand\n");
    watch.Noticed(EVENT_SYSTEM_FOREGROUND, front, OBJID_WINDOW, CHILDID_SELF);
    PumpUntilIdle();
    ASSERT_EQ(counter.count, 1) << "one notice for the burst, however many events came";

    const HWND elsewhere = counter.Window();
    struct Case {
        const char* what;
        DWORD event;
        HWND wnd;
        LONG object;
        bool notifies;
    } cases[] = {
        {"the window in front moved or resized", EVENT_OBJECT_LOCATIONCHANGE, front, OBJID_WINDOW, true},
        {"the window in front was hidden", EVENT_OBJECT_HIDE, front, OBJID_WINDOW, true},
        {"the window in front went", EVENT_OBJECT_DESTROY, front, OBJID_WINDOW, true},
        {"a window was minimised", EVENT_SYSTEM_MINIMIZESTART, elsewhere, OBJID_WINDOW, true},
        {"a window was restored", EVENT_SYSTEM_MINIMIZEEND, elsewhere, OBJID_WINDOW, true},
        {"another window came to the front", EVENT_SYSTEM_FOREGROUND, elsewhere, OBJID_WINDOW, true},
        {"another window of the program moved", EVENT_OBJECT_LOCATIONCHANGE, elsewhere, OBJID_WINDOW, false},
        {"the caret of the window in front moved", EVENT_OBJECT_LOCATIONCHANGE, front, OBJID_CARET, false},
        {"the pointer moved", EVENT_OBJECT_LOCATIONCHANGE, nullptr, OBJID_CURSOR, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // The window in front is the program's again before each case.
        watch.Noticed(EVENT_SYSTEM_FOREGROUND, front, OBJID_WINDOW, CHILDID_SELF);
        PumpUntilIdle();
        watch.Handled();
        int before = counter.count;
        watch.Noticed(c.event, c.wnd, c.object, CHILDID_SELF);
        watch.Noticed(c.event, c.wnd, c.object, CHILDID_SELF);
        PumpUntilIdle();
        EXPECT_EQ(counter.count - before, c.notifies ? 1 : 0);
    }

    watch.Stop();
    EXPECT_FALSE(watch.Watching());
    int before = counter.count;
    watch.Noticed(EVENT_SYSTEM_FOREGROUND, front, OBJID_WINDOW, CHILDID_SELF);
    ShowWindow(front, SW_MINIMIZE);
    EXPECT_FALSE(PumpUntil([&] { return counter.count != before; }, 300)) << "a notice after Stop";
}

} // namespace
