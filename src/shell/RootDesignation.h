#pragma once
// Conversions between root designations and the Shell's ID lists and items.
//
// A root designation (TRoot) names a tree root in the data file: either a TRootFolder
// value name ("rfDesktop", "nfNetHood", ...; the case of ASCII letters is ignored) or a
// parsing name (a file-system path, a UNC path, "::{GUID}"). The empty string names
// nothing. None of these functions raises for a designation or list it cannot resolve.
#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <string>

#include "shell/ShellHandles.h"

namespace shell {

using TRoot = std::wstring;

// The absolute ID list of the designated location; nil when it cannot be resolved
// (the empty designation, a known folder this system lacks, a name that does not parse).
unique_pidl RootToIDList(const TRoot& root);

// The shell item of the designated location, or nil.
Microsoft::WRL::ComPtr<IShellItem> RootToShellItem(const TRoot& root);

// The designation of an absolute ID list: the name of the first TRootFolder value
// (in ordinal order) whose folder is that list, otherwise the list's parsing name.
// A nil list gives the empty string. The caller keeps the list.
TRoot IDListToRoot(PCIDLIST_ABSOLUTE idList);

// IDListToRoot of the item's ID list; the empty string for a nil item or an item
// that gives no ID list.
TRoot ShellItemToRoot(IShellItem* item);

} // namespace shell
