#pragma once
// Where a shortcut or symbolic link leads within a frame's tree: the target's item
// path and the chain of items from the tree's top item down to it, which the frame
// expands one by one to show the target.
#include <windows.h>
#include <shobjidl.h>

#include <string>
#include <vector>

#include "shell/ShellHandles.h"

namespace nav {

struct TLinkTargetOutcome {
    enum TKind {
        ltFound,
        // Neither a shortcut nor a symbolic link whose target could be found.
        ltNotFound,
        // The target's shell item could not be made; error says why.
        ltItemFailed,
        // The target lies outside the top item (by its item path).
        ltOutsideTree,
        // The chain of parents from the target never meets the top item.
        ltNoChain,
    };
    TKind kind = ltNotFound;
    HRESULT error = S_OK;
    std::wstring targetPath;
    // The top item's path, then every item below it down to the target itself.
    std::vector<std::wstring> expanding;
};

// The ID list of the location the file name leads to: as a shortcut file first, then
// as a symbolic link or junction. Nil when it is neither or the target is not found.
shell::unique_pidl FindLinkTarget(const std::wstring& fileName);

// Follows item (a shortcut or a symbolic link) to its target and relates the target to
// top, the tree's top-level item above item. Never raises for a missing or broken target.
TLinkTargetOutcome LocateLinkTarget(IShellItem* item, IShellItem* top);

// The text the user reads for an outcome other than ltFound.
std::wstring LinkTargetMessage(const TLinkTargetOutcome& outcome);

} // namespace nav
