#include "app/DockGeometry.h"

#include "gui/Dpi.h"

#include <algorithm>

namespace app {
namespace {

// The value brought into [low, high]. When the range is empty (a window deeper than the
// work area) the bound on the window's edge side wins, as for a window alone.
LONG WithinFromLow(LONG value, LONG low, LONG high) {
    return std::max(low, std::min(value, high));
}
LONG WithinFromHigh(LONG value, LONG low, LONG high) {
    return std::min(high, std::max(value, low));
}

} // namespace

int DockDepth(TAlign edge, TLayout layout, const DockSizes& sizes) {
    if (layout == loCollapsed)
        return sizes.collapseSize;
    return gui::IsHorizontalSide(edge) ? sizes.expandHeight : sizes.expandWidth;
}

RECT DockSlot(TAlign edge, const RECT& workArea, const std::optional<RECT>& previous) {
    RECT w = workArea;
    if (previous) {
        switch (edge) {
        case gui::alTop:
            w.top = previous->bottom;
            break;
        case gui::alBottom:
            w.bottom = previous->top;
            break;
        case gui::alLeft:
            w.left = previous->right;
            break;
        case gui::alRight:
            w.right = previous->left;
            break;
        default:
            break;
        }
    }
    return w;
}

RECT CalcDockRect(TAlign edge, TLayout layout, const DockSizes& sizes, const RECT& workArea,
                  const std::optional<RECT>& previous, const RECT& current) {
    RECT w = DockSlot(edge, workArea, previous);
    int d = DockDepth(edge, layout, sizes);
    // However deep the chain before it, the window stays within the work area: a
    // window beyond it could not be seen (or would lie on another monitor), and a ring
    // of wrongly linked windows cannot push one another away for ever.
    switch (edge) {
    case gui::alTop:
        return gui::MakeRect(w.left, WithinFromLow(w.top, workArea.top, workArea.bottom - d), gui::Width(w),
                             d);
    case gui::alBottom:
        return gui::MakeRect(w.left, WithinFromHigh(w.bottom - d, workArea.top, workArea.bottom - d),
                             gui::Width(w), d);
    case gui::alLeft:
        return gui::MakeRect(WithinFromLow(w.left, workArea.left, workArea.right - d), w.top, d,
                             gui::Height(w));
    case gui::alRight:
        return gui::MakeRect(WithinFromHigh(w.right - d, workArea.left, workArea.right - d), w.top, d,
                             gui::Height(w));
    default:
        return current;
    }
}

RECT WithDepth(const RECT& bounds, TAlign edge, int depth) {
    RECT r = bounds;
    switch (edge) {
    case gui::alBottom:
        r.top = r.bottom - depth;
        break;
    case gui::alRight:
        r.left = r.right - depth;
        break;
    case gui::alTop:
        r.bottom = r.top + depth;
        break;
    case gui::alLeft:
        r.right = r.left + depth;
        break;
    default:
        break;
    }
    return r;
}

int HitPlaceAt(const RECT& bounds, int band, POINT p) {
    if (!Contains(bounds, p))
        return 0;
    RECT r{bounds.left + band, bounds.top + band, bounds.right - band, bounds.bottom - band};
    if (p.x < r.left)
        return HTLEFT;
    if (p.x > r.right)
        return HTRIGHT;
    if (p.y < r.top)
        return HTTOP;
    if (p.y > r.bottom)
        return HTBOTTOM;
    return HTCLIENT;
}

TAlign DragTargetEdge(const RECT& workArea, POINT cursor, int band) {
    RECT w{workArea.left + band, workArea.top + band, workArea.right - band, workArea.bottom - band};
    if (cursor.y < w.top)
        return gui::alTop;
    if (cursor.y > w.bottom)
        return gui::alBottom;
    if (cursor.x < w.left)
        return gui::alLeft;
    if (cursor.x > w.right)
        return gui::alRight;
    return gui::alNone;
}

bool IsChainHead(TAlign edge, const RECT& own, const RECT& other) {
    switch (edge) {
    case gui::alTop:
        return other.left == own.left && other.top == own.top && gui::Width(other) == gui::Width(own);
    case gui::alBottom:
        return other.right == own.right && other.bottom == own.bottom && gui::Width(other) == gui::Width(own);
    case gui::alLeft:
        return other.left == own.left && other.top == own.top && gui::Height(other) == gui::Height(own);
    case gui::alRight:
        return other.right == own.right && other.bottom == own.bottom &&
               gui::Height(other) == gui::Height(own);
    default:
        return false;
    }
}

TAlign FrameAlign(TAlign edge) {
    if (gui::IsHorizontalSide(edge))
        return gui::alLeft;
    if (gui::IsVerticalSide(edge))
        return gui::alTop;
    return gui::alNone;
}

int InnerSideHit(TAlign edge) {
    switch (edge) {
    case gui::alTop:
        return HTBOTTOM;
    case gui::alBottom:
        return HTTOP;
    case gui::alLeft:
        return HTRIGHT;
    case gui::alRight:
        return HTLEFT;
    default:
        return -1;
    }
}

gui::Padding EdgePadding(TAlign edge, int dpi) {
    int side = gui::ScaleForDpi(3, dpi);
    gui::Padding p{side, side, side, side};
    switch (edge) {
    case gui::alTop:
        p.top = 0;
        break;
    case gui::alBottom:
        p.bottom = 0;
        break;
    case gui::alLeft:
        p.left = 0;
        break;
    case gui::alRight:
        p.right = 0;
        break;
    default:
        break;
    }
    return p;
}

} // namespace app
