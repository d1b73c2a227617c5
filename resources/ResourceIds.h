#pragma once
// Identifiers of Kestrav's resources; shared by the .rc file and the code.

// Icon.
#define IDI_KESTRAV 1

// Title-bar glyphs, in the order of the buttons' tags (0..5).
#define IDB_TITLE_OPTIONS 100
#define IDB_TITLE_NORMAL 101
#define IDB_TITLE_TOPMOST 102
#define IDB_TITLE_AUTOCOLLAPSE 103
#define IDB_TITLE_PINNED 104
#define IDB_TITLE_EXIT 105
#define IDB_TITLE_COUNT 6

// Caption-bar glyphs of a navigation frame, in the order of the buttons' tags (0..3).
#define IDB_CAPTION_BARS 110
#define IDB_CAPTION_MINUS 111
#define IDB_CAPTION_PLUS 112
#define IDB_CAPTION_CROSS 113
#define IDB_CAPTION_COUNT 4

// Each glyph also comes at 20, 24 and 32 pixels, under its id plus 1000, 2000 and 3000
// (gui::GlyphResourceId).

// Resource strings (65056..65071).
#define IDS_FRAME_EXPAND 65056
#define IDS_FRAME_COLLAPSE 65057
#define IDS_LINK_TARGET_NOT_FOUND 65058
#define IDS_LINK_TARGET_OUTSIDE_TREE 65059
#define IDS_LINK_TARGET_PARSE_FAILED 65060
