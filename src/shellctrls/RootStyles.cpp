#include "shellctrls/RootStyles.h"

namespace shellctrls {

SHCONTF FiltersToFlags(TShellContactFilters filters) noexcept {
    return SHCONTF{filters.Bits()} << 4;
}

TShellContactFilters FlagsToFilters(SHCONTF flags) noexcept {
    return TShellContactFilters::FromBits((flags & kAllFilterFlags) >> 4);
}

NSTCROOTSTYLE RootStylesToFlags(TNamespaceTreeControlRootStyles styles) noexcept {
    return styles.Bits();
}

TNamespaceTreeControlRootStyles FlagsToRootStyles(NSTCROOTSTYLE flags) noexcept {
    return TNamespaceTreeControlRootStyles::FromBits(flags);
}

} // namespace shellctrls
