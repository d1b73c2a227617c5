#pragma once
// Pointer and keyboard input as a user gives it, each step waiting (bounded) until it has
// been taken: SetCursorPos moves the pointer (under Wine also the X pointer), SendInput
// presses and releases the buttons where it is. Each step answers an AssertionResult
// that says where it failed; check it with ASSERT_TRUE so that a click that misses
// fails there, not three steps later.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/Wait.h"

namespace e2e {

inline std::string PointText(POINT p) {
    char text[40] = {};
    std::snprintf(text, sizeof(text), "(%ld,%ld)", static_cast<long>(p.x), static_cast<long>(p.y));
    return text;
}

inline POINT PointerPos() {
    POINT p{};
    GetCursorPos(&p);
    return p;
}

// Moves the pointer and waits until the system has it there.
inline ::testing::AssertionResult MoveTo(POINT p) {
    SetCursorPos(p.x, p.y);
    return testing_support::WaitUntil(
        "the pointer to reach " + PointText(p),
        [p] {
            POINT now = PointerPos();
            return now.x == p.x && now.y == p.y;
        },
        2000, [] { return "it is at " + PointText(PointerPos()); });
}

// Button input at a screen point. The buttons carry the point as an absolute move, since
// Wine may deliver an injected button at the pointer's previous place otherwise.
inline INPUT AbsoluteMove(POINT p) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx =
        static_cast<LONG>((p.x * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy =
        static_cast<LONG>((p.y * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

inline INPUT Button(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

inline ::testing::AssertionResult Inject(INPUT* inputs, UINT count, const std::string& what) {
    if (SendInput(count, inputs, sizeof(INPUT)) == count)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the system refused " << what << ", error " << GetLastError();
}

// The thread of the window at a point, and the window that holds the pointer's capture
// in a thread: a window of ours captures the pointer on a press and lets it go on the
// release, so this shows whether a press or a release has been taken.
inline DWORD ThreadAt(POINT p) {
    HWND under = WindowFromPoint(p);
    return under != nullptr ? GetWindowThreadProcessId(under, nullptr) : 0;
}

inline HWND CaptureOf(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (thread == 0 || !GetGUIThreadInfo(thread, &info))
        return nullptr;
    return info.hwndCapture;
}

// Waits until the thread of a window has been through its message retrieval twice.
// Under Wine that retrieval first turns the X server's pending pointer events (which a
// pointer move makes) into input messages, so afterwards the move is in the thread's
// queue, before anything injected later: input given faster would arrive out of order.
inline ::testing::AssertionResult TookInput(HWND window, const std::string& what) {
    for (int round = 0; round < 2; ++round) {
        DWORD_PTR result = 0;
        if (window == nullptr ||
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 3000, &result) == 0)
            return ::testing::AssertionFailure() << "no window answered after " << what;
    }
    return ::testing::AssertionSuccess();
}

inline std::string ClassAt(POINT p) {
    wchar_t name[64] = {};
    HWND under = WindowFromPoint(p);
    if (under == nullptr || GetClassNameW(under, name, 64) == 0)
        return "no window";
    std::string text = "a window of class ";
    for (const wchar_t* c = name; *c != 0; ++c)
        text += *c < 128 ? static_cast<char>(*c) : '?';
    return text;
}

// Clicks (or double-clicks) at a point. What the click does is the caller's to await.
inline ::testing::AssertionResult ClickAt(POINT p, int clicks = 1) {
    if (::testing::AssertionResult moved = MoveTo(p); !moved)
        return moved;
    if (::testing::AssertionResult taken = TookInput(WindowFromPoint(p), "the move to " + PointText(p));
        !taken)
        return taken;
    INPUT inputs[5] = {AbsoluteMove(p)};
    UINT n = 1;
    for (int i = 0; i < clicks && n + 1 < 5; ++i) {
        inputs[n++] = Button(MOUSEEVENTF_LEFTDOWN);
        inputs[n++] = Button(MOUSEEVENTF_LEFTUP);
    }
    return Inject(inputs, n, "the click at " + PointText(p) + " on " + ClassAt(p));
}

// Presses the left button at a point and waits until the window there has taken the
// press.
inline ::testing::AssertionResult Press(POINT at) {
    const DWORD thread = ThreadAt(at);
    INPUT inputs[2] = {AbsoluteMove(at), Button(MOUSEEVENTF_LEFTDOWN)};
    const std::string what = "the press at " + PointText(at) + " on " + ClassAt(at);
    if (::testing::AssertionResult sent = Inject(inputs, 2, what); !sent)
        return sent;
    return testing_support::WaitUntil(
        what + " to be taken (the pointer captured)", [thread] { return CaptureOf(thread) != nullptr; },
        3000);
}

// Releases the left button at a point and waits until the thread that took the press
// (by default the one at the point) has let the capture go.
inline ::testing::AssertionResult Release(POINT at, DWORD pressedThread = 0) {
    const DWORD thread = pressedThread != 0 ? pressedThread : ThreadAt(at);
    INPUT inputs[2] = {AbsoluteMove(at), Button(MOUSEEVENTF_LEFTUP)};
    const std::string what = "the release at " + PointText(at);
    if (::testing::AssertionResult sent = Inject(inputs, 2, what); !sent)
        return sent;
    return testing_support::WaitUntil(what + " to be taken (the capture let go)",
                                      [thread] { return CaptureOf(thread) == nullptr; });
}

// Moves the held pointer in steps, as a hand would, each step taken before the next.
inline ::testing::AssertionResult DragTo(POINT from, POINT to) {
    if (::testing::AssertionResult step = MoveTo(from); !step)
        return step;
    if (::testing::AssertionResult step = TookInput(WindowFromPoint(from), "the move to " + PointText(from));
        !step)
        return step;
    const DWORD thread = ThreadAt(from);
    if (::testing::AssertionResult step = Press(from); !step)
        return step;
    const HWND capture = CaptureOf(thread);
    for (int i = 1; i <= 10; ++i) {
        POINT p{from.x + (to.x - from.x) * i / 10, from.y + (to.y - from.y) * i / 10};
        ::testing::AssertionResult step = MoveTo(p);
        if (step)
            step = TookInput(capture, "the drag's move to " + PointText(p));
        if (!step) {
            Release(PointerPos(), thread);
            return step << " (dragging from " << PointText(from) << ")";
        }
    }
    return Release(to, thread);
}

inline ::testing::AssertionResult PressAltF4() {
    INPUT inputs[4] = {};
    WORD keys[4] = {VK_MENU, VK_F4, VK_F4, VK_MENU};
    for (int i = 0; i < 4; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i];
        inputs[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    return Inject(inputs, 4, "Alt+F4");
}

} // namespace e2e
