#include "nav/StyleMenu.h"

namespace nav {

using namespace shellctrls;

TNamespaceTreeControlStyles ToggleStyle(TNamespaceTreeControlStyles styles, TNamespaceTreeControlStyle style,
                                        bool checked) {
    if (!checked) {
        styles.Exclude(style);
        return styles;
    }
    styles.Include(style);
    if (style == nstcsHasLines)
        styles.Exclude(nstcsFullRowSelect);
    else if (style == nstcsFullRowSelect)
        styles.Exclude(nstcsHasLines);
    return styles;
}

} // namespace nav
