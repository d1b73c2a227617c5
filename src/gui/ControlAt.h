#pragma once
// The control of ours at a screen point, as the user sees it there.
#include <windows.h>

namespace gui {

class Window;

// The innermost visible, enabled window of ours inside root at a screen point: a
// button rather than the bar it sits on. A foreign window there (one a control hosts)
// stands for the nearest of ours around it. Null when the point is outside root.
Window* ControlAt(Window& root, POINT screen);

} // namespace gui
