#include "app/DockGeometry.h"

#include <gtest/gtest.h>

using namespace app;
using gui::MakeRect;

namespace {

// Two monitors side by side; the right one has a taskbar at its bottom.
const RECT kLeftMonitor{0, 0, 1280, 800};
const RECT kRightMonitor{1280, 0, 2560, 760};
// A monitor above another one, with a narrower work area.
const RECT kUpperMonitor{100, -600, 900, 0};

const DockSizes kSizes{4, 300, 225};

TEST(CalcDockRect, SpansTheEdgeAtTheLayoutsDepth) {
    const RECT current = MakeRect(5, 6, 7, 8);
    struct Case {
        TAlign edge;
        TLayout layout;
        RECT work;
        RECT expected;
    } cases[] = {
        {gui::alLeft, loCollapsed, kLeftMonitor, MakeRect(0, 0, 4, 800)},
        {gui::alLeft, loExpanded, kLeftMonitor, MakeRect(0, 0, 300, 800)},
        {gui::alLeft, loNone, kLeftMonitor, MakeRect(0, 0, 300, 800)},
        {gui::alRight, loCollapsed, kRightMonitor, MakeRect(2556, 0, 4, 760)},
        {gui::alRight, loPinned, kRightMonitor, MakeRect(2260, 0, 300, 760)},
        {gui::alTop, loCollapsed, kRightMonitor, MakeRect(1280, 0, 1280, 4)},
        {gui::alTop, loExpanded, kUpperMonitor, MakeRect(100, -600, 800, 225)},
        {gui::alBottom, loExpanded, kRightMonitor, MakeRect(1280, 535, 1280, 225)},
        {gui::alBottom, loCollapsed, kUpperMonitor, MakeRect(100, -4, 800, 4)},
        {gui::alNone, loExpanded, kLeftMonitor, current},
        {static_cast<TAlign>(5), loCollapsed, kLeftMonitor, current},
        {static_cast<TAlign>(6), loExpanded, kLeftMonitor, current},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CalcDockRect(c.edge, c.layout, kSizes, c.work, std::nullopt, current), c.expected)
            << "edge " << int(c.edge) << " layout " << int(c.layout);
}

TEST(CalcDockRect, LiesAgainstThePreviousWindowOfTheChain) {
    const RECT current{};
    struct Case {
        TAlign edge;
        RECT previous;
        RECT expected;
    } cases[] = {
        {gui::alLeft, MakeRect(0, 0, 300, 800), MakeRect(300, 0, 4, 800)},
        {gui::alRight, MakeRect(2556, 0, 4, 760), MakeRect(2552, 0, 4, 760)},
        {gui::alTop, MakeRect(1280, 0, 1280, 225), MakeRect(1280, 225, 1280, 4)},
        {gui::alBottom, MakeRect(1280, 535, 1280, 225), MakeRect(1280, 531, 1280, 4)},
    };
    for (const Case& c : cases) {
        RECT work = c.edge == gui::alLeft ? kLeftMonitor : kRightMonitor;
        EXPECT_EQ(CalcDockRect(c.edge, loCollapsed, kSizes, work, c.previous, current), c.expected)
            << int(c.edge);
    }
}

TEST(CalcDockRect, NeverLeavesTheWorkArea) {
    // A chain deeper than the work area piles up at its far side instead of running
    // off the monitor; a window deeper than the work area keeps its edge side.
    const RECT current{};
    const DockSizes deep{4, 5000, 5000};
    struct Case {
        TAlign edge;
        DockSizes sizes;
        TLayout layout;
        std::optional<RECT> previous;
        RECT expected;
    } cases[] = {
        {gui::alLeft, kSizes, loExpanded, MakeRect(1100, 0, 4, 800), MakeRect(980, 0, 300, 800)},
        {gui::alLeft, kSizes, loCollapsed, MakeRect(5000, 0, 4, 800), MakeRect(1276, 0, 4, 800)},
        {gui::alRight, kSizes, loCollapsed, MakeRect(-900, 0, 4, 760), MakeRect(1280, 0, 4, 760)},
        {gui::alTop, kSizes, loExpanded, MakeRect(1280, 0, 1280, 700), MakeRect(1280, 535, 1280, 225)},
        {gui::alBottom, kSizes, loCollapsed, MakeRect(1280, -50, 1280, 4), MakeRect(1280, 0, 1280, 4)},
        {gui::alLeft, deep, loExpanded, std::nullopt, MakeRect(0, 0, 5000, 800)},
        {gui::alRight, deep, loExpanded, std::nullopt, MakeRect(2560 - 5000, 0, 5000, 760)},
        {gui::alBottom, deep, loExpanded, std::nullopt, MakeRect(1280, 760 - 5000, 1280, 5000)},
    };
    for (const Case& c : cases) {
        RECT work = c.edge == gui::alLeft ? kLeftMonitor : kRightMonitor;
        EXPECT_EQ(CalcDockRect(c.edge, c.layout, c.sizes, work, c.previous, current), c.expected)
            << int(c.edge);
    }
}

TEST(WithDepth, KeepsTheSideOnTheEdge) {
    const RECT r = MakeRect(100, 200, 300, 400);
    EXPECT_EQ(WithDepth(r, gui::alLeft, 4), MakeRect(100, 200, 4, 400));
    EXPECT_EQ(WithDepth(r, gui::alTop, 4), MakeRect(100, 200, 300, 4));
    EXPECT_EQ(WithDepth(r, gui::alRight, 4), MakeRect(396, 200, 4, 400));
    EXPECT_EQ(WithDepth(r, gui::alBottom, 4), MakeRect(100, 596, 300, 4));
    EXPECT_EQ(WithDepth(r, gui::alNone, 4), r);
}

TEST(HitPlaceAt, GivesTheBandOfAPoint) {
    const RECT r = MakeRect(0, 0, 300, 800);
    struct Case {
        POINT p;
        int code;
    } cases[] = {
        {{-1, 10}, 0},          {{300, 10}, 0},       {{10, 800}, 0},         {{0, 400}, HTLEFT},
        {{3, 400}, HTLEFT},     {{4, 400}, HTCLIENT}, {{296, 400}, HTCLIENT}, {{297, 400}, HTRIGHT},
        {{299, 400}, HTRIGHT},  {{150, 0}, HTTOP},    {{150, 3}, HTTOP},      {{150, 797}, HTBOTTOM},
        {{150, 400}, HTCLIENT}, {{0, 0}, HTLEFT},     {{299, 799}, HTRIGHT},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HitPlaceAt(r, 4, c.p), c.code) << c.p.x << "," << c.p.y;
}

TEST(DragTargetEdge, UsesThe25PixelBandsWithCornersAtTopAndBottom) {
    struct Case {
        POINT p;
        TAlign edge;
    } cases[] = {
        {{640, 24}, gui::alTop},      {{640, 25}, gui::alNone},
        {{640, 776}, gui::alBottom},  {{640, 775}, gui::alNone},
        {{24, 400}, gui::alLeft},     {{1256, 400}, gui::alRight},
        {{5, 5}, gui::alTop},         {{1275, 795}, gui::alBottom},
        {{1300, 740}, gui::alBottom}, // the right monitor's work area ends at 760
    };
    for (const Case& c : cases) {
        RECT work = c.p.x >= 1280 ? kRightMonitor : kLeftMonitor;
        EXPECT_EQ(DragTargetEdge(work, c.p), c.edge) << c.p.x << "," << c.p.y;
    }
}

TEST(IsChainHead, ComparesTheOuterCornerAndTheLength) {
    const RECT own = MakeRect(0, 0, 4, 800);
    EXPECT_TRUE(IsChainHead(gui::alLeft, own, MakeRect(0, 0, 300, 800)));
    EXPECT_FALSE(IsChainHead(gui::alLeft, own, MakeRect(4, 0, 4, 800)));
    EXPECT_FALSE(IsChainHead(gui::alLeft, own, MakeRect(0, 0, 4, 760)));
    EXPECT_TRUE(IsChainHead(gui::alRight, MakeRect(2556, 0, 4, 760), MakeRect(2260, 0, 300, 760)));
    EXPECT_TRUE(IsChainHead(gui::alTop, MakeRect(0, 0, 1280, 4), MakeRect(0, 0, 1280, 225)));
    EXPECT_FALSE(IsChainHead(gui::alTop, MakeRect(0, 0, 1280, 4), MakeRect(0, 0, 1200, 4)));
    EXPECT_TRUE(IsChainHead(gui::alBottom, MakeRect(0, 796, 1280, 4), MakeRect(0, 575, 1280, 225)));
    EXPECT_FALSE(IsChainHead(gui::alNone, own, own));
}

TEST(EdgeKinds, SaySideAndRunOfEveryEdgeInOnePlace) {
    struct Case {
        TAlign edge;
        bool docks, horizontal;
        TAlign frames;
        int innerSide;
        int depth; // of an expanded window with width 300 and height 225
    } cases[] = {
        {gui::alNone, false, false, gui::alNone, -1, 300},
        {gui::alTop, true, true, gui::alLeft, HTBOTTOM, 225},
        {gui::alBottom, true, true, gui::alLeft, HTTOP, 225},
        {gui::alLeft, true, false, gui::alTop, HTRIGHT, 300},
        {gui::alRight, true, false, gui::alTop, HTLEFT, 300},
        {gui::alClient, false, false, gui::alNone, -1, 300},
        {gui::alCustom, false, false, gui::alNone, -1, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.edge));
        EXPECT_EQ(gui::IsSide(c.edge), c.docks);
        EXPECT_EQ(gui::IsHorizontalSide(c.edge), c.horizontal);
        EXPECT_EQ(gui::IsVerticalSide(c.edge), c.docks && !c.horizontal);
        EXPECT_EQ(FrameAlign(c.edge), c.frames);
        EXPECT_EQ(InnerSideHit(c.edge), c.innerSide);
        EXPECT_EQ(DockDepth(c.edge, loExpanded, {4, 300, 225}), c.depth);
    }
}

TEST(EdgePadding, IsZeroOnlyOnTheDockedSide) {
    EXPECT_EQ(EdgePadding(gui::alLeft), (gui::Padding{0, 3, 3, 3}));
    EXPECT_EQ(EdgePadding(gui::alTop), (gui::Padding{3, 0, 3, 3}));
    EXPECT_EQ(EdgePadding(gui::alRight), (gui::Padding{3, 3, 0, 3}));
    EXPECT_EQ(EdgePadding(gui::alBottom), (gui::Padding{3, 3, 3, 0}));
    EXPECT_EQ(EdgePadding(gui::alNone), (gui::Padding{3, 3, 3, 3}));
}

} // namespace
