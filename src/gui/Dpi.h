#pragma once
// Dots per inch: which DPI a window or monitor has, and the program's own sizes (given
// at 96 dpi) at another DPI. The window is per-monitor aware, so its chrome follows the
// DPI of the monitor it is on.
#include <windows.h>

namespace gui {

// The DPI every size in the code is given at.
constexpr int kDesignDpi = 96;

// The messages of a DPI change, which headers for older systems leave out.
constexpr UINT kWMDpiChanged = 0x02E0;       // WM_DPICHANGED: new DPI in wParam, RECT* in lParam
constexpr UINT kWMGetDpiScaledSize = 0x02E4; // WM_GETDPISCALEDSIZE: new DPI in wParam, SIZE* in lParam

// A DPI as the system may report it, made usable: zero or negative (a broken message,
// a missing entry point) gives 96, and the rest is kept within 48..1536 so that no
// size grows without bound.
int SaneDpi(int dpi);

// A length given at 96 dpi, at `dpi` (rounded to the nearest pixel).
int ScaleForDpi(int value, int dpi);

// The DPI of a window: that of its monitor for a per-monitor aware window. Where the
// newer entry points are missing it falls back to the monitor's and then to the
// screen's DPI.
int DpiOfWindow(HWND window);
// The DPI of a monitor, or the screen's where the system cannot tell per monitor.
int DpiOfMonitor(HMONITOR monitor);
// The DPI of the screen as a whole (the primary monitor's at start-up).
int SystemDpi();

// The edge of the square glyph bitmaps drawn for a DPI: 16, 20, 24 or 32, the largest
// that does not exceed 16 pixels scaled to the DPI (glyphs are shipped in these sizes
// so that none is stretched).
int GlyphSizeForDpi(int dpi);
// The glyph sizes that are shipped, smallest first.
constexpr int kGlyphSizes[] = {16, 20, 24, 32};
// The resource id of a glyph bitmap of a given size: the 16-pixel bitmap's id plus
// 1000 for each size step (20 px: +1000, 24 px: +2000, 32 px: +3000); a size that is
// not shipped gives the 16-pixel id.
int GlyphResourceId(int id16, int size);

} // namespace gui
