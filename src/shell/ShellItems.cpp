#include "shell/ShellItems.h"

#include "gui/Error.h"
#include "gui/Handles.h"
#include "shell/ShellModule.h"

namespace shell {

unique_pidl GetDesktopIDList() {
    unique_pidl idList;
    gui::ThrowIfFailed(::SHGetFolderLocation(nullptr, CSIDL_DESKTOP, nullptr, 0, idList.put()));
    if (!idList)
        throw gui::HResultError(E_UNEXPECTED);
    return idList;
}

unique_relative_pidl ParseIDList(IShellFolder* folder, std::wstring_view name) {
    if (folder == nullptr)
        throw gui::HResultError(E_POINTER);
    // ParseDisplayName wants a writable, terminated name.
    std::wstring buffer(name);
    ULONG eaten = static_cast<ULONG>(buffer.size());
    ULONG attributes = 0;
    unique_relative_pidl idList;
    gui::ThrowIfFailed(
        folder->ParseDisplayName(nullptr, nullptr, buffer.data(), &eaten, idList.put(), &attributes));
    if (!idList)
        throw gui::HResultError(E_UNEXPECTED);
    return idList;
}

unique_pidl ParseIDList(std::wstring_view name) {
    // The desktop's relative ID lists are absolute ones.
    return unique_pidl(reinterpret_cast<PIDLIST_ABSOLUTE>(ParseIDList(DesktopFolder(), name).release()));
}

bool SameShellItem(IShellItem* a, IShellItem* b) noexcept {
    if (a == nullptr || b == nullptr)
        return false;
    int order = -1;
    return SUCCEEDED(a->Compare(b, SICHINT_DISPLAY, &order)) && order == 0;
}

Microsoft::WRL::ComPtr<IShellItem> ItemFromIDList(PCIDLIST_ABSOLUTE idList) noexcept {
    Microsoft::WRL::ComPtr<IShellItem> item;
    if (idList == nullptr)
        return item;
    // Without a parent, SHCreateShellItem takes an absolute list where its signature
    // names a child.
    if (FAILED(::SHCreateShellItem(nullptr, nullptr, reinterpret_cast<PCUITEMID_CHILD>(idList),
                                   item.ReleaseAndGetAddressOf())))
        item.Reset();
    return item;
}

Microsoft::WRL::ComPtr<IShellItem> GetDesktopItem() {
    return ItemFromIDList(GetDesktopIDList().get());
}

std::wstring GetItemName(IShellItem* item, SIGDN kind) {
    if (item == nullptr)
        return {};
    gui::unique_cotaskmem<wchar_t> name;
    if (FAILED(item->GetDisplayName(kind, name.put())) || !name)
        return {};
    return name.get();
}

} // namespace shell
