#pragma once
// Small operations on ID lists and shell items.
#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <string>
#include <string_view>

#include "shell/ShellHandles.h"

namespace shell {

// The desktop's own (empty) ID list. Raises gui::HResultError on failure.
unique_pidl GetDesktopIDList();

// The ID list, relative to folder, that folder's ParseDisplayName gives for the name
// (no window, no bind context, no attributes asked). Raises gui::HResultError on
// failure, also for a nil folder.
unique_relative_pidl ParseIDList(IShellFolder* folder, std::wstring_view name);

// The absolute ID list of a parsing name, parsed by the desktop folder. Raises
// gui::HResultError on failure.
unique_pidl ParseIDList(std::wstring_view name);

// Whether two shell items are the same item (Compare with SICHINT_DISPLAY gives 0).
// A nil item is never the same as anything.
bool SameShellItem(IShellItem* a, IShellItem* b) noexcept;

// The shell item of an absolute ID list (SHCreateShellItem without parent); nil for
// a nil list or when the item cannot be made. The caller keeps the list.
Microsoft::WRL::ComPtr<IShellItem> ItemFromIDList(PCIDLIST_ABSOLUTE idList) noexcept;

// The desktop as a shell item; nil when the item cannot be made. Raises
// gui::HResultError when the desktop's ID list cannot be had.
Microsoft::WRL::ComPtr<IShellItem> GetDesktopItem();

// The item's display name of that kind; empty for a nil item or a failed call.
std::wstring GetItemName(IShellItem* item, SIGDN kind);

} // namespace shell
