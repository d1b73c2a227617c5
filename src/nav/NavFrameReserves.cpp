// The frame's remembered expanded and selected items: recording them from the tree and
// putting them back one item per idle turn, so the window stays responsive meanwhile.
#include "nav/NavFrame.h"

#include "nav/RestoreTurns.h"
#include "shell/DelimitedText.h"
#include "shell/ItemPath.h"
#include "shell/ShellConsts.h"

#include <cstdint>
#include <unordered_set>

namespace nav {

using Microsoft::WRL::ComPtr;

namespace {

// A tree is never deeper than this; the bound only guards against a tree that
// reports a parent cycle.
constexpr int kMaxTreeDepth = 4096;

// True when the item path lies at or below the folder with the components given.
bool IsBelow(const std::vector<std::wstring>& folder, const std::wstring& path) {
    std::vector<std::wstring> components = shell::DecodeDelimitedText(path, shell::kItemPathDelimiter);
    return components.size() >= folder.size() && std::equal(folder.begin(), folder.end(), components.begin());
}

// An item shown twice (two roots of one folder, or a root inside another root) is always
// found at its first place, so a walk in display order would circle for ever: the guard
// tells when the walk comes back to an item (Brent's check, one comparison per step
// against a mark moved at doubling distances).
class WalkCycleGuard {
public:
    explicit WalkCycleGuard(IShellItem* first) : mark_(first) {}

    bool CameBack(IShellItem* next) {
        int order = 0;
        if (mark_ && mark_->Compare(next, SICHINT_ALLFIELDS, &order) == S_OK)
            return true;
        if (++sinceMark_ == span_) {
            mark_ = next;
            span_ *= 2;
            sinceMark_ = 0;
        }
        return false;
    }

private:
    ComPtr<IShellItem> mark_;
    size_t sinceMark_ = 0;
    size_t span_ = 1;
};

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

std::vector<std::wstring> TNavFrame::ExpandedItemPaths(IShellItem* first) {
    std::vector<std::wstring> paths;
    // The walk follows the display order through every expanded subtree, on past
    // first's own subtree to the end of the tree.
    WalkCycleGuard guard(first);
    for (ComPtr<IShellItem> item(first); item;) {
        NSTCITEMSTATE state = 0;
        if (SUCCEEDED(FNameSpaceTree->GetItemState(item.Get(), NSTCIS_EXPANDED, &state)) &&
            (state & NSTCIS_EXPANDED) != 0)
            paths.push_back(shell::GetItemPath(item.Get()));
        ComPtr<IShellItem> next;
        if (FAILED(FNameSpaceTree->GetNextItem(item.Get(), NSTCGNI_NEXTVISIBLE, &next)) || !next ||
            guard.CameBack(next.Get()))
            break;
        item = next;
    }
    return paths;
}

void TNavFrame::StoreReserves(IShellItem* first, IShellItem* select, IShellItem* focus) {
    SetRestoreState(TRestoreState::None);
    ExpandingReserves = ExpandedItemPaths(first);
    MarkingReserves.clear();
    if (select != nullptr)
        MarkingReserves.push_back(shell::GetItemPath(select));
    if (focus != nullptr)
        MarkingReserves.push_back(shell::GetItemPath(focus));
}

TNavFrame::TTreeState TNavFrame::TreeState() {
    shellctrls::TNamespaceTreeRoots& roots = FNameSpaceTree->Roots();
    TTreeState tree;
    tree.expands.resize(static_cast<size_t>(roots.Count()));

    // Every root's list is the tail of one walk from the first root on; the tree is
    // walked once, not once per root (each step of a walk costs the Shell a search).
    // A top-level item that is the next root starts that root's tail.
    std::vector<ComPtr<IShellItem>> walked;
    std::vector<bool> expanded;
    std::vector<size_t> starts(tree.expands.size(), SIZE_MAX);
    int first = 0;
    while (first < roots.Count() && roots[first].SHItem() == nullptr)
        ++first;
    int nextRoot = first;
    WalkCycleGuard guard(first < roots.Count() ? roots[first].SHItem() : nullptr);
    for (ComPtr<IShellItem> item(first < roots.Count() ? roots[first].SHItem() : nullptr); item;) {
        while (nextRoot < roots.Count() && roots[nextRoot].SHItem() == nullptr)
            ++nextRoot;
        int order = 0;
        ComPtr<IShellItem> parent;
        if (nextRoot < roots.Count() &&
            roots[nextRoot].SHItem()->Compare(item.Get(), SICHINT_ALLFIELDS, &order) == S_OK &&
            (FAILED(FNameSpaceTree->GetNextItem(item.Get(), NSTCGNI_PARENT, &parent)) || !parent))
            starts[static_cast<size_t>(nextRoot++)] = walked.size();
        NSTCITEMSTATE state = 0;
        walked.push_back(item);
        expanded.push_back(SUCCEEDED(FNameSpaceTree->GetItemState(item.Get(), NSTCIS_EXPANDED, &state)) &&
                           (state & NSTCIS_EXPANDED) != 0);
        ComPtr<IShellItem> next;
        if (FAILED(FNameSpaceTree->GetNextItem(item.Get(), NSTCGNI_NEXTVISIBLE, &next)) || !next ||
            guard.CameBack(next.Get()))
            break;
        item = next;
    }
    std::vector<std::wstring> paths;
    std::vector<size_t> pathIndex; // for each walked item, the count of expanded items before it
    for (size_t i = 0; i < walked.size(); ++i) {
        pathIndex.push_back(paths.size());
        if (expanded[i])
            paths.push_back(shell::GetItemPath(walked[i].Get()));
    }
    for (size_t j = 0; j < tree.expands.size(); ++j) {
        if (starts[j] != SIZE_MAX)
            tree.expands[j].assign(paths.begin() + static_cast<std::ptrdiff_t>(pathIndex[starts[j]]),
                                   paths.end());
        else
            // Not met in the walk (not in the tree, or in another order): walked on its own.
            tree.expands[j] = ExpandedItemPaths(roots[static_cast<int>(j)].SHItem());
    }

    if (ComPtr<IShellItem> selected = Selected()) {
        if (shellctrls::TNamespaceTreeRoot* root = RootAs(TrackRoot(selected.Get()).Get())) {
            tree.selected = shell::GetItemPath(selected.Get());
            tree.selectedRoot = root->Index();
        }
    }

    // What a running restore has still to put back.
    std::vector<std::wstring> pendingExpands;
    std::wstring pendingSelected;
    bool selectionPending = false;
    if (FRestoreState == TRestoreState::Restoring) {
        pendingExpands = ExpandingReserves;
        // With one entry left the selection is made already; that entry is only shown.
        if (MarkingReserves.size() >= 2) {
            pendingSelected = MarkingReserves.front();
            selectionPending = true;
        }
    }
    if (pendingExpands.empty() && !selectionPending)
        return tree;

    // Each pending item goes to the first root it lies below and, as that root's items
    // are in the lists of every root before it, to theirs too; one below no root goes
    // to the first root, whose list covers the whole tree. Repeats are dropped, so
    // saving during restores again and again does not make the lists grow.
    std::vector<std::vector<std::wstring>> rootComponents(tree.expands.size());
    std::vector<bool> rootKnown(tree.expands.size(), false);
    for (size_t j = 0; j < tree.expands.size(); ++j)
        if (IShellItem* item = roots[static_cast<int>(j)].SHItem()) {
            rootComponents[j] =
                shell::DecodeDelimitedText(shell::GetItemPath(item), shell::kItemPathDelimiter);
            rootKnown[j] = true;
        }
    auto rootOf = [&](const std::wstring& path) -> size_t {
        for (size_t j = 0; j < rootComponents.size(); ++j)
            if (rootKnown[j] && IsBelow(rootComponents[j], path))
                return j;
        return 0;
    };
    std::unordered_set<std::wstring> seen(paths.begin(), paths.end());
    for (const std::wstring& path : pendingExpands) {
        if (tree.expands.empty() || !seen.insert(path).second)
            continue;
        size_t last = rootOf(path);
        for (size_t j = 0; j <= last; ++j)
            tree.expands[j].push_back(path);
    }
    if (selectionPending && !tree.expands.empty()) {
        tree.selected = pendingSelected;
        tree.selectedRoot = static_cast<int>(rootOf(pendingSelected));
    }
    return tree;
}

ComPtr<IShellItem> TNavFrame::PopReserve(TReserveList& reserves) {
    ComPtr<IShellItem> item;
    if (reserves.empty())
        return item;
    std::wstring path = reserves.PopFront();
    // A path whose tail is gone gives its deepest existing ancestor (the desktop at
    // worst), which is what gets expanded, selected or shown instead.
    FPathResolver.Find(gui::Application::Instance().Handle(), path, item);
    return item;
}

void TNavFrame::RestoreReserves() {
    if (FRestoreState == TRestoreState::None && (!ExpandingReserves.empty() || !MarkingReserves.empty())) {
        SetRestoreState(TRestoreState::Restoring);
        return;
    }
    // What the restore itself expands and selects is no change of the user's.
    TOwnTreeChange own(*this);
    if (!ExpandingReserves.empty()) {
        if (ComPtr<IShellItem> item = PopReserve(ExpandingReserves))
            FNameSpaceTree->SetItemState(item.Get(), NSTCIS_EXPANDED, NSTCIS_EXPANDED);
        return;
    }
    if (MarkingReserves.empty()) {
        SetRestoreState(TRestoreState::None);
        // The next restore starts afresh, whatever this one held.
        ExpandingReserves.clear();
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
        TOwnTreeChange own(*this);
        root->Reload();
    } catch (...) {
        RestoreReserves();
        throw;
    }
    RestoreReserves();
}

void TNavFrame::SetRestoreState(TRestoreState state) {
    FRestoreState = state;
    if (state == TRestoreState::None) {
        RestoreTurns::Instance().Leave(this);
        FPathResolver.Clear();
    } else {
        RestoreTurns::Instance().Join(this, [this] { return RestoreTurn(); });
    }
}

bool TNavFrame::RestoreTurn() {
    switch (FRestoreState) {
    case TRestoreState::CreatePending:
        if (!FNameSpaceTree->Actuated())
            return false;
        AppNavEventsIdleAtCreate();
        return true;
    case TRestoreState::Restoring:
        AppNavEventsIdleAtRestore();
        return true;
    case TRestoreState::None:
        break;
    }
    return false;
}

void TNavFrame::AppNavEventsIdleAtCreate() {
    if (!FNameSpaceTree->Actuated())
        return;
    SetRestoreState(TRestoreState::None);
    TFrameSnapshot snapshot = FOwner.ReadFrameSnapshot(FID);
    if (snapshot.active) {
        // A tree view that takes the focus selects an item if none is: the restore's doing.
        TOwnTreeChange own(*this);
        FNameSpaceTree->SetFocus();
    }
    // The list of each root runs on to the end of the tree: each item is taken once.
    ExpandingReserves.Append(snapshot.expands.begin(), snapshot.expands.end());
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
    if (UserTreeChange())
        FOwner.InclModify(cpTree);
    result = E_NOTIMPL;
}

} // namespace nav
