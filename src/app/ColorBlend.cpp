#include "app/ColorBlend.h"

namespace app {
namespace {

bool Near(int x, int y) { return x - 32 <= y && y <= x + 32; }

int Shift(int base, int neighbour) {
    int y = (base + neighbour) % 256;
    if (Near(base, y))
        y = y < 128 ? y + 64 : y - 64;
    return y;
}

} // namespace

gui::TColor BlendedColor(gui::TColor base, gui::TColor neighbour) {
    if (neighbour == NoBlendColor)
        return base;
    COLORREF b = gui::ColorToRGB(base);
    COLORREF n = gui::ColorToRGB(neighbour);
    int r = GetRValue(b), g = GetGValue(b), bl = GetBValue(b);
    int nr = GetRValue(n), ng = GetGValue(n), nb = GetBValue(n);
    if (Near(r, nr) && Near(g, ng) && Near(bl, nb)) {
        r = Shift(r, nr);
        g = Shift(g, ng);
        bl = Shift(bl, nb);
    }
    return static_cast<gui::TColor>(r + 256 * g + 65536 * bl);
}

} // namespace app
