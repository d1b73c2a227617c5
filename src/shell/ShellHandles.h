#pragma once
// Owners for the Shell's ID lists. Every list a Shell call hands out belongs to
// its caller and is freed with CoTaskMemFree; these wrappers make that automatic.
#include <windows.h>
#include <shtypes.h>

#include "gui/Handles.h"

namespace shell {

// Frees an ID list of any kind; a nil list is ignored.
inline void FreeIDList(PCUIDLIST_RELATIVE idList) noexcept {
    if (idList != nullptr)
        ::CoTaskMemFree(const_cast<PUIDLIST_RELATIVE>(idList));
}

// An absolute ID list (from the desktop down to an item).
using unique_pidl = gui::unique_handle<PIDLIST_ABSOLUTE, gui::null_traits<PIDLIST_ABSOLUTE, FreeIDList>>;
// A relative ID list (below some folder).
using unique_relative_pidl =
    gui::unique_handle<PIDLIST_RELATIVE, gui::null_traits<PIDLIST_RELATIVE, FreeIDList>>;
// One item of a folder, as an enumerator gives it.
using unique_child_pidl = gui::unique_handle<PITEMID_CHILD, gui::null_traits<PITEMID_CHILD, FreeIDList>>;

} // namespace shell
