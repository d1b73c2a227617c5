#include "app/GlobalHotkey.h"

namespace app {

HotkeyKeys KeysOfHotkey(WORD hotkey) {
    BYTE flags = HIBYTE(hotkey);
    UINT modifiers = 0;
    if ((flags & HOTKEYF_SHIFT) != 0)
        modifiers |= MOD_SHIFT;
    if ((flags & HOTKEYF_CONTROL) != 0)
        modifiers |= MOD_CONTROL;
    if ((flags & HOTKEYF_ALT) != 0)
        modifiers |= MOD_ALT;
    return {modifiers, LOBYTE(hotkey)};
}

WORD HotkeyFromStored(int64_t stored) {
    if (stored < 0 || stored > 0xFFFF)
        return kDefaultHotkey;
    auto hotkey = static_cast<WORD>(stored);
    if (LOBYTE(hotkey) == 0)
        return 0;
    constexpr BYTE known = HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT | HOTKEYF_EXT;
    return MAKEWORD(LOBYTE(hotkey), HIBYTE(hotkey) & known);
}

bool GlobalHotkey::Register(HWND window, int id, WORD hotkey) {
    Unregister();
    if (window == nullptr || LOBYTE(hotkey) == 0)
        return false;
    HotkeyKeys keys = KeysOfHotkey(hotkey);
    // A held key repeats; one press is one opening. Systems before Windows 7 know no
    // such flag and refuse it, so they are asked without it.
    constexpr UINT noRepeat = 0x4000; // MOD_NOREPEAT
    bool registered = ::RegisterHotKey(window, id, keys.modifiers | noRepeat, keys.key) != FALSE;
    if (!registered && ::GetLastError() != ERROR_HOTKEY_ALREADY_REGISTERED)
        registered = ::RegisterHotKey(window, id, keys.modifiers, keys.key) != FALSE;
    if (registered) {
        window_ = window;
        id_ = id;
    }
    return registered;
}

void GlobalHotkey::Unregister() {
    if (window_ == nullptr)
        return;
    ::UnregisterHotKey(window_, id_);
    window_ = nullptr;
}

} // namespace app
