// Edge windows of one process chained through real window messages, and the watch on
// another program's process.
#include "app/MainForm.h"
#include "TwoMonitorsDesktop.h"
#include "OtherProgram.h"
#include "app/ProcessEndWatch.h"
#include "support/Pump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace app;
using testing_support::PumpUntil;
using testing_support::PumpUntilIdle;

namespace {

using app_test::NoticeCounter;
using app_test::OtherProgram;
using app_test::TwoMonitors;

class MainFormChainTest : public ::testing::Test {
protected:
    std::unique_ptr<TMainForm> Start() {
        auto form = std::make_unique<TMainForm>(desktop);
        PumpUntilIdle();
        return form;
    }
    // The form, docked at the top edge of a monitor by a title-bar drag.
    void DragToTopOf(TMainForm& form, POINT cursor) {
        desktop.leftDown = true;
        desktop.cursor = cursor;
        form.SetSnapEdge(gui::alTop);
        desktop.leftDown = false;
        desktop.cursor = {2000, 2000};
        PumpUntilIdle();
    }
    void TearDown() override { PumpUntilIdle(); }
    TwoMonitors desktop;
};

TEST_F(MainFormChainTest, MovedToTheSameEdgeOfAnotherMonitorTheWindowJoinsTheChainThere) {
    const POINT leftMonitorsTop{640, 10}, rightMonitorsTop{2000, 10};
    auto a = Start();
    a->FormClick();
    a->PinningBtn().Click();
    DragToTopOf(*a, leftMonitorsTop);
    ASSERT_EQ(a->ScreenBounds(), gui::MakeRect(0, 0, 1280, 225));
    auto b = Start();
    DragToTopOf(*b, leftMonitorsTop);
    ASSERT_EQ(b->ScreenBounds(), gui::MakeRect(0, 225, 1280, 4));
    auto c = Start();
    DragToTopOf(*c, rightMonitorsTop);
    ASSERT_EQ(c->ScreenBounds(), gui::MakeRect(1280, 0, 1280, 4));

    // The second window goes to the top of the right monitor too: it lies against the
    // window there, not at the depth of its old neighbour on the other monitor.
    DragToTopOf(*b, rightMonitorsTop);
    EXPECT_EQ(b->ScreenBounds(), gui::MakeRect(1280, 4, 1280, 4));
    EXPECT_EQ(b->PrevWnd(), c->Handle());
    EXPECT_EQ(c->NextWnd(), b->Handle());
    EXPECT_EQ(a->NextWnd(), a->Handle());
}

TEST_F(MainFormChainTest, AClosingWindowLeavesAtOnceAndNeverTakesANewcomer) {
    auto a = Start();
    auto b = Start();
    ASSERT_EQ(b->PrevWnd(), a->Handle());
    b->Close(); // the window stays while the program ends, e.g. while settings are saved
    EXPECT_FALSE(IsWindowVisible(b->Handle()));
    EXPECT_EQ(GetWindowLongPtrW(b->Handle(), GWLP_USERDATA), 0);
    PumpUntilIdle();
    EXPECT_EQ(a->NextWnd(), a->Handle());

    // A newcomer joins the first window, never the closing one, even when a join
    // still reaches the closing window afterwards.
    auto c = Start();
    RECT closing = b->ScreenBounds();
    for (WPARAM code : {dcJoin, dcAccept, dcLinkNext, dcRedock, dcPrevLeft})
        PostMessageW(b->Handle(), WM_DOCKCHAIN, code, reinterpret_cast<LPARAM>(c->Handle()));
    PumpUntilIdle();
    EXPECT_EQ(c->PrevWnd(), a->Handle());
    EXPECT_EQ(a->NextWnd(), c->Handle());
    EXPECT_EQ(c->ScreenBounds(), gui::MakeRect(4, 0, 4, 800));
    EXPECT_EQ(b->PrevWnd(), b->Handle());
    EXPECT_EQ(b->NextWnd(), b->Handle());
    EXPECT_EQ(b->ScreenBounds(), closing);
}

TEST(ProcessEndWatchTest, PostsOnceWhenTheOtherProcessEndsAndNeverAfterStop) {
    NoticeCounter counter;
    {
        OtherProgram other;
        ASSERT_NE(other.Window(), nullptr) << "notepad did not start";
        ProcessEndWatch watch;
        ASSERT_TRUE(watch.Watch(other.Window(), counter.Window(), NoticeCounter::kNotice));
        EXPECT_FALSE(PumpUntil([&] { return counter.count != 0; }, 200)) << "notice while it still runs";
        other.End();
        EXPECT_TRUE(PumpUntil([&] { return counter.count != 0; }, 2000));
        EXPECT_EQ(counter.about, other.Window());
        PumpUntilIdle();
        EXPECT_EQ(counter.count, 1);
    }
    {
        OtherProgram other;
        ASSERT_NE(other.Window(), nullptr);
        ProcessEndWatch watch;
        ASSERT_TRUE(watch.Watch(other.Window(), counter.Window(), NoticeCounter::kNotice));
        watch.Stop();
        EXPECT_FALSE(watch.Watching());
        other.End();
        EXPECT_FALSE(PumpUntil([&] { return counter.count != 1; }, 300)) << "notice after Stop";
    }
    // Windows of this very process are not watched: the process cannot end before us.
    ProcessEndWatch own;
    EXPECT_FALSE(own.Watch(counter.Window(), counter.Window(), NoticeCounter::kNotice));
    EXPECT_FALSE(own.Watch(nullptr, counter.Window(), NoticeCounter::kNotice));
}

} // namespace
