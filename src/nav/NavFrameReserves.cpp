// The frame's remembered expanded and selected items: recording them from the tree and
// putting them back one item per idle turn, so the window stays responsive meanwhile.
#include "nav/NavFrame.h"

#include "shell/ItemPath.h"

namespace nav {

using Microsoft::WRL::ComPtr;

namespace {

// A tree is never deeper than this; the bound only guards against a tree that
// reports a parent cycle.
constexpr int kMaxTreeDepth = 4096;

} // namespace

ComPtr<IShellItem> TNavFrame::TrackRoot(IShellItem* item) {
    ComPtr<IShellItem> result(item);
    for (int depth = 0; result && depth < kMaxTreeDepth; ++depth) {
        ComPtr<IShellItem> parent;
        if (FAILED(FNameSpaceTree->GetNextItem(result.Get(), NSTCGNI_PARENT, &parent)) || !parent)
            break;
        result = parent;
    }
    return result;
}

shellctrls::TNamespaceTreeRoot* TNavFrame::RootAs(IShellItem* item) {
    if (item == nullptr)
        return nullptr;
    shellctrls::TNamespaceTreeRoots& roots = FNameSpaceTree->Roots();
    for (int i = 0; i < roots.Count(); ++i) {
        IShellItem* rootItem = roots[i].SHItem();
        int order = 0;
        if (rootItem != nullptr && rootItem->Compare(item, SICHINT_ALLFIELDS, &order) == S_OK)
            return &roots[i];
    }
    return nullptr;
}

void TNavFrame::StoreReserves(IShellItem* first, IShellItem* select, IShellItem* focus) {
    SetRestoreState(TRestoreState::None);
    ExpandingReserves.clear();
    MarkingReserves.clear();
    // The walk follows the display order through every expanded subtree, on past
    // first's own subtree to the end of the tree. An item shown twice (two roots of one
    // folder, or a root inside another root) is always found at its first place, so the
    // walk would circle for ever: it stops when it comes back to an item (Brent's check,
    // one comparison per step against a mark moved at doubling distances).
    ComPtr<IShellItem> mark(first);
    size_t sinceMark = 0, span = 1;
    for (ComPtr<IShellItem> item(first); item;) {
        NSTCITEMSTATE state = 0;
        if (SUCCEEDED(FNameSpaceTree->GetItemState(item.Get(), NSTCIS_EXPANDED, &state)) &&
            (state & NSTCIS_EXPANDED) != 0)
            ExpandingReserves.push_back(shell::GetItemPath(item.Get()));
        ComPtr<IShellItem> next;
        if (FAILED(FNameSpaceTree->GetNextItem(item.Get(), NSTCGNI_NEXTVISIBLE, &next)) || !next)
            break;
        int order = 0;
        if (mark && mark->Compare(next.Get(), SICHINT_ALLFIELDS, &order) == S_OK)
            break;
        if (++sinceMark == span) {
            mark = next;
            span *= 2;
            sinceMark = 0;
        }
        item = next;
    }
    if (select != nullptr)
        MarkingReserves.push_back(shell::GetItemPath(select));
    if (focus != nullptr)
        MarkingReserves.push_back(shell::GetItemPath(focus));
}

ComPtr<IShellItem> TNavFrame::PopReserve(std::vector<std::wstring>& reserves) {
    ComPtr<IShellItem> item;
    if (reserves.empty())
        return item;
    std::wstring path = std::move(reserves.front());
    reserves.erase(reserves.begin());
    // A path whose tail is gone gives its deepest existing ancestor (the desktop at
    // worst), which is what gets expanded, selected or shown instead.
    shell::FindItemByPath(gui::Application::Instance().Handle(), path, item);
    return item;
}

void TNavFrame::RestoreReserves() {
    if (FRestoreState == TRestoreState::None && (!ExpandingReserves.empty() || !MarkingReserves.empty())) {
        SetRestoreState(TRestoreState::Restoring);
        return;
    }
    if (!ExpandingReserves.empty()) {
        if (ComPtr<IShellItem> item = PopReserve(ExpandingReserves))
            FNameSpaceTree->SetItemState(item.Get(), NSTCIS_EXPANDED, NSTCIS_EXPANDED);
        return;
    }
    if (MarkingReserves.empty()) {
        // What the restore itself expanded and selected is no change of the user's.
        SetRestoreState(TRestoreState::None);
        FOwner.ExclModify(cpTree);
        return;
    }
    ComPtr<IShellItem> item = PopReserve(MarkingReserves);
    if (!item)
        return;
    if (!MarkingReserves.empty())
        FNameSpaceTree->SetItemState(item.Get(), NSTCIS_SELECTED, NSTCIS_SELECTED);
    FNameSpaceTree->EnsureItemVisible(item.Get());
}

void TNavFrame::Reload(IShellItem* select) {
    if (select == nullptr)
        return;
    ComPtr<IShellItem> top = TrackRoot(select);
    shellctrls::TNamespaceTreeRoot* root = RootAs(top.Get());
    if (root == nullptr)
        return;
    StoreReserves(top.Get(), select, select);
    try {
        root->Reload();
    } catch (...) {
        RestoreReserves();
        throw;
    }
    RestoreReserves();
}

void TNavFrame::SetRestoreState(TRestoreState state) {
    FRestoreState = state;
    // One hook for the frame's life: freeing it from inside its own idle call would
    // pull the handler away under its feet.
    if (state != TRestoreState::None && !FAppNavEvents) {
        FAppNavEvents = std::make_unique<gui::ApplicationEvents>();
        FAppNavEvents->OnIdle = [this] {
            if (FRestoreState == TRestoreState::CreatePending)
                AppNavEventsIdleAtCreate();
            else if (FRestoreState == TRestoreState::Restoring)
                AppNavEventsIdleAtRestore();
        };
    }
}

void TNavFrame::AppNavEventsIdleAtCreate() {
    if (!FNameSpaceTree->Actuated())
        return;
    SetRestoreState(TRestoreState::None);
    TFrameSnapshot snapshot = FOwner.ReadFrameSnapshot(FID);
    if (snapshot.active)
        FNameSpaceTree->SetFocus();
    ExpandingReserves.insert(ExpandingReserves.end(), snapshot.expands.begin(), snapshot.expands.end());
    for (const std::wstring& selected : snapshot.selected) {
        // Twice: selected first, then scrolled into view.
        MarkingReserves.push_back(selected);
        MarkingReserves.push_back(selected);
    }
    RestoreReserves();
}

void TNavFrame::AppNavEventsIdleAtRestore() {
    RestoreReserves();
}

void TNavFrame::NameSpaceTreeNTEOnAfterExpand(IShellItem*, HRESULT& result) {
    FOwner.InclModify(cpTree);
    result = E_NOTIMPL;
}

} // namespace nav
