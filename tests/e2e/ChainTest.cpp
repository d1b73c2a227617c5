#include "Input.h"
#include "KestravProcess.h"
#include "Screen.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>

using namespace e2e;

namespace {

RECT Work() {
    RECT r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

// Waits until the window's bounds are these; reports the last bounds otherwise.
::testing::AssertionResult SettlesAt(HWND window, LONG left, LONG width) {
    RECT r{};
    return WaitUntil(
        "the window at left " + std::to_string(left) + " with width " + std::to_string(width) +
            " over the work area's height",
        [&] {
            r = WindowBounds(window);
            return r.left == left && r.right - r.left == width && r.top == Work().top &&
                   r.bottom == Work().bottom;
        },
        8000,
        [&] {
            return "its bounds are (" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
                   std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
        });
}

LONG Width(HWND window) {
    RECT r = WindowBounds(window);
    return r.right - r.left;
}

std::string ColourText(COLORREF c) {
    if (c == CLR_INVALID)
        return "nothing";
    return "RGB(" + std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," +
           std::to_string(GetBValue(c)) + ")";
}

COLORREF ShownColour(HWND window) {
    // The pixel of the window's own surface in its bottom-right corner (its padding).
    RECT r = WindowBounds(window);
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, r.right - 1, r.bottom - 1);
    ReleaseDC(nullptr, screen);
    return c;
}

class ChainTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(MoveTo({Work().right - 200, Work().top + 300})); }
    std::unique_ptr<KestravProcess> Start() {
        auto p = std::make_unique<KestravProcess>();
        EXPECT_NE(p->Window(), nullptr);
        return p;
    }
};

TEST_F(ChainTest, InstancesAtTheLeftEdgeStackExpandAndCloseUp) {
    auto a = Start();
    ASSERT_TRUE(SettlesAt(a->Window(), Work().left, 4));
    auto b = Start();
    ASSERT_TRUE(SettlesAt(b->Window(), Work().left + 4, 4));
    auto c = Start();
    ASSERT_TRUE(SettlesAt(c->Window(), Work().left + 8, 4));

    // A click on the first strip opens it; the others move out and come back.
    ASSERT_TRUE(ClickAt({Work().left + 1, Work().top + 400}));
    ASSERT_TRUE(SettlesAt(a->Window(), Work().left, 300));
    EXPECT_TRUE(SettlesAt(b->Window(), Work().left + 300, 4));
    EXPECT_TRUE(SettlesAt(c->Window(), Work().left + 304, 4));
    ASSERT_TRUE(MoveTo({Work().right - 200, Work().top + 300}));
    ASSERT_TRUE(SettlesAt(a->Window(), Work().left, 4));
    EXPECT_TRUE(SettlesAt(b->Window(), Work().left + 4, 4));
    EXPECT_TRUE(SettlesAt(c->Window(), Work().left + 8, 4));

    // Closing the middle one moves the third against the first.
    EXPECT_EQ(b->Close(), 0);
    EXPECT_TRUE(SettlesAt(c->Window(), Work().left + 4, 4));

    // Closing the first moves the last one to the edge.
    EXPECT_EQ(a->Close(), 0);
    EXPECT_TRUE(SettlesAt(c->Window(), Work().left, 4));
    EXPECT_EQ(c->Close(), 0);
}

TEST_F(ChainTest, NeighboursShadeTheirColoursAgainstEachOther) {
    // The test prefix has the button-face colour of Windows, (240, 240, 240).
    ASSERT_EQ(GetSysColor(COLOR_BTNFACE), RGB(240, 240, 240));
    auto a = Start();
    auto b = Start();
    auto c = Start();
    ASSERT_TRUE(SettlesAt(c->Window(), Work().left + 8, 4));
    // Opened one after another, each strip shows its own colour opaque.
    struct Case {
        KestravProcess& process;
        COLORREF colour;
    } cases[] = {{*a, RGB(240, 240, 240)}, {*b, RGB(160, 160, 160)}, {*c, RGB(240, 240, 240)}};
    for (const Case& k : cases) {
        RECT r = WindowBounds(k.process.Window());
        ASSERT_TRUE(ClickAt({r.left + 1, r.top + 400}));
        ASSERT_TRUE(WaitUntil("the clicked strip to open", [&] { return Width(k.process.Window()) == 300; }));
        COLORREF shown = CLR_INVALID;
        EXPECT_TRUE(WaitUntil(
            "the open strip to show its colour",
            [&] { return (shown = ShownColour(k.process.Window())) == k.colour; }, 3000,
            [&] { return "it shows " + ColourText(shown) + ", not " + ColourText(k.colour); }));
        ASSERT_TRUE(MoveTo({Work().right - 200, Work().top + 300}));
        ASSERT_TRUE(WaitUntil("the strip to close when the pointer left",
                              [&] { return Width(k.process.Window()) == 4; }));
        // The chain has moved back before the next strip is clicked.
        ASSERT_TRUE(SettlesAt(c->Window(), Work().left + 8, 4));
    }
}

// Whether the windows lie edge to edge from the work area's left edge as 4-pixel strips.
bool LieEdgeToEdge(const std::vector<HWND>& windows) {
    LONG left = Work().left;
    for (HWND w : windows) {
        RECT r = WindowBounds(w);
        if (r.left != left || r.right - r.left != 4 || r.top != Work().top || r.bottom != Work().bottom)
            return false;
        left = r.right;
    }
    return true;
}

// Rests the pointer on the strip until it opens, then moves away until it closes.
::testing::AssertionResult OpensOnHover(HWND window) {
    RECT r = WindowBounds(window);
    if (!MoveTo({r.left + 1, r.top + 400}))
        return ::testing::AssertionFailure() << "the pointer did not reach the strip at left " << r.left;
    bool opened =
        WaitFor([&] { return WindowBounds(window).right - WindowBounds(window).left == 300; }, 3000);
    if (!MoveTo({Work().right - 200, Work().top + 300}))
        return ::testing::AssertionFailure() << "the pointer did not leave the strip at left " << r.left;
    bool closed = WaitFor([&] { return WindowBounds(window).right - WindowBounds(window).left == 4; }, 3000);
    if (opened && closed)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "at left " << r.left << (opened ? " did not close" : " did not open");
}

TEST_F(ChainTest, AKilledWindowLeavesNoGapWithoutAnyPointerAction) {
    for (int killed = 0; killed < 3; ++killed) {
        SCOPED_TRACE(killed == 0 ? "first killed" : killed == 1 ? "middle killed" : "last killed");
        std::unique_ptr<KestravProcess> p[3] = {Start(), Start(), Start()};
        ASSERT_TRUE(SettlesAt(p[2]->Window(), Work().left + 8, 4));
        std::vector<HWND> remaining;
        for (int i = 0; i < 3; ++i) {
            if (i != killed)
                remaining.push_back(p[i]->Window());
        }
        // The pointer stays far away: nothing but the end of the process moves them.
        p[killed]->Kill();
        DWORD start = GetTickCount();
        bool closedUp = WaitFor([&] { return LieEdgeToEdge(remaining); }, 1000);
        DWORD took = GetTickCount() - start;
        EXPECT_TRUE(closedUp) << "strips at " << WindowBounds(remaining[0]).left << " and "
                              << WindowBounds(remaining[1]).left << " after " << took << " ms";
        std::printf("  chain closed up %lu ms after the %s window was killed\n", took,
                    killed == 0   ? "first"
                    : killed == 1 ? "middle"
                                  : "last");
        // Each opens on hover in its new slot; the chain is back in place before the next.
        for (HWND w : remaining) {
            EXPECT_TRUE(OpensOnHover(w));
            EXPECT_TRUE(WaitFor([&] { return LieEdgeToEdge(remaining); }, 3000));
        }
    }
}

} // namespace

namespace {

TEST_F(ChainTest, WindowsAtAnotherEdgeDoNotJoin) {
    auto a = Start();
    ASSERT_TRUE(SettlesAt(a->Window(), Work().left, 4));
    // Open the first window and drag its title bar into the right band.
    ASSERT_TRUE(ClickAt({Work().left + 1, Work().top + 400}));
    ASSERT_TRUE(WaitUntil("the clicked strip to open", [&] { return Width(a->Window()) == 300; }));
    const POINT title{Work().left + 12, Work().top + 400};
    ASSERT_TRUE(WaitUntil("the title bar under " + PointText(title),
                          [&] { return ChildAt(a->Window(), title) != nullptr; }));
    ASSERT_TRUE(DragTo(title, {Work().right - 5, Work().top + 400}));
    ASSERT_TRUE(WaitUntil("the window docked at the right edge",
                          [&] { return WindowBounds(a->Window()).right == Work().right; }));
    EXPECT_EQ(GetWindowLongPtrW(a->Window(), GWLP_USERDATA), 4); // the right edge, for other instances to see
    ASSERT_TRUE(MoveTo({Work().left + 600, Work().top + 300}));
    ASSERT_TRUE(
        WaitUntil("the strip to close when the pointer left", [&] { return Width(a->Window()) == 4; }));
    // A second instance docks at the left edge alone, against the work area's edge.
    auto b = Start();
    EXPECT_TRUE(SettlesAt(b->Window(), Work().left, 4));
    EXPECT_EQ(WindowBounds(a->Window()).left, Work().right - 4);
}

} // namespace
