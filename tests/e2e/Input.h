#pragma once
// Pointer input as a user gives it: SetCursorPos moves the pointer (under Wine also the
// X pointer), SendInput presses and releases the buttons where it is.
#include <windows.h>

namespace e2e {

inline void MoveTo(POINT p) { SetCursorPos(p.x, p.y); }

inline void ClickAt(POINT p) {
    MoveTo(p);
    Sleep(30);
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
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
