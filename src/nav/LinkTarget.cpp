#include "nav/LinkTarget.h"

#include "gui/Error.h"
#include "nav/ResourceText.h"
#include "shell/ItemPath.h"
#include "shell/ShellItems.h"
#include "shell/ShellLink.h"
#include "shell/SymLink.h"

#include "ResourceIds.h"

#include <wrl/client.h>

namespace nav {
namespace {

using Microsoft::WRL::ComPtr;

// No namespace is this deep; a parent chain that goes on longer is broken.
constexpr size_t kMaxChainLength = 4096;

bool IsDesktop(IShellItem* item) {
    try {
        return shell::SameShellItem(item, shell::GetDesktopItem().Get());
    } catch (const gui::UserError&) {
        return false;
    }
}

} // namespace

shell::unique_pidl FindLinkTarget(const std::wstring& fileName) {
    shell::unique_pidl target;
    if (fileName.empty())
        return target;
    if (shell::GetLinkFileTarget(fileName, target) && target)
        return target;
    target.reset();
    if (shell::GetSymLinkTarget(fileName, target) && target)
        return target;
    target.reset();
    return target;
}

TLinkTargetOutcome LocateLinkTarget(IShellItem* item, IShellItem* top) {
    TLinkTargetOutcome outcome;
    std::wstring name = shell::GetItemName(item, SIGDN_DESKTOPABSOLUTEPARSING);
    shell::unique_pidl targetList = FindLinkTarget(name);
    if (!targetList) {
        outcome.kind = TLinkTargetOutcome::ltNotFound;
        return outcome;
    }
    ComPtr<IShellItem> target;
    // Without a parent, SHCreateShellItem takes an absolute list where its signature
    // names a child.
    HRESULT made = ::SHCreateShellItem(nullptr, nullptr, reinterpret_cast<PCUITEMID_CHILD>(targetList.get()),
                                       target.ReleaseAndGetAddressOf());
    targetList.reset();
    if (FAILED(made) || !target) {
        outcome.kind = TLinkTargetOutcome::ltItemFailed;
        outcome.error = FAILED(made) ? made : E_FAIL;
        return outcome;
    }

    outcome.targetPath = shell::GetItemPath(target.Get());
    std::wstring topPath = shell::GetItemPath(top);
    // A plain text prefix: C:\Workshop counts as inside C:\Work here, and the climb
    // below finds out that it is not.
    if (!IsDesktop(top) && outcome.targetPath.compare(0, topPath.size(), topPath) != 0) {
        outcome.kind = TLinkTargetOutcome::ltOutsideTree;
        return outcome;
    }

    outcome.expanding.push_back(topPath);
    ComPtr<IShellItem> current = target;
    while (!shell::SameShellItem(current.Get(), top)) {
        outcome.expanding.insert(outcome.expanding.begin() + 1, shell::GetItemPath(current.Get()));
        ComPtr<IShellItem> parent;
        if (outcome.expanding.size() > kMaxChainLength || FAILED(current->GetParent(&parent)) || !parent) {
            outcome.expanding.clear();
            break;
        }
        current = parent;
    }
    outcome.kind = outcome.expanding.empty() ? TLinkTargetOutcome::ltNoChain : TLinkTargetOutcome::ltFound;
    return outcome;
}

std::wstring LinkTargetMessage(const TLinkTargetOutcome& outcome) {
    switch (outcome.kind) {
    case TLinkTargetOutcome::ltNotFound:
        return ResourceString(IDS_LINK_TARGET_NOT_FOUND, L"リンク先が見つかりません");
    case TLinkTargetOutcome::ltItemFailed:
        return gui::SystemMessage(static_cast<DWORD>(outcome.error));
    case TLinkTargetOutcome::ltOutsideTree:
        return ResourceString(IDS_LINK_TARGET_OUTSIDE_TREE, L"リンク先がツリー上に存在しません");
    case TLinkTargetOutcome::ltNoChain:
        return ResourceString(IDS_LINK_TARGET_PARSE_FAILED, L"リンク先の解析に失敗しました");
    case TLinkTargetOutcome::ltFound:
        break;
    }
    return {};
}

} // namespace nav
