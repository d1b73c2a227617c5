#pragma once
// The system-wide hotkey that opens the panel. Its value is the word a hotkey field
// gives: the virtual key in the low byte, HOTKEYF_ modifier flags in the high byte;
// 0 is no hotkey.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>

namespace app {

// Ctrl+Shift+F11: Windows 10 and 11 reserve it for nothing, it is no AltGr combination
// (Ctrl+Alt) that types a character on some layouts, and programs seldom use it.
constexpr WORD kDefaultHotkey = MAKEWORD(VK_F11, HOTKEYF_CONTROL | HOTKEYF_SHIFT);

// The modifiers and key of a hotkey word as RegisterHotKey takes them.
struct HotkeyKeys {
    UINT modifiers; // MOD_ flags
    UINT key;       // virtual key
};
HotkeyKeys KeysOfHotkey(WORD hotkey);

// A stored value as a hotkey word: a value that is no hotkey word (outside 0..0xFFFF)
// gives the default; a word without a key (modifiers alone) is no hotkey; modifier
// bits a hotkey field never sets are dropped.
WORD HotkeyFromStored(int64_t stored);

// One registration of a hotkey for a window; gone with the object.
class GlobalHotkey {
public:
    GlobalHotkey() = default;
    GlobalHotkey(const GlobalHotkey&) = delete;
    GlobalHotkey& operator=(const GlobalHotkey&) = delete;
    ~GlobalHotkey() { Unregister(); }

    // Registers the hotkey for the window (replacing this object's earlier one); the
    // window then gets WM_HOTKEY with this id. 0 registers nothing. False when the
    // system refuses: another program (or another instance) has the keys.
    bool Register(HWND window, int id, WORD hotkey);
    void Unregister();
    bool Registered() const { return window_ != nullptr; }

private:
    HWND window_ = nullptr;
    int id_ = 0;
};

} // namespace app
