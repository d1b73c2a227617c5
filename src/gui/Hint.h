#pragma once
// Hints: the tooltip shown when the pointer rests on a control.
#include <windows.h>
#include <string>

namespace gui {

class Window;

// Sets (or, with an empty text, removes) the hint of a control with a window.
void SetHint(const Window& control, const std::wstring& text);
// The hint text the tooltip holds for a control (empty when none).
std::wstring HintOf(const Window& control);
// The application's tooltip window (made on first use).
HWND HintWindow();
// Makes the hint text (the tooltip's font and its greatest width) fit a DPI: the
// system's status font at that DPI.
void SetHintDpi(int dpi);
// The font the tooltip was given for the last DPI (null until SetHintDpi).
HFONT HintFont();

} // namespace gui
