#pragma once
// Item paths: the text form of a shell item as the chain of its parent-relative
// parsing names from below the desktop down to the item, written as delimited text
// with the backslash as delimiter. The desktop's item path is the empty string.
#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <string>

namespace shell {

// The item path of the item; empty for the desktop and for a nil item.
std::wstring GetItemPath(IShellItem* item);

// Resolves an item path level by level from the desktop, comparing the
// parent-relative parsing names exactly. Gives true when every component was found;
// item is then the item of the path, otherwise the deepest item that was found (the
// desktop item when none was). owner is the window for any UI the enumeration shows.
bool FindItemByPath(HWND owner, const std::wstring& path, Microsoft::WRL::ComPtr<IShellItem>& item);

} // namespace shell
