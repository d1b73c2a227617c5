#pragma once
// Creating the fonts the library's controls use.
#include "gui/Handles.h"

#include <string>

namespace gui {

// A font from a logical description; with escapement 900 the text runs upwards.
unique_hfont CreateFontFrom(LOGFONTW font, int escapement = 0);
// Tahoma 8 pt (height -11 at 96 dpi), the controls' standard font.
unique_hfont CreateDefaultFont(int weight = FW_NORMAL, int escapement = 0);
// The system's window-caption font, or nothing when the system does not tell it.
bool SystemCaptionFont(LOGFONTW& font);
// The system's status-bar and tooltip font, or nothing when the system does not tell it.
bool SystemStatusFont(LOGFONTW& font);
LOGFONTW DefaultLogFont(int weight = FW_NORMAL);

} // namespace gui
