#include "shellctrls/TreeStyles.h"

namespace shellctrls {

NSTCSTYLE StyleFlag(TNamespaceTreeControlStyle style) noexcept {
    // Ordinals 0-7 are bits 0-7, 8-16 are bits 9-17, 17-29 are bits 19-31: the two
    // gaps are the flags 0x100 and 0x40000, which have no member.
    int ordinal = static_cast<int>(style);
    if (ordinal < 0 || ordinal >= kTreeStyleCount)
        return 0;
    int bit = ordinal < 8 ? ordinal : ordinal < 17 ? ordinal + 1 : ordinal + 2;
    return NSTCSTYLE{1} << bit;
}

NSTCSTYLE StylesToFlags(TNamespaceTreeControlStyles styles) noexcept {
    NSTCSTYLE flags = 0;
    for (int i = 0; i < kTreeStyleCount; ++i) {
        auto style = static_cast<TNamespaceTreeControlStyle>(i);
        if (styles.Contains(style))
            flags |= StyleFlag(style);
    }
    return flags;
}

TNamespaceTreeControlStyles FlagsToStyles(NSTCSTYLE flags) noexcept {
    TNamespaceTreeControlStyles styles;
    for (int i = 0; i < kTreeStyleCount; ++i) {
        auto style = static_cast<TNamespaceTreeControlStyle>(i);
        if ((flags & StyleFlag(style)) != 0)
            styles.Include(style);
    }
    return styles;
}

DWORD Style2sToFlags(TNamespaceTreeControlStyle2s styles) noexcept {
    return styles.Bits();
}

TNamespaceTreeControlStyle2s FlagsToStyle2s(DWORD flags) noexcept {
    return TNamespaceTreeControlStyle2s::FromBits(flags);
}

} // namespace shellctrls
