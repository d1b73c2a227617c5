#pragma once
// Dragging one of our controls onto another inside the program (not OLE): the drag
// begins once the pointer has moved `threshold` pixels (given at 96 dpi, so it grows with
// the DPI of the source's window) with the left button held;
// the window under the pointer is asked through OnDragOver and gets OnDragDrop.
#include <windows.h>

namespace gui {

class Window;

enum class DragOutcome { NotStarted, Dropped, Refused, Cancelled };

// Call from the source's left-button-down handler, with the pointer's screen position.
// Runs until the button is released or Escape is pressed; a release before the drag
// began reaches the source as usual, so a plain click stays a click.
DragOutcome BeginDrag(Window& source, POINT start, int threshold);

// The window of ours at a screen point that offers OnDragOver (the nearest ancestor
// of the window there), or null.
Window* DragTargetAt(POINT screen);

// Whether a move from start to point reaches the threshold on either axis.
bool PastDragThreshold(POINT start, POINT point, int threshold);

} // namespace gui
