#pragma once
// Where the edge window goes, as plain functions over rectangles.
#include "app/ChangeParts.h"
#include "gui/Align.h"

#include <optional>

namespace app {

using gui::TAlign;

struct DockSizes {
    int collapseSize = 4;
    int expandWidth = 300;
    int expandHeight = 225;
};

// The window's depth (its extent across the edge) for a layout at an edge.
int DockDepth(TAlign edge, TLayout layout, const DockSizes& sizes);

// The slot of a window: the work area less the previous window of its chain on the
// edge's side.
RECT DockSlot(TAlign edge, const RECT& workArea, const std::optional<RECT>& previous);

// The bounds on an edge of the work area, after the previous window of the chain.
// Edges that do not dock give the current bounds.
RECT CalcDockRect(TAlign edge, TLayout layout, const DockSizes& sizes, const RECT& workArea,
                  const std::optional<RECT>& previous, const RECT& current);

// Bounds with a new depth, the side on the edge kept where it is.
RECT WithDepth(const RECT& bounds, TAlign edge, int depth);

// The hit-test band code of a screen point: 0 outside the bounds, HTLEFT, HTRIGHT,
// HTTOP or HTBOTTOM within `band` pixels of a side, HTCLIENT inside.
int HitPlaceAt(const RECT& bounds, int band, POINT point);

// The edge whose band of the work area (25 pixels at 96 dpi; the caller scales it) the
// point lies in while the title bar is dragged (top and bottom win at the corners), or alNone.
TAlign DragTargetEdge(const RECT& workArea, POINT cursor, int band = 25);

// Whether a rectangle of another window marks the first window of a chain at this edge
// of a window with the given bounds: the slot's outer corner and the length must agree.
bool IsChainHead(TAlign edge, const RECT& own, const RECT& other);

// The window docks at the four sides of a work area (gui::IsSide). The alignment of its
// frames at an edge: on a horizontal edge they lie side by side in a row (alLeft), on a
// vertical one in a column (alTop); alNone for an edge that does not dock.
TAlign FrameAlign(TAlign edge);

// The hit-test code of the window's inner side at an edge, the side it is resized
// by: HTBOTTOM at the top edge, HTLEFT at the right one; -1 for an edge that does not dock.
int InnerSideHit(TAlign edge);

// The padding of the edge window: 0 on the docked side, 3 pixels (at 96 dpi) elsewhere.
gui::Padding EdgePadding(TAlign edge, int dpi = 96);

// Whether the pointer lies in the bounds, left and top inclusive.
inline bool Contains(const RECT& bounds, POINT p) {
    return p.x >= bounds.left && p.x < bounds.right && p.y >= bounds.top && p.y < bounds.bottom;
}

} // namespace app
