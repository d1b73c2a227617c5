#include "support/Keyboard.h"

#include <iterator>
#include <vector>

namespace testing_support {
namespace {

// Keys of the extended block (arrows, Home, End, the page keys...), which the keyboard
// tells apart from the number pad's.
bool IsExtendedKey(WORD vk) {
    switch (vk) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_INSERT:
    case VK_DELETE:
        return true;
    default:
        return false;
    }
}

} // namespace

bool PressKeys(std::initializer_list<WORD> held, WORD key) {
    std::vector<INPUT> inputs;
    auto add = [&inputs](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
        inputs.push_back(input);
    };
    for (WORD vk : held)
        add(vk, false);
    add(key, false);
    add(key, true);
    for (auto it = std::rbegin(held); it != std::rend(held); ++it)
        add(*it, true);
    return ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

} // namespace testing_support
