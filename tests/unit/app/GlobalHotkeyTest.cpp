#include "app/GlobalHotkey.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace app;

namespace {

TEST(GlobalHotkey, AHotkeyFieldsWordGivesTheModifiersAndKeyTheSystemTakes) {
    struct Case {
        WORD hotkey;
        UINT modifiers;
        UINT key;
    } cases[] = {
        {kDefaultHotkey, MOD_CONTROL | MOD_SHIFT, VK_F11},
        {MAKEWORD('K', HOTKEYF_ALT), MOD_ALT, 'K'},
        {MAKEWORD(VK_F9, HOTKEYF_SHIFT | HOTKEYF_ALT), MOD_SHIFT | MOD_ALT, VK_F9},
        // The extended-key flag tells which of two keys was pressed; the system's hotkey
        // takes the virtual key alone.
        {MAKEWORD(VK_HOME, HOTKEYF_CONTROL | HOTKEYF_EXT), MOD_CONTROL, VK_HOME},
        {MAKEWORD(VK_PAUSE, 0), 0, VK_PAUSE},
    };
    for (const Case& c : cases) {
        HotkeyKeys keys = KeysOfHotkey(c.hotkey);
        EXPECT_EQ(keys.modifiers, c.modifiers) << c.hotkey;
        EXPECT_EQ(keys.key, c.key) << c.hotkey;
    }
}

TEST(GlobalHotkey, TheDefaultIsCtrlShiftF11AndNoAltGrCombination) {
    EXPECT_EQ(kDefaultHotkey, 0x037A);
    EXPECT_NE(HIBYTE(kDefaultHotkey) & (HOTKEYF_CONTROL | HOTKEYF_ALT), HOTKEYF_CONTROL | HOTKEYF_ALT);
}

TEST(GlobalHotkey, AStoredValueIsTakenAsAHotkeyWordOrGivesTheDefault) {
    struct Case {
        int64_t stored;
        WORD hotkey;
    } cases[] = {
        {0, 0},           // no hotkey
        {0x037A, 0x037A}, // Ctrl+Shift+F11
        {0x0441, 0x0441}, // Alt+A
        {0x0300, 0},      // modifiers without a key
        {0x0F41, 0x0F41}, // every modifier a field sets
        {0xF141, 0x0141}, // bits no field sets are dropped
        {0xFFFF, 0x0FFF},
        {0x10000, kDefaultHotkey}, // no hotkey word
        {-1, kDefaultHotkey},
        {INT32_MIN, kDefaultHotkey},
        {INT32_MAX, kDefaultHotkey},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HotkeyFromStored(c.stored), c.hotkey) << c.stored;
}

} // namespace
