#include "shell/ItemPath.h"

#include <shlwapi.h>

#include <algorithm>
#include <vector>

#include "gui/Error.h"
#include "shell/DelimitedText.h"
#include "shell/ShellConsts.h"
#include "shell/ShellHandles.h"
#include "shell/ShellItems.h"
#include "shell/ShellModule.h"

namespace shell {
namespace {

using Microsoft::WRL::ComPtr;

// No namespace is this deep; a parent chain that goes on longer is broken, and
// following it would never end.
constexpr size_t kMaxItemDepth = 4096;

// What GetItemName gives for SIGDN_PARENTRELATIVEPARSING of the child's item. That
// kind is defined as the parent folder's SHGDN_INFOLDER | SHGDN_FORPARSING name, and
// asking the folder directly spares binding to it anew from the desktop per child.
std::wstring ChildParsingName(IShellFolder* folder, PCUITEMID_CHILD child) {
    STRRET strRet{};
    if (FAILED(folder->GetDisplayNameOf(child, SHGDN_INFOLDER | SHGDN_FORPARSING, &strRet)))
        return {};
    gui::unique_cotaskmem<wchar_t> name;
    if (FAILED(::StrRetToStrW(&strRet, child, name.put())) || !name)
        return {};
    return name.get();
}

// The item of folder's child whose parent-relative parsing name is name; nil when
// there is none. Children are taken one at a time, hidden and system ones included,
// and the first match ends the scan.
ComPtr<IShellItem> FindChild(HWND owner, IShellFolder* folder, const std::wstring& name) {
    ComPtr<IEnumIDList> children;
    if (FAILED(folder->EnumObjects(owner, kItemPathEnumFlags, children.GetAddressOf())) || !children)
        return nullptr;
    for (;;) {
        unique_child_pidl child;
        ULONG fetched = 0;
        if (children->Next(1, child.put(), &fetched) != S_OK || fetched != 1 || !child)
            return nullptr;
        if (ChildParsingName(folder, child.get()) != name)
            continue;
        ComPtr<IShellItem> item;
        if (SUCCEEDED(::SHCreateShellItem(nullptr, folder, child.get(), item.GetAddressOf())) && item)
            return item;
    }
}

} // namespace

std::wstring GetItemPath(IShellItem* item) {
    std::vector<std::wstring> names;
    ComPtr<IShellItem> current(item);
    while (current && names.size() < kMaxItemDepth) {
        names.push_back(GetItemName(current.Get(), SIGDN_PARENTRELATIVEPARSING));
        ComPtr<IShellItem> parent;
        if (FAILED(current->GetParent(parent.GetAddressOf())))
            parent.Reset();
        current = std::move(parent);
    }
    if (current)
        return {};
    // The last name is the desktop's own, which is not part of the path.
    if (!names.empty())
        names.pop_back();
    std::reverse(names.begin(), names.end());
    return EncodeDelimitedText(names, kItemPathDelimiter);
}

bool FindItemByPath(HWND owner, const std::wstring& path, ComPtr<IShellItem>& item) {
    ItemPathResolver resolver;
    return resolver.Find(owner, path, item);
}

bool ItemPathResolver::Find(HWND owner, const std::wstring& path, ComPtr<IShellItem>& item) {
    const std::vector<std::wstring> components = DecodeDelimitedText(path, kItemPathDelimiter);
    // The last component is never taken from what is kept: the item itself is looked up
    // in its folder now, whatever happened to it since.
    size_t shared = 0;
    while (shared + 1 < components.size() && shared < levels_.size() && levels_[shared].folder &&
           levels_[shared].name == components[shared])
        ++shared;
    if (shared > 0) {
        if (Follow(owner, components, shared, item))
            return true;
        // A kept folder may be gone or renamed: the path is looked up from the desktop.
    }
    return Follow(owner, components, 0, item);
}

bool ItemPathResolver::Follow(HWND owner, const std::vector<std::wstring>& components, size_t start,
                              ComPtr<IShellItem>& item) {
    levels_.resize(start);
    ComPtr<IShellFolder> folder;
    if (start == 0) {
        folder = DesktopFolder();
        try {
            item = GetDesktopItem();
        } catch (const gui::UserError&) {
            item.Reset();
        }
    } else {
        folder = levels_[start - 1].folder;
        item = levels_[start - 1].item;
    }
    if (!item || !folder)
        return false;
    for (size_t i = start; i < components.size(); ++i) {
        ComPtr<IShellItem> child = FindChild(owner, folder.Get(), components[i]);
        if (!child)
            return false;
        item = child;
        ComPtr<IShellFolder> childFolder;
        if (FAILED(child->BindToHandler(nullptr, BHID_SFObject, IID_PPV_ARGS(childFolder.GetAddressOf()))) ||
            !childFolder) {
            levels_.push_back({components[i], child, nullptr});
            return i + 1 == components.size();
        }
        levels_.push_back({components[i], child, childFolder});
        folder = std::move(childFolder);
    }
    return true;
}

} // namespace shell
