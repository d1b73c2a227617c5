#include "shell/RootDesignation.h"

#include "shell/RootFolder.h"
#include "shell/RootFolderBatch.h"
#include "shell/ShellItems.h"
#include "shell/ShellModule.h"
#include "shell/StrRet.h"

namespace shell {
namespace {

// The parsing name of an absolute list: a file-system folder's full path, a virtual
// folder's ::{GUID} form; empty when the desktop cannot name it.
std::wstring ParsingName(PCIDLIST_ABSOLUTE idList) {
    STRRET strRet{};
    // The desktop names lists of any depth below it, not only its children.
    if (FAILED(DesktopFolder()->GetDisplayNameOf(reinterpret_cast<PCUITEMID_CHILD>(idList), SHGDN_FORPARSING,
                                                 &strRet)))
        return {};
    return StrRetToText(idList, strRet);
}

bool SameIDList(PCIDLIST_ABSOLUTE a, PCIDLIST_ABSOLUTE b) {
    return DesktopFolder()->CompareIDs(0, a, b) == S_OK;
}

} // namespace

unique_pidl RootToIDList(const TRoot& root) {
    if (std::optional<TRootFolder> folder = FindRootFolder(root))
        return RootFolderToIDList(*folder);
    // A NUL would cut the name short and make the Shell parse only its beginning.
    if (root.empty() || root.find(L'\0') != TRoot::npos)
        return {};

    std::wstring name = root;
    if (name.back() == L':')
        name += L'\\'; // a drive designation names the drive's root
    ULONG eaten = static_cast<ULONG>(name.size());
    ULONG attributes = 0;
    unique_relative_pidl idList;
    if (FAILED(DesktopFolder()->ParseDisplayName(nullptr, nullptr, name.data(), &eaten, idList.put(),
                                                 &attributes)))
        return {};
    // The desktop's relative ID lists are absolute ones.
    return unique_pidl(reinterpret_cast<PIDLIST_ABSOLUTE>(idList.release()));
}

Microsoft::WRL::ComPtr<IShellItem> RootToShellItem(const TRoot& root) {
    unique_pidl idList = RootToIDList(root);
    return ItemFromIDList(idList.get());
}

TRoot IDListToRoot(PCIDLIST_ABSOLUTE idList) {
    if (idList == nullptr)
        return {};
    RootFolderIDLists ownLists;
    RootFolderIDLists* batch = CurrentRootFolderBatch();
    RootFolderIDLists& folders = batch != nullptr ? *batch : ownLists;
    for (int i = 0; i < kRootFolderCount; ++i) {
        const auto folder = static_cast<TRootFolder>(i);
        PCIDLIST_ABSOLUTE candidate = folders.Get(folder);
        if (candidate != nullptr && SameIDList(idList, candidate))
            return TRoot(RootFolderName(folder));
    }
    return ParsingName(idList);
}

TRoot ShellItemToRoot(IShellItem* item) {
    if (item == nullptr)
        return {};
    Microsoft::WRL::ComPtr<IPersistIDList> persist;
    if (FAILED(item->QueryInterface(IID_PPV_ARGS(&persist))))
        return {};
    unique_pidl idList;
    if (FAILED(persist->GetIDList(idList.put())) || !idList)
        return {};
    return IDListToRoot(idList.get());
}

} // namespace shell
