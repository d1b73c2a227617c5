#include "gui/Color.h"

namespace gui {

COLORREF ColorToRGB(TColor color) {
    if (IsSystemColor(color))
        return ::GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0x00FFFFFF;
}

bool IsDarkColor(TColor color) {
    COLORREF rgb = ColorToRGB(color);
    double sum = GetRValue(rgb) + GetGValue(rgb) + GetBValue(rgb);
    return sum / 3.0 < 128.0;
}

} // namespace gui
