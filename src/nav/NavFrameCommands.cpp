// What the user does with the items of a frame's tree: the commands merged into the
// Shell's context menu, opening by double click or Enter, reloading with F5, and
// dropping items between the roots to make them roots.
#include "nav/NavFrame.h"

#include "gui/ScrollBox.h"
#include "nav/ErrorDialog.h"
#include "nav/ItemOpen.h"
#include "nav/LinkTarget.h"
#include "shell/RootDesignation.h"
#include "shell/RootFolderBatch.h"

namespace nav {
namespace {

using Microsoft::WRL::ComPtr;

// Posted to itself: carry out the closing and root removals that commands asked for.
constexpr UINT WM_RUNDEFERRED = WM_APP + 0x51;

// The tree view scrolls one line per drag-position event near its edges; the pause
// paces that while the pointer rests there.
constexpr DWORD kDragScrollPauseMs = 50;
constexpr int kDragScrollMargin = 8;

bool IsScrollDirection(shellctrls::TDirectionTest direction) {
    return direction == shellctrls::dtLeft || direction == shellctrls::dtRight ||
           direction == shellctrls::dtUp || direction == shellctrls::dtDown;
}

ComPtr<IShellItemArray> ArrayOf(IShellItem* item) {
    ComPtr<IShellItemArray> items;
    if (item == nullptr || FAILED(::SHCreateShellItemArrayFromShellItem(item, IID_PPV_ARGS(&items))))
        items.Reset();
    return items;
}

SFGAOF AttributesOf(IShellItem* item, SFGAOF mask) {
    SFGAOF attributes = 0;
    if (item == nullptr || FAILED(item->GetAttributes(mask, &attributes)))
        return 0;
    return attributes & mask;
}

} // namespace

void TNavFrame::BuildContextMenu() {
    FContextMenu.NewFrameMnu().OnClick = [this](gui::MenuItem&) { NewFrameMnuClick(); };
    FContextMenu.NewRootMnu().OnClick = [this](gui::MenuItem&) { NewRootMnuClick(); };
    FContextMenu.OpenMnu().OnClick = [this](gui::MenuItem&) { OpenMnuClick(); };
    FContextMenu.OpenTargetMnu().OnClick = [this](gui::MenuItem&) { OpenTargetMnuClick(); };
    for (int entry = ceFolders; entry <= ceIncludeSuperHidden; ++entry)
        FContextMenu.Entry(static_cast<TContextEntry>(entry)).OnClick = [this](gui::MenuItem& item) {
            RootFilterMnusClick(item);
        };
    FContextMenu.RemoveRootMnu().OnClick = [this](gui::MenuItem&) { RemoveRootMnuClick(); };
    FContextMenu.OnCommandStart = [this] { CommandStarted(); };
    FContextMenu.OnCommandEnd = [this] { CommandEnded(); };
    ShowMessage = [this](const std::wstring& text) {
        ShowErrorDialog(::GetAncestor(Handle(), GA_ROOT), text);
    };

    FNameSpaceTree->OnNTEOnBeforeContextMenu = [this](IShellItem* psi, const IID& riid, void*& ppv,
                                                      HRESULT& result) {
        NameSpaceTreeNTEOnBeforeContextMenu(psi, riid, ppv, result);
    };
    FNameSpaceTree->OnNTDHOnDragPosition = [this](IShellItem* over, IShellItemArray* data, int newPosition,
                                                  int oldPosition, HRESULT& result) {
        NameSpaceTreeNTDHOnDragPosition(over, data, newPosition, oldPosition, result);
    };
    FNameSpaceTree->OnNTDHOnDrop = [this](IShellItem* over, IShellItemArray* data, int position, DWORD keys,
                                          DWORD& effect, HRESULT& result) {
        NameSpaceTreeNTDHOnDrop(over, data, position, keys, effect, result);
    };
}

ComPtr<IShellItem> TNavFrame::FirstChoice() const {
    ComPtr<IShellItem> item;
    DWORD count = 0;
    if (!FChoices || FAILED(FChoices->GetCount(&count)) || count == 0 ||
        FAILED(FChoices->GetItemAt(0, &item)))
        item.Reset();
    return item;
}

// The Shell's context menu

void TNavFrame::NameSpaceTreeNTEOnBeforeContextMenu(IShellItem* psi, const IID& riid, void*& ppv,
                                                    HRESULT& result) {
    // QueryInterface hands out the menu with a reference of its own, as COM asks.
    if (psi == nullptr || FAILED(FContextMenu.QueryInterface(riid, &ppv)) || ppv == nullptr) {
        ppv = nullptr;
        result = E_NOTIMPL;
        return;
    }
    FChoices = ArrayOf(psi);
    FContextMenu.OpenTargetMnu().SetVisible(AttributesOf(psi, SFGAO_LINK) != 0);
    ComPtr<IShellItem> top = TrackRoot(psi);
    if (shellctrls::TNamespaceTreeRoot* root = RootAs(top.Get())) {
        shellctrls::TShellContactFilters filters = root->Filters();
        for (int entry = ceFolders; entry <= ceIncludeSuperHidden; ++entry) {
            gui::MenuItem& item = FContextMenu.Entry(static_cast<TContextEntry>(entry));
            item.SetChecked(filters.Contains(static_cast<shellctrls::TShellContactFilter>(item.Tag())));
        }
    }
    ComPtr<IShellItem> parent;
    FContextMenu.RemoveRootMnu().SetEnabled(
        FAILED(FNameSpaceTree->GetNextItem(psi, NSTCGNI_PARENT, &parent)));
    result = S_OK;
}

void TNavFrame::NewFrameMnuClick() {
    ComPtr<IShellItem> item = FirstChoice();
    shell::TRoot designation = shell::ShellItemToRoot(item.Get());
    // An item without an ID list names no place a root could show.
    if (designation.empty())
        return;
    TNavFrame& frame = FOwner.AddFrame(-1);
    shellctrls::TNamespaceTreeRoot& root = FOwner.AddRoot(&frame, designation);
    ScrollFramesToEnd();
    frame.NameSpaceTree().SetFocus();
    if (root.SHItem() != nullptr)
        frame.NameSpaceTree().SetItemState(root.SHItem(), NSTCIS_SELECTED, NSTCIS_SELECTED);
}

void TNavFrame::ScrollFramesToEnd() {
    gui::ScrollBox& box = FOwner.ScrollBox();
    RECT client = box.ClientRect();
    SIZE content = box.ContentSize();
    POINT position = box.ScrollPos();
    TAlign edge = FOwner.SnapEdge();
    // The position goes past the end, and the box stops it there.
    if ((edge == gui::alTop || edge == gui::alBottom) && gui::Width(client) < content.cx)
        box.ScrollTo({content.cx + position.x, position.y});
    else if ((edge == gui::alLeft || edge == gui::alRight) && gui::Height(client) < content.cy)
        box.ScrollTo({position.x, content.cy + position.y});
}

void TNavFrame::NewRootMnuClick() {
    ComPtr<IShellItem> item = FirstChoice();
    shell::TRoot designation = shell::ShellItemToRoot(item.Get());
    if (designation.empty())
        return;
    shellctrls::TNamespaceTreeRoot& root = FOwner.AddRoot(this, designation);
    if (root.SHItem() == nullptr)
        return;
    FNameSpaceTree->EnsureItemVisible(root.SHItem());
    FNameSpaceTree->SetItemState(root.SHItem(), NSTCIS_SELECTED, NSTCIS_SELECTED);
}

void TNavFrame::OpenMnuClick() {
    ComPtr<IShellItem> item = FirstChoice();
    OpenShellItem(item.Get(), Handle());
}

void TNavFrame::OpenTargetMnuClick() {
    ComPtr<IShellItem> item = FirstChoice();
    if (!item)
        return;
    ComPtr<IShellItem> top = TrackRoot(item.Get());
    TLinkTargetOutcome outcome = LocateLinkTarget(item.Get(), top.Get());
    switch (outcome.kind) {
    case TLinkTargetOutcome::ltNotFound:
    case TLinkTargetOutcome::ltItemFailed:
    case TLinkTargetOutcome::ltOutsideTree:
        // The tree and the reserves stay as they were.
        ShowMessage(LinkTargetMessage(outcome));
        return;
    case TLinkTargetOutcome::ltNoChain:
        // A running restore stops, and the reserves are left empty.
        StoreReserves(nullptr, nullptr, nullptr);
        ShowMessage(LinkTargetMessage(outcome));
        return;
    case TLinkTargetOutcome::ltFound:
        break;
    }
    StoreReserves(nullptr, nullptr, nullptr);
    ExpandingReserves = std::move(outcome.expanding);
    // Selected, then scrolled into view.
    MarkingReserves = {outcome.targetPath, outcome.targetPath};
    RestoreReserves();
}

void TNavFrame::RootFilterMnusClick(gui::MenuItem& item) {
    ComPtr<IShellItem> choice = FirstChoice();
    ComPtr<IShellItem> top = TrackRoot(choice.Get());
    shellctrls::TNamespaceTreeRoot* root = RootAs(top.Get());
    if (root == nullptr)
        return;
    ComPtr<IShellItem> selected = Selected();
    StoreReserves(top.Get(), selected.Get(), choice.Get());
    shellctrls::TShellContactFilters filters = root->Filters();
    if (item.Tag() >= 0 && item.Tag() <= 15) {
        auto filter = static_cast<shellctrls::TShellContactFilter>(item.Tag());
        if (item.Checked())
            filters.Include(filter);
        else
            filters.Exclude(filter);
    }
    {
        // The root registered again shows collapsed: no change of the user's tree.
        TOwnTreeChange own(*this);
        root->SetFilters(filters);
    }
    RestoreReserves();
    FOwner.InclModify(cpFrame);
}

void TNavFrame::RemoveRootMnuClick() {
    ComPtr<IShellItem> item = FirstChoice();
    if (shellctrls::TNamespaceTreeRoot* root = RootAs(item.Get()))
        PostRemoveRoot(*root);
}

// Double click, Enter and F5 in the tree view

void TNavFrame::ItemViewMessage(const shellctrls::TMessage& message) {
    bool open = message.Msg == WM_LBUTTONDBLCLK || (message.Msg == WM_KEYDOWN && message.WParam == VK_RETURN);
    bool reload = message.Msg == WM_KEYDOWN && message.WParam == VK_F5;
    if (!open && !reload)
        return;
    CommandStarted();
    try {
        ComPtr<IShellItem> item = Selected();
        if (reload) {
            Reload(item.Get());
        } else if (item && AttributesOf(item.Get(), SFGAO_FOLDER | SFGAO_STREAM) != SFGAO_FOLDER) {
            // Files, and folders that are files too (archives), open; plain folders are
            // left to the tree, which expands them.
            FChoices = ArrayOf(item.Get());
            FContextMenu.OpenMnu().Click();
        }
    } catch (...) {
        CommandEnded();
        throw;
    }
    CommandEnded();
}

// Dragging and dropping between roots

void TNavFrame::NameSpaceTreeNTDHOnDragPosition(IShellItem*, IShellItemArray* psiaData, int, int,
                                                HRESULT& result) {
    FChoices = psiaData;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    if (IsScrollDirection(FNameSpaceTree->ScrollIn(cursor, kDragScrollMargin)))
        ::Sleep(kDragScrollPauseMs);
    result = S_OK;
}

void TNavFrame::NameSpaceTreeNTDHOnDrop(IShellItem* psiOver, IShellItemArray* psiaData, int, DWORD, DWORD&,
                                        HRESULT& result) {
    if (psiOver != nullptr) {
        result = S_OK;
        return;
    }
    // The drop's own items, even when no drag-position event announced them.
    if (psiaData != nullptr)
        FChoices = psiaData;
    DWORD count = 0;
    if (FChoices && SUCCEEDED(FChoices->GetCount(&count))) {
        CommandStarted();
        try {
            // The known folders stay where they are for the whole drop.
            shell::TRootFolderBatch batch;
            for (DWORD i = 0; i < count; ++i) {
                ComPtr<IShellItem> item;
                if (FAILED(FChoices->GetItemAt(i, &item)) || !item)
                    continue;
                shell::TRoot designation = shell::ShellItemToRoot(item.Get());
                if (!designation.empty())
                    FOwner.AddRoot(this, designation);
            }
        } catch (...) {
            CommandEnded();
            throw;
        }
        CommandEnded();
    }
    result = E_NOTIMPL;
}

// Deferred closing and removal

void TNavFrame::PostClose() {
    FCloseRequested = true;
    ::PostMessageW(Handle(), WM_RUNDEFERRED, 0, 0);
}

void TNavFrame::PostRemoveRoot(shellctrls::TNamespaceTreeRoot& root) {
    if (root.SHItem() == nullptr)
        return;
    FRootsToRemove.emplace_back(root.SHItem());
    ::PostMessageW(Handle(), WM_RUNDEFERRED, 0, 0);
}

void TNavFrame::CommandEnded() {
    --FCommandDepth;
    if (FCommandDepth == 0 && (FCloseRequested || !FRootsToRemove.empty()))
        ::PostMessageW(Handle(), WM_RUNDEFERRED, 0, 0);
}

bool TNavFrame::HandleDeferred(UINT message) {
    if (message != WM_RUNDEFERRED)
        return false;
    // A message loop inside a command (a dialog, the Shell opening an item) must not
    // free what that command still uses; the end of the command posts again.
    if (FCommandDepth == 0)
        RunDeferred();
    return true;
}

void TNavFrame::RunDeferred() {
    std::vector<ComPtr<IShellItem>> roots = std::move(FRootsToRemove);
    FRootsToRemove.clear();
    for (const ComPtr<IShellItem>& item : roots) {
        if (shellctrls::TNamespaceTreeRoot* root = RootAs(item.Get())) {
            FNameSpaceTree->Roots().Delete(root->Index());
            FOwner.InclModify(cpFrame);
        }
    }
    if (FCloseRequested) {
        FCloseRequested = false;
        // The owner destroys this frame: nothing of it may be touched afterwards.
        FOwner.DelFrame(*this);
    }
}

} // namespace nav
