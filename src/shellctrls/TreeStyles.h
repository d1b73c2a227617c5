#pragma once
// The tree's display styles as two sets, and their mapping to the Shell's NSTCS and
// NSTCS2 flag words. The set value (bit n for ordinal n) is what the data file
// stores; the flag word is what the Shell's tree receives. The two differ: the
// ordinals skip the flags 0x00000100 and 0x00040000, which have no member.
#include "shellctrls/EnumSet.h"

#include <windows.h>
#include <shobjidl.h>

#include <cstdint>

namespace shellctrls {

// The ordinals are stored in data files: never reorder or remove a member.
enum TNamespaceTreeControlStyle : std::uint8_t {
    nstcsHasExpandos,         // 0  NSTCS_HASEXPANDOS
    nstcsHasLines,            // 1  NSTCS_HASLINES
    nstcsSingleClickExpand,   // 2  NSTCS_SINGLECLICKEXPAND
    nstcsFullRowSelect,       // 3  NSTCS_FULLROWSELECT
    nstcsSpringExpand,        // 4  NSTCS_SPRINGEXPAND
    nstcsHorizontalScroll,    // 5  NSTCS_HORIZONTALSCROLL
    nstcsRootHasExpando,      // 6  NSTCS_ROOTHASEXPANDO
    nstcsShowSelectionAlways, // 7  NSTCS_SHOWSELECTIONALWAYS
    nstcsNoInfoTip,           // 8  NSTCS_NOINFOTIP
    nstcsEvenHeight,          // 9  NSTCS_EVENHEIGHT
    nstcsNoReplaceOpen,       // 10 NSTCS_NOREPLACEOPEN
    nstcsDisableDragDrop,     // 11 NSTCS_DISABLEDRAGDROP
    nstcsNoOrderStream,       // 12 NSTCS_NOORDERSTREAM
    nstcsRichToolTip,         // 13 NSTCS_RICHTOOLTIP
    nstcsBorder,              // 14 NSTCS_BORDER
    nstcsNoEditLabels,        // 15 NSTCS_NOEDITLABELS
    nstcsTabStop,             // 16 NSTCS_TABSTOP
    nstcsFavoritesMode,       // 17 NSTCS_FAVORITESMODE
    nstcsAutoHScroll,         // 18 NSTCS_AUTOHSCROLL
    nstcsFadeInOutExpandos,   // 19 NSTCS_FADEINOUTEXPANDOS
    nstcsEmptyText,           // 20 NSTCS_EMPTYTEXT
    nstcsCheckBoxes,          // 21 NSTCS_CHECKBOXES
    nstcsPartialCheckBoxes,   // 22 NSTCS_PARTIALCHECKBOXES
    nstcsExclusionCheckBoxes, // 23 NSTCS_EXCLUSIONCHECKBOXES
    nstcsDimmedCheckBoxes,    // 24 NSTCS_DIMMEDCHECKBOXES
    nstcsNoIndentChecks,      // 25 NSTCS_NOINDENTCHECKS
    nstcsAllowJunctions,      // 26 NSTCS_ALLOWJUNCTIONS
    nstcsShowTabsButton,      // 27 NSTCS_SHOWTABSBUTTON
    nstcsShowDeleteButton,    // 28 NSTCS_SHOWDELETEBUTTON
    nstcsShowRefreshButton,   // 29 NSTCS_SHOWREFRESHBUTTON
};
inline constexpr int kTreeStyleCount = 30;

// Held in 32 bits, as the data file stores it.
using TNamespaceTreeControlStyles = EnumSet<TNamespaceTreeControlStyle, std::uint32_t, kTreeStyleCount>;

enum TNamespaceTreeControlStyle2 : std::uint8_t {
    nstcs2InterruptNotifications,   // 0 NSTCS2_INTERRUPTNOTIFICATIONS
    nstcs2ShowNullSpaceMenu,        // 1 NSTCS2_SHOWNULLSPACEMENU
    nstcs2DisplayPadding,           // 2 NSTCS2_DISPLAYPADDING
    nstcs2DisplayPinnedOnly,        // 3 NSTCS2_DISPLAYPINNEDONLY
    nstcs2NoSingletonAutoExpand,    // 4 NSTCS2_NOSINGLETONAUTOEXPAND
    nstcs2NeverInsertNonEnumerated, // 5 NSTCS2_NEVERINSERTNONENUMERATED
};
inline constexpr int kTreeStyle2Count = 6;

// Held in 8 bits; member n is the NSTCS2 flag 1 << n.
using TNamespaceTreeControlStyle2s = EnumSet<TNamespaceTreeControlStyle2, std::uint8_t, kTreeStyle2Count>;

// Every flag that stands for a style member (0xFFFBFEFF).
inline constexpr NSTCSTYLE kAllStyleFlags = 0xFFFBFEFFu;
inline constexpr DWORD kAllStyle2Flags = 0x3Fu;

// The NSTCS flag of one member.
NSTCSTYLE StyleFlag(TNamespaceTreeControlStyle style) noexcept;
// The flag word of a set, and the set of a flag word (flags without a member are dropped).
NSTCSTYLE StylesToFlags(TNamespaceTreeControlStyles styles) noexcept;
TNamespaceTreeControlStyles FlagsToStyles(NSTCSTYLE flags) noexcept;

DWORD Style2sToFlags(TNamespaceTreeControlStyle2s styles) noexcept;
TNamespaceTreeControlStyle2s FlagsToStyle2s(DWORD flags) noexcept;

} // namespace shellctrls
