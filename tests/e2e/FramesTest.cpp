#include "Input.h"
#include "KestravProcess.h"
#include "Screen.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace e2e;

namespace {

TEST(Frames, AddReorderAndCloseFramesByHand) {
    KestravProcess kestrav;
    HWND window = kestrav.Window();
    ASSERT_NE(window, nullptr);
    RECT strip = WindowBounds(window);

    // Open the strip, pin it and drag its title bar to the top edge.
    ASSERT_TRUE(ClickAt({strip.left + 1, strip.top + 400}));
    ASSERT_TRUE(WaitUntil("the clicked strip to open",
                          [&] { return WindowBounds(window).right - WindowBounds(window).left == 300; }));
    const POINT pin{strip.left + 12, strip.top + 36}; // the pinning button, second from the top
    HWND pinButton = nullptr;
    ASSERT_TRUE(WaitUntil("the pinning button laid out under " + PointText(pin), [&] {
        pinButton = ChildAt(window, pin);
        return ClassOf(pinButton) == L"GuiSpeedButton";
    }));
    const RECT pinBounds = WindowBounds(pinButton);
    std::vector<COLORREF> unpinned;
    ASSERT_TRUE(WaitUntil("the pinning button painted", [&] {
        unpinned = ScreenPixels(pinBounds);
        return std::any_of(unpinned.begin(), unpinned.end(),
                           [&](COLORREF c) { return c != unpinned.front(); });
    }));
    ASSERT_TRUE(ClickAt(pin));
    ASSERT_TRUE(WaitUntil("the pinning button to show the pinned glyph",
                          [&] { return ScreenPixels(pinBounds) != unpinned; }));
    ASSERT_TRUE(LayoutSettled(window));
    ASSERT_TRUE(DragTo({strip.left + 12, strip.top + 400}, {640, 5}));
    ASSERT_TRUE(WaitUntil("the window docked at the top",
                          [&] { return WindowBounds(window).bottom - WindowBounds(window).top == 225; }));
    RECT panel = WindowBounds(window);
    EXPECT_EQ(panel.top, strip.top);
    ASSERT_EQ(FramesOf(window).size(), 1u);

    // Two double clicks on the empty area right of the frames add two frames.
    for (size_t expected = 2; expected <= 3; ++expected) {
        // The frames take their row layout a moment after the window docked: the point
        // follows the last frame until the empty area shows there.
        ASSERT_TRUE(LayoutSettled(window));
        POINT at{};
        ASSERT_TRUE(WaitUntil(
            "the empty frame area right of the last frame",
            [&] {
                at = {WindowBounds(FramesOf(window).back()).right + 20, panel.top + 120};
                return ClassOf(ChildAt(window, at)) == L"GuiScrollBox";
            },
            5000, [&] { return "at " + PointText(at) + " it shows " + ClassAt(at); }));
        ASSERT_TRUE(ClickAt(at, 2));
        bool added = WaitFor([&] { return FramesOf(window).size() == expected; });
        wchar_t cls[64] = {};
        HWND under = WindowFromPoint(at);
        GetClassNameW(under, cls, 64);
        RECT now = WindowBounds(window);
        ASSERT_TRUE(added) << expected << " under " << testing::PrintToString(std::wstring(cls)) << " window "
                           << now.left << "," << now.top << "," << now.right << "," << now.bottom << " fg "
                           << (GetForegroundWindow() == window);
    }
    std::vector<HWND> before = FramesOf(window);

    // Drag the third frame's caption bar (on its left side) onto the first one.
    ASSERT_TRUE(LayoutSettled(window));
    RECT third = WindowBounds(before[2]), first = WindowBounds(before[0]);
    ASSERT_TRUE(DragTo({third.left + 12, third.top + 100}, {first.left + 12, first.top + 100}));
    ASSERT_TRUE(WaitUntil("the frames reordered, the third first", [&] {
        return FramesOf(window) == std::vector<HWND>{before[2], before[0], before[1]};
    }));

    // The close button sits at the top of the caption bar.
    ASSERT_TRUE(LayoutSettled(window));
    RECT closing = WindowBounds(before[0]);
    const POINT close{closing.left + 12, closing.top + 12};
    ASSERT_TRUE(WaitUntil("the close button of the moved frame under " + PointText(close), [&] {
        HWND button = ChildAt(window, close);
        return ClassOf(button) == L"GuiSpeedButton" && GetAncestor(button, GA_PARENT) != nullptr &&
               GetAncestor(GetAncestor(button, GA_PARENT), GA_PARENT) == before[0];
    }));
    ASSERT_TRUE(ClickAt(close));
    EXPECT_TRUE(WaitUntil("the frame closed", [&] {
        return FramesOf(window) == std::vector<HWND>{before[2], before[1]};
    }));
    // The frame's window goes with its object, a moment after it left the layout.
    EXPECT_TRUE(WaitUntil("the closed frame's window destroyed", [&] { return !IsWindow(before[0]); }));
    EXPECT_TRUE(MoveTo({900, 500}));
    EXPECT_EQ(kestrav.Close(), 0);
}

} // namespace
