#pragma once
// Keys as the keyboard gives them: injected input, which reaches the focused window
// through its thread's message loop with the key state (Ctrl, Shift, Alt) as a user's
// fingers would leave it.
#include <windows.h>

#include <initializer_list>

namespace testing_support {

// Presses the held keys in order, presses and releases key, releases the held ones.
// False when the system refused the input.
bool PressKeys(std::initializer_list<WORD> held, WORD key);
inline bool PressKey(WORD key) {
    return PressKeys({}, key);
}

} // namespace testing_support
