#pragma once
// Alignment of child controls inside their container, and the pure layout over it.
#include <windows.h>
#include <cstdint>
#include <vector>

namespace gui {

// The library's alignment values; their ordinals are stored in data files.
enum TAlign : std::uint8_t { alNone = 0, alTop = 1, alBottom = 2, alLeft = 3, alRight = 4, alClient = 5, alCustom = 6 };

// The sides of a container: top and bottom run horizontally, left and right vertically.
// Every question of which way an alignment (or a docked edge) runs is answered here.
constexpr bool IsHorizontalSide(TAlign align) {
    return align == alTop || align == alBottom;
}
constexpr bool IsVerticalSide(TAlign align) {
    return align == alLeft || align == alRight;
}
constexpr bool IsSide(TAlign align) {
    return IsHorizontalSide(align) || IsVerticalSide(align);
}

struct Padding {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const Padding&) const = default;
};

// One child as the layout sees it: its alignment, its current bounds (which give the
// size it keeps across the aligned axis) and whether it takes part at all.
struct AlignItem {
    TAlign align = alNone;
    RECT bounds{};
    bool visible = true;
};

// Bounds of every item after aligning them in the client rectangle less padding:
// first all top items in insertion order from the top down, then bottom items from
// the bottom up, then left, right, and finally client items filling what is left.
// Items that are hidden, not aligned or custom keep their bounds.
std::vector<RECT> AlignLayout(const RECT& client, const Padding& padding, const std::vector<AlignItem>& items);

inline int Width(const RECT& r) { return r.right - r.left; }
inline int Height(const RECT& r) { return r.bottom - r.top; }
inline RECT MakeRect(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

} // namespace gui

// Rectangles compare by their four sides (found from any namespace, as RECT is global).
inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
