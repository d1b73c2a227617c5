#pragma once
// A root's enumeration filters and root style as sets, and their mapping to the
// Shell's SHCONTF and NSTCRS flag words. The set value (bit n for ordinal n) is what
// the data file stores; the flag word is what the Shell's tree receives.
#include "shellctrls/EnumSet.h"

#include <windows.h>
#include <shobjidl.h>

#include <cstdint>

namespace shellctrls {

// Member n stands for the SHCONTF flag 0x10 << n. The ordinals are stored in data
// files: never reorder or remove a member.
enum TShellContactFilter : std::uint8_t {
    shcontfCheckingForChildren, // 0  SHCONTF_CHECKING_FOR_CHILDREN 0x0010
    shcontfFolders,             // 1  SHCONTF_FOLDERS               0x0020
    shcontfNonFolders,          // 2  SHCONTF_NONFOLDERS            0x0040
    shcontfIncludeHidden,       // 3  SHCONTF_INCLUDEHIDDEN         0x0080
    shcontfInitOnFirstNext,     // 4  SHCONTF_INIT_ON_FIRST_NEXT    0x0100
    shcontfNetPrinterSrch,      // 5  SHCONTF_NETPRINTERSRCH        0x0200
    shcontfShareable,           // 6  SHCONTF_SHAREABLE             0x0400
    shcontfStorage,             // 7  SHCONTF_STORAGE               0x0800
    shcontfNavigationEnum,      // 8  SHCONTF_NAVIGATION_ENUM       0x1000
    shcontfFastItems,           // 9  SHCONTF_FASTITEMS             0x2000
    shcontfFlatList,            // 10 SHCONTF_FLATLIST              0x4000
    shcontfEnableAsync,         // 11 SHCONTF_ENABLE_ASYNC          0x8000
    shcontfIncludeSuperHidden,  // 12 SHCONTF_INCLUDESUPERHIDDEN    0x10000
};
inline constexpr int kShellContactFilterCount = 13;

// Held in 16 bits, as the data file stores it.
using TShellContactFilters = EnumSet<TShellContactFilter, std::uint16_t, kShellContactFilterCount>;

enum TNamespaceTreeControlRootStyle : std::uint8_t {
    nstcrsHidden,   // 0 NSTCRS_HIDDEN
    nstcrsExpanded, // 1 NSTCRS_EXPANDED
};
inline constexpr int kRootStyleCount = 2;

// Held in 8 bits; the empty set is NSTCRS_VISIBLE.
using TNamespaceTreeControlRootStyles =
    EnumSet<TNamespaceTreeControlRootStyle, std::uint8_t, kRootStyleCount>;

// Every flag that stands for a filter member.
inline constexpr SHCONTF kAllFilterFlags = 0x1FFF0u;

SHCONTF FiltersToFlags(TShellContactFilters filters) noexcept;
// Flags without a member are dropped.
TShellContactFilters FlagsToFilters(SHCONTF flags) noexcept;

NSTCROOTSTYLE RootStylesToFlags(TNamespaceTreeControlRootStyles styles) noexcept;
TNamespaceTreeControlRootStyles FlagsToRootStyles(NSTCROOTSTYLE flags) noexcept;

} // namespace shellctrls
