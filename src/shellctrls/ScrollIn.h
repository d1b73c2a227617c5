#pragma once
// The auto-scroll step while something is dragged over the tree: where the pointer
// lies relative to the view's edges, and whether the view can still scroll that way.
#include <windows.h>

namespace shellctrls {

enum TDirectionTest : int { dtOuter, dtInner, dtLeft, dtRight, dtUp, dtDown };

// The zone of a point in client coordinates: dtOuter outside the client rectangle
// (left and top edges inside, right and bottom outside); otherwise the edge band of
// width range it lies in, horizontal bands first, or dtInner. A point exactly on the
// inner rectangle's edge is inner.
TDirectionTest ScrollZone(POINT client, const RECT& clientRect, int range) noexcept;

// Whether the view, with this scroll bar, can scroll one more line in the direction
// (dtLeft and dtUp towards the start, dtRight and dtDown towards the end).
bool CanScrollLine(TDirectionTest direction, const SCROLLINFO& info) noexcept;

} // namespace shellctrls
