#pragma once
// Opening an item the way the Shell's own context menu does for its "open" verb.
#include <windows.h>
#include <shobjidl.h>

namespace nav {

// Fills a fresh pop-up menu from the item's own context menu (CMF_EXPLORE, ids 1 to
// 0x7FFF) and invokes the verb "open" with SW_SHOWNORMAL for window. Every failure is
// silent: an item without a context menu, or one that cannot be opened, stays as it is.
void OpenShellItem(IShellItem* item, HWND window) noexcept;

} // namespace nav
