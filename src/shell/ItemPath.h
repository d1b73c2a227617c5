#pragma once
// Item paths: the text form of a shell item as the chain of its parent-relative
// parsing names from below the desktop down to the item, written as delimited text
// with the backslash as delimiter. The desktop's item path is the empty string.
#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace shell {

// The item path of the item; empty for the desktop and for a nil item.
std::wstring GetItemPath(IShellItem* item);

// Resolves an item path level by level from the desktop, comparing the
// parent-relative parsing names exactly. Gives true when every component was found;
// item is then the item of the path, otherwise the deepest item that was found (the
// desktop item when none was). owner is the window for any UI the enumeration shows.
bool FindItemByPath(HWND owner, const std::wstring& path, Microsoft::WRL::ComPtr<IShellItem>& item);

// FindItemByPath for a run of paths that share their leading components, as the
// expanded items of one tree do: the folders of the last path found are kept, and the
// next path is looked up from the deepest folder it shares with it. Its item is always
// found afresh in its parent folder; when that fails below a kept folder, the path is
// looked up again from the desktop, so the answer is FindItemByPath's.
class ItemPathResolver {
public:
    bool Find(HWND owner, const std::wstring& path, Microsoft::WRL::ComPtr<IShellItem>& item);
    // Lets go of the kept folders.
    void Clear() { levels_.clear(); }

private:
    struct Level {
        std::wstring name;
        Microsoft::WRL::ComPtr<IShellItem> item;
        Microsoft::WRL::ComPtr<IShellFolder> folder;
    };
    // Follows components from index start on below the folder of the level before it
    // (the desktop for start 0); levels_ becomes the chain that was found.
    bool Follow(HWND owner, const std::vector<std::wstring>& components, size_t start,
                Microsoft::WRL::ComPtr<IShellItem>& item);
    std::vector<Level> levels_;
};

} // namespace shell
