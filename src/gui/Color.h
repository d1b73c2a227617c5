#pragma once
// The library's colour values: 0x00BBGGRR for a plain colour, or 0xFF0000nn for the
// system colour with index nn.
#include <windows.h>
#include <cstdint>

namespace gui {

using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clBtnFace = 0xFF000000u | COLOR_BTNFACE;
constexpr TColor clWindow = 0xFF000000u | COLOR_WINDOW;
constexpr TColor clNone = 0x1FFFFFFF;

constexpr bool IsSystemColor(TColor color) { return (color & 0xFF000000u) == 0xFF000000u; }

// The RGB value of a colour, system colours resolved through GetSysColor.
COLORREF ColorToRGB(TColor color);

// Whether the mean of the red, green and blue channels is below 128.
bool IsDarkColor(TColor color);

} // namespace gui
