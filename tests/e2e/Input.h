#pragma once
// Pointer input as a user gives it: SetCursorPos moves the pointer (under Wine also the
// X pointer), SendInput presses and releases the buttons where it is.
#include <windows.h>

namespace e2e {

inline void MoveTo(POINT p) { SetCursorPos(p.x, p.y); }

// Button input at a screen point. SetCursorPos moves the pointer (also the X pointer
// under Wine); the buttons carry the same point as an absolute move, since Wine may
// deliver an injected button at the pointer's previous place otherwise.
inline INPUT AbsoluteMove(POINT p) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((p.x * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = static_cast<LONG>((p.y * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

inline INPUT Button(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

inline void ClickAt(POINT p, int clicks = 1) {
    MoveTo(p);
    Sleep(100);
    INPUT inputs[5] = {AbsoluteMove(p)};
    int n = 1;
    for (int i = 0; i < clicks && n + 1 < 5; ++i) {
        inputs[n++] = Button(MOUSEEVENTF_LEFTDOWN);
        inputs[n++] = Button(MOUSEEVENTF_LEFTUP);
    }
    SendInput(static_cast<UINT>(n), inputs, sizeof(INPUT));
}

inline void Press(POINT at) {
    INPUT inputs[2] = {AbsoluteMove(at), Button(MOUSEEVENTF_LEFTDOWN)};
    SendInput(2, inputs, sizeof(INPUT));
}

inline void Release(POINT at) {
    INPUT inputs[2] = {AbsoluteMove(at), Button(MOUSEEVENTF_LEFTUP)};
    SendInput(2, inputs, sizeof(INPUT));
}

// Moves the held pointer in steps, as a hand would.
inline void DragTo(POINT from, POINT to) {
    MoveTo(from);
    Sleep(100);
    Press(from);
    Sleep(50);
    for (int i = 1; i <= 10; ++i) {
        MoveTo({from.x + (to.x - from.x) * i / 10, from.y + (to.y - from.y) * i / 10});
        Sleep(20);
    }
    Sleep(50);
    Release(to);
    Sleep(100);
}

} // namespace e2e

namespace e2e {

inline void PressAltF4() {
    INPUT inputs[4] = {};
    WORD keys[4] = {VK_MENU, VK_F4, VK_F4, VK_MENU};
    for (int i = 0; i < 4; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i];
        inputs[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, inputs, sizeof(INPUT));
}

} // namespace e2e
