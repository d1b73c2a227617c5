// The edge window with a full-screen program in front, and with monitors and work
// areas that change, on a fake desktop of two monitors.
#include "app/MainForm.h"
#include "TwoMonitorsDesktop.h"
#include "support/Pump.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace app;
using testing_support::PumpUntilIdle;

namespace {

using app_test::TwoMonitors;

class MainFormScreensTest : public ::testing::Test {
protected:
    // A form shown as the program shows it.
    std::unique_ptr<TMainForm> Start() {
        auto form = std::make_unique<TMainForm>(desktop);
        form->Show();
        PumpUntilIdle();
        return form;
    }
    // Docks the form at an edge of the monitor under the cursor, as a title-bar drag does.
    void DockAt(TMainForm& form, gui::TAlign edge, POINT cursor) {
        desktop.leftDown = true;
        desktop.cursor = cursor;
        form.SetSnapEdge(edge);
        desktop.leftDown = false;
        desktop.cursor = kAway;
        PumpUntilIdle();
    }
    // What the system sends every top-level window when monitors change.
    static void DisplayChanged(const std::vector<TMainForm*>& forms) {
        for (TMainForm* form : forms)
            SendMessageW(form->Handle(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 800));
        PumpUntilIdle();
    }
    static void WorkAreaChanged(const std::vector<TMainForm*>& forms) {
        for (TMainForm* form : forms)
            SendMessageW(form->Handle(), WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
        PumpUntilIdle();
    }
    static bool Shown(const TMainForm& form) { return IsWindowVisible(form.Handle()) != FALSE; }
    void TearDown() override { PumpUntilIdle(); }

    static constexpr POINT kOnRight{2000, 400};
    static constexpr POINT kAway{2000, 2000};
    TwoMonitors desktop;
};

FrontWindow Covering(RECT bounds) {
    FrontWindow w;
    w.bounds = bounds;
    return w;
}

TEST_F(MainFormScreensTest, StepsAsideOnlyForAFullScreenProgramInFrontOnItsMonitor) {
    auto form = Start();
    DockAt(*form, gui::alLeft, kOnRight); // the right monitor has a taskbar at its bottom
    const RECT docked = form->ScreenBounds();
    ASSERT_EQ(docked, gui::MakeRect(1280, 0, 4, 760));
    ASSERT_TRUE(Shown(*form));

    auto with = [](RECT bounds, auto change) {
        FrontWindow w = Covering(bounds);
        change(w);
        return std::optional<FrontWindow>(w);
    };
    auto plain = [](FrontWindow&) {};
    const RECT rightMonitor = TwoMonitors::kRightMonitor;
    struct Case {
        const char* what;
        std::optional<FrontWindow> front;
        bool recedes;
    } cases[] = {
        {"full screen on its monitor", with(rightMonitor, plain), true},
        {"full screen beyond its monitor's sides", with({1270, -10, 2570, 810}, plain), true},
        {"one window over both monitors", with({0, 0, 2560, 800}, plain), true},
        {"maximised without a title bar (a video player's full screen)",
         with(rightMonitor, [](FrontWindow& w) { w.maximizedWithCaption = false; }), true},
        {"full screen on the other monitor", with(TwoMonitors::kLeftMonitor, plain), false},
        {"a small window in front", with({1500, 100, 1900, 500}, plain), false},
        {"the work area only, taskbar visible", with(TwoMonitors::kRight, plain), false},
        {"maximised with its title bar, taskbar visible",
         with({1272, -8, 2568, 768}, [](FrontWindow& w) { w.maximizedWithCaption = true; }), false},
        {"maximised with its title bar over an auto-hidden taskbar",
         with({1272, -8, 2568, 808}, [](FrontWindow& w) { w.maximizedWithCaption = true; }), false},
        {"covering but minimised", with(rightMonitor, [](FrontWindow& w) { w.minimized = true; }), false},
        {"covering but not shown", with(rightMonitor, [](FrontWindow& w) { w.visible = false; }), false},
        {"one of our own windows", with(rightMonitor, [](FrontWindow& w) { w.own = true; }), false},
        {"the desktop window", with(rightMonitor, [](FrontWindow& w) { w.desktop = true; }), false},
        {"no window in front", std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        desktop.front = c.front;
        form->FullScreenWatchChange();
        PumpUntilIdle();
        EXPECT_EQ(!Shown(*form), c.recedes);
        EXPECT_EQ(form->Receded(), c.recedes);
        // The program leaves full screen: the strip is back as it was.
        desktop.front = Covering({1500, 100, 1900, 500});
        form->FullScreenWatchChange();
        PumpUntilIdle();
        EXPECT_TRUE(Shown(*form));
        EXPECT_EQ(form->ScreenBounds(), docked);
        EXPECT_EQ(form->Layout(), loCollapsed);
    }
}

TEST_F(MainFormScreensTest, ThePointerAtTheEdgeOpensNothingWhileAFullScreenProgramIsInFront) {
    auto form = Start();
    const RECT docked = form->ScreenBounds();
    ASSERT_EQ(docked, gui::MakeRect(0, 0, 4, 800));
    desktop.front = Covering(TwoMonitors::kLeftMonitor);
    // The timer's tick notices it by itself, without the system's window events.
    desktop.cursor = {1, 400};
    form->LayoutTimerExpanding();
    PumpUntilIdle();
    EXPECT_FALSE(Shown(*form));
    form->LayoutTimerExpanding();
    PumpUntilIdle();
    EXPECT_EQ(form->Layout(), loCollapsed);
    EXPECT_EQ(form->ScreenBounds(), docked);

    // Out of full screen, it is back translucent in its place, and the pointer opens it.
    desktop.front = Covering({100, 100, 500, 500});
    form->LayoutTimerExpanding();
    PumpUntilIdle();
    EXPECT_TRUE(Shown(*form));
    EXPECT_EQ(form->Layout(), loExpanded);
    EXPECT_EQ(form->Width(), 300);
}

TEST_F(MainFormScreensTest, AnOpenPanelClosesAndStepsAsideButAPinnedOneStays) {
    auto open = Start();
    open->FormClick();
    PumpUntilIdle();
    ASSERT_EQ(open->Layout(), loExpanded);
    desktop.front = Covering(TwoMonitors::kLeftMonitor);
    open->FullScreenWatchChange();
    PumpUntilIdle();
    EXPECT_EQ(open->Layout(), loCollapsed);
    EXPECT_FALSE(Shown(*open));
    desktop.front.reset();
    open->FullScreenWatchChange();
    PumpUntilIdle();
    EXPECT_TRUE(Shown(*open));
    EXPECT_EQ(open->ScreenBounds(), gui::MakeRect(0, 0, 4, 800));
    open.reset();
    PumpUntilIdle();

    auto pinned = Start();
    pinned->FormClick();
    pinned->PinningBtn().Click();
    PumpUntilIdle();
    ASSERT_EQ(pinned->Layout(), loPinned);
    desktop.front = Covering(TwoMonitors::kLeftMonitor);
    pinned->FullScreenWatchChange();
    pinned->LayoutTimerExpanding();
    PumpUntilIdle();
    EXPECT_TRUE(Shown(*pinned));
    EXPECT_EQ(pinned->Layout(), loPinned);
    EXPECT_EQ(pinned->Width(), 300);
}

TEST_F(MainFormScreensTest, AFullScreenProgramOnOneMonitorLeavesTheOtherMonitorsStripAlone) {
    auto left = Start();
    auto right = Start();
    DockAt(*right, gui::alLeft, kOnRight);
    ASSERT_EQ(right->ScreenBounds(), gui::MakeRect(1280, 0, 4, 760));
    desktop.front = Covering(TwoMonitors::kLeftMonitor);
    for (TMainForm* form : {left.get(), right.get()})
        form->FullScreenWatchChange();
    PumpUntilIdle();
    EXPECT_FALSE(Shown(*left));
    EXPECT_TRUE(Shown(*right));
}

TEST_F(MainFormScreensTest, ANoticeThatArrivesAfterTheWindowClosedDoesNotShowItAgain) {
    auto form = Start();
    desktop.front = Covering(TwoMonitors::kLeftMonitor);
    form->FullScreenWatchChange();
    PumpUntilIdle();
    ASSERT_FALSE(Shown(*form));
    form->Close(); // the window stays while the program ends
    desktop.front.reset();
    form->FullScreenWatchChange(); // posted before the window closed
    PumpUntilIdle();
    EXPECT_FALSE(Shown(*form));
}

// Two collapsed windows chained at an edge of the right monitor, which is then unplugged.
struct EdgeCase {
    gui::TAlign edge;
    RECT first, second;
};

TEST_F(MainFormScreensTest, AChainWhoseMonitorWentRedocksAtTheSameEdgeOfTheNearestAndStaysWhenItReturns) {
    const EdgeCase cases[] = {
        {gui::alTop, gui::MakeRect(0, 0, 1280, 4), gui::MakeRect(0, 4, 1280, 4)},
        {gui::alBottom, gui::MakeRect(0, 796, 1280, 4), gui::MakeRect(0, 792, 1280, 4)},
        {gui::alLeft, gui::MakeRect(0, 0, 4, 800), gui::MakeRect(4, 0, 4, 800)},
        {gui::alRight, gui::MakeRect(1276, 0, 4, 800), gui::MakeRect(1272, 0, 4, 800)},
    };
    for (const EdgeCase& c : cases) {
        SCOPED_TRACE("edge " + std::to_string(c.edge));
        desktop.rightPlugged = true;
        auto a = Start();
        DockAt(*a, c.edge, kOnRight);
        auto b = Start();
        DockAt(*b, c.edge, kOnRight);
        ASSERT_EQ(b->PrevWnd(), a->Handle());

        desktop.rightPlugged = false;
        DisplayChanged({a.get(), b.get()});
        EXPECT_EQ(a->ScreenBounds(), c.first);
        EXPECT_EQ(b->ScreenBounds(), c.second);
        EXPECT_EQ(b->PrevWnd(), a->Handle());
        EXPECT_EQ(a->NextWnd(), b->Handle());
        EXPECT_EQ(a->SnapEdge(), c.edge);

        // The monitor comes back: nothing jumps back to it.
        desktop.rightPlugged = true;
        DisplayChanged({a.get(), b.get()});
        EXPECT_EQ(a->ScreenBounds(), c.first);
        EXPECT_EQ(b->ScreenBounds(), c.second);
        b.reset();
        a.reset();
        PumpUntilIdle();
    }
}

TEST_F(MainFormScreensTest, AChainWhoseMonitorWentJoinsTheChainAtThatEdgeOfTheNearest) {
    auto c = Start(); // at the left edge of the left monitor, and stays there
    auto a = Start();
    DockAt(*a, gui::alLeft, kOnRight);
    auto b = Start();
    DockAt(*b, gui::alLeft, kOnRight);
    ASSERT_EQ(c->ScreenBounds(), gui::MakeRect(0, 0, 4, 800));
    ASSERT_EQ(a->ScreenBounds(), gui::MakeRect(1280, 0, 4, 760));
    ASSERT_EQ(b->ScreenBounds(), gui::MakeRect(1284, 0, 4, 760));

    // Every window hears of the change, in whatever order the system tells them.
    for (const std::vector<TMainForm*>& order : {std::vector<TMainForm*>{c.get(), a.get(), b.get()},
                                                 std::vector<TMainForm*>{b.get(), a.get(), c.get()}}) {
        SCOPED_TRACE(order.front() == c.get() ? "told from the left" : "told from the right");
        desktop.rightPlugged = false;
        DisplayChanged(order);
        EXPECT_EQ(c->ScreenBounds(), gui::MakeRect(0, 0, 4, 800));
        EXPECT_EQ(a->ScreenBounds(), gui::MakeRect(4, 0, 4, 800));
        EXPECT_EQ(b->ScreenBounds(), gui::MakeRect(8, 0, 4, 800));
        EXPECT_EQ(c->NextWnd(), a->Handle());
        EXPECT_EQ(a->PrevWnd(), c->Handle());
        EXPECT_EQ(a->NextWnd(), b->Handle());
        EXPECT_EQ(b->PrevWnd(), a->Handle());

        desktop.rightPlugged = true;
        DisplayChanged(order);
        EXPECT_EQ(c->ScreenBounds(), gui::MakeRect(0, 0, 4, 800));
        EXPECT_EQ(a->ScreenBounds(), gui::MakeRect(4, 0, 4, 800));
        EXPECT_EQ(b->ScreenBounds(), gui::MakeRect(8, 0, 4, 800));
        // The chain works on: opening the first pushes the others out.
        c->FormClick();
        PumpUntilIdle();
        EXPECT_EQ(a->ScreenBounds(), gui::MakeRect(300, 0, 4, 800));
        EXPECT_EQ(b->ScreenBounds(), gui::MakeRect(304, 0, 4, 800));
        c->AppMainEventsDeactivate();
        PumpUntilIdle();
        ASSERT_EQ(b->ScreenBounds(), gui::MakeRect(8, 0, 4, 800));
        if (order.front() == c.get()) {
            // Back to two chains for the second round.
            DockAt(*a, gui::alLeft, kOnRight);
            DockAt(*b, gui::alLeft, kOnRight);
            ASSERT_EQ(b->ScreenBounds(), gui::MakeRect(1284, 0, 4, 760));
            ASSERT_EQ(b->PrevWnd(), a->Handle());
            ASSERT_EQ(c->NextWnd(), c->Handle());
        }
    }
}

TEST_F(MainFormScreensTest, AWorkAreaThatChangesRedocksTheChain) {
    auto a = Start();
    auto b = Start();
    ASSERT_EQ(b->ScreenBounds(), gui::MakeRect(4, 0, 4, 800));
    struct Case {
        const char* what;
        RECT work;
        RECT first, second;
    } cases[] = {
        {"a taskbar appears at the left",
         {60, 0, 1280, 800},
         gui::MakeRect(60, 0, 4, 800),
         gui::MakeRect(64, 0, 4, 800)},
        {"it grows", {120, 0, 1280, 800}, gui::MakeRect(120, 0, 4, 800), gui::MakeRect(124, 0, 4, 800)},
        {"it moves to the top",
         {0, 40, 1280, 800},
         gui::MakeRect(0, 40, 4, 760),
         gui::MakeRect(4, 40, 4, 760)},
        {"it goes", TwoMonitors::kLeft, gui::MakeRect(0, 0, 4, 800), gui::MakeRect(4, 0, 4, 800)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        desktop.leftWork = c.work;
        WorkAreaChanged({b.get(), a.get()});
        EXPECT_EQ(a->ScreenBounds(), c.first);
        EXPECT_EQ(b->ScreenBounds(), c.second);
    }
    // A display change finds the work area changed as well.
    desktop.leftWork = {0, 0, 1280, 700};
    DisplayChanged({a.get(), b.get()});
    EXPECT_EQ(a->ScreenBounds(), gui::MakeRect(0, 0, 4, 700));
    EXPECT_EQ(b->ScreenBounds(), gui::MakeRect(4, 0, 4, 700));
}

} // namespace
