#include "shellctrls/NamespaceTreeRoot.h"

#include "gui/Error.h"
#include "shell/ShellItems.h"
#include "shell/ShellModule.h"
#include "shellctrls/ChangeNotify.h"
#include "shellctrls/NameSpaceTreeControl.h"

#include <algorithm>
#include <cwchar>
#include <iterator>

namespace shellctrls {
namespace {

// The desktop is never watched; only this exact spelling counts as the desktop.
constexpr wchar_t kUnwatchedRoot[] = L"rfDesktop";

} // namespace

// The hidden window the Shell delivers the root's change notifications to.
class TNamespaceTreeRoot::NotifyWindowImpl final : public gui::MessageWindow {
public:
    explicit NotifyWindowImpl(TNamespaceTreeRoot& root) : root_(root) {}

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == ChangeNotifyMsg()) {
            root_.ChangeNotified(wParam, lParam);
            return 0;
        }
        return MessageWindow::HandleMessage(message, wParam, lParam);
    }

private:
    TNamespaceTreeRoot& root_;
};

// TNamespaceTreeRoot

TNamespaceTreeRoot::TNamespaceTreeRoot(TNamespaceTreeRoots* collection) : collection_(collection) {
    ChangeNotifyMsg();
}

TNamespaceTreeRoot::~TNamespaceTreeRoot() {
    UnregistNotify();
}

HWND TNamespaceTreeRoot::NotifyWindow() const {
    return FHandle ? FHandle->Handle() : nullptr;
}

int TNamespaceTreeRoot::Index() const {
    return collection_ != nullptr ? collection_->IndexOf(this) : -1;
}

void TNamespaceTreeRoot::SetPath(const TRoot& value) {
    if (value == FPath)
        return;
    FPath = value;
    RegistNotifyAndChanged();
}

void TNamespaceTreeRoot::SetFilters(TShellContactFilters value) {
    if (value == Filters())
        return;
    FFilters = FiltersToFlags(value);
    Reload();
}

void TNamespaceTreeRoot::SetStyles(TNamespaceTreeControlRootStyles value) {
    if (value == Styles())
        return;
    FStyles = RootStylesToFlags(value);
    Reload();
}

void TNamespaceTreeRoot::Reload() {
    if (!FPath.empty())
        Changed();
}

void TNamespaceTreeRoot::Assign(const TNamespaceTreeRoot& source) {
    if (&source == this)
        return;
    FPath = source.FPath;
    FFilters = source.FFilters;
    FStyles = source.FStyles;
    RegistNotifyAndChanged();
}

void TNamespaceTreeRoot::RegistNotifyAndChanged() {
    RegistNotify();
    try {
        Changed();
    } catch (...) {
        resolved_ = Resolved::Unknown;
        throw;
    }
    resolved_ = Resolved::Unknown;
}

std::wstring TNamespaceTreeRoot::GetDisplayName() const {
    return FPath.empty() ? L"TNamespaceTreeRoot" : FPath;
}

void TNamespaceTreeRoot::Changed() {
    if (collection_ != nullptr)
        collection_->Update(this);
}

void TNamespaceTreeRoot::RegistNotify() {
    UnregistNotify();
    resolved_ = Resolved::Unknown;
    if (FPath.empty() || FPath == kUnwatchedRoot || collection_ == nullptr || collection_->Owner() == nullptr)
        return;
    // A designation that does not resolve is not watched at all.
    shell::unique_pidl folder = shell::RootToIDList(FPath);
    if (!folder) {
        resolved_ = Resolved::Failed;
        return;
    }
    // Made with the first registration (and kept for the root's life): a root that
    // watches nothing costs no window, which counts with thousands of them.
    if (!FHandle)
        FHandle = std::make_unique<NotifyWindowImpl>(*this);
    FRegistID = RegisterChangeNotify(NotifyWindow(), folder.get());
    if (FRegistID != 0) {
        watched_ = std::move(folder);
        resolved_ = Resolved::Watched;
    }
}

Microsoft::WRL::ComPtr<IShellItem> TNamespaceTreeRoot::ResolvedItem() const {
    switch (resolved_) {
    case Resolved::Failed:
        return nullptr;
    case Resolved::Watched:
        return shell::ItemFromIDList(watched_.get());
    case Resolved::Unknown:
        break;
    }
    return shell::RootToShellItem(FPath);
}

void TNamespaceTreeRoot::UnregistNotify() noexcept {
    DeregisterChangeNotify(FRegistID);
    FRegistID = 0;
    watched_.reset();
}

bool TNamespaceTreeRoot::IsOwnFolder(PCIDLIST_ABSOLUTE idList) const {
    if (idList == nullptr)
        return false;
    if (watched_ && shell::ShellModuleStarted() &&
        shell::DesktopFolder()->CompareIDs(0, idList, watched_.get()) == S_OK)
        return true;
    return shell::IDListToRoot(idList) == FPath;
}

void TNamespaceTreeRoot::ChangeNotified(WPARAM lock, LPARAM processId) {
    std::optional<ChangeNotification> notification = TakeChangeNotification(lock, processId);
    if (!notification || leaving_)
        return;
    switch (ReactionTo(notification->event)) {
    case RootReaction::FollowRename:
        // Only a rename of the root's own folder moves the root; one of an item
        // inside the folder (which the registration reports too) does not.
        if (notification->second && IsOwnFolder(notification->first.get())) {
            TRoot renamed = shell::IDListToRoot(notification->second.get());
            if (renamed == FPath)
                break;
            SetPath(renamed);
            TCustomNameSpaceTreeControl* owner = collection_ != nullptr ? collection_->Owner() : nullptr;
            if (owner != nullptr && owner->OnRootRenamed)
                owner->OnRootRenamed();
        }
        break;
    case RootReaction::RemoveSelf:
        // The collection frees the root after this message of its window has returned.
        if (collection_ != nullptr && IsOwnFolder(notification->first.get()))
            collection_->DeleteLater(*this);
        break;
    case RootReaction::None:
        break;
    }
}

// TNamespaceTreeRoots

TNamespaceTreeRoots::TNamespaceTreeRoots(TCustomNameSpaceTreeControl* owner) : owner_(owner) {}

TNamespaceTreeRoots::~TNamespaceTreeRoots() {
    Clear();
}

TNamespaceTreeRoot& TNamespaceTreeRoots::Add() {
    std::unique_ptr<TNamespaceTreeRoot> root(new TNamespaceTreeRoot(this));
    TNamespaceTreeRoot& added = *root;
    items_.push_back(std::move(root));
    Notify(added, cnAdded);
    return added;
}

TNamespaceTreeRoot& TNamespaceTreeRoots::Insert(int index) {
    CheckIndex(index, Count() + 1);
    TNamespaceTreeRoot& root = Add();
    Move(Count() - 1, index);
    return root;
}

TNamespaceTreeRoot& TNamespaceTreeRoots::Items(int index) const {
    CheckIndex(index, Count());
    return *items_[static_cast<size_t>(index)];
}

void TNamespaceTreeRoots::SetItem(int index, const TNamespaceTreeRoot& value) {
    Items(index).Assign(value);
}

void TNamespaceTreeRoots::Delete(int index) {
    CheckIndex(index, Count());
    TNamespaceTreeRoot* target = items_[static_cast<size_t>(index)].get();
    Notify(*target, cnDeleting);
    // The tree's callbacks during the detach may have changed the list; find the root again.
    index = IndexOf(target);
    if (index < 0)
        return;
    std::unique_ptr<TNamespaceTreeRoot> root = std::move(items_[static_cast<size_t>(index)]);
    items_.erase(items_.begin() + index);
    Free(std::move(root));
}

void TNamespaceTreeRoots::Free(std::unique_ptr<TNamespaceTreeRoot> root) {
    root->collection_ = nullptr;
    // A root that a call still holds is freed when the last hold ends.
    if (root->messageDepth_ > 0) {
        root->UnregistNotify();
        TNamespaceTreeRoot* raw = root.get();
        raw->pendingFree_ = std::move(root);
    }
}

void TNamespaceTreeRoot::Release(TNamespaceTreeRoot& root) noexcept {
    --root.messageDepth_;
    if (root.messageDepth_ == 0 && root.pendingFree_) {
        // Deleted while held: freed now that nothing of it is in use any more.
        std::unique_ptr<TNamespaceTreeRoot> self = std::move(root.pendingFree_);
    }
}

void TNamespaceTreeRoots::Move(int fromIndex, int toIndex) {
    CheckIndex(fromIndex, Count());
    CheckIndex(toIndex, Count());
    if (fromIndex == toIndex)
        return;
    auto first = items_.begin();
    if (fromIndex < toIndex)
        std::rotate(first + fromIndex, first + fromIndex + 1, first + toIndex + 1);
    else
        std::rotate(first + toIndex, first + fromIndex, first + fromIndex + 1);
    // The live tree keeps the collection's order: the moved root goes to its new place.
    TNamespaceTreeRoot& moved = *items_[static_cast<size_t>(toIndex)];
    if (owner_ != nullptr && moved.FSHItem)
        owner_->AttachRoot(&moved);
}

void TNamespaceTreeRoots::Clear() {
    std::vector<std::unique_ptr<TNamespaceTreeRoot>> roots = std::move(items_);
    items_.clear();
    for (auto& root : roots)
        Free(std::move(root));
}

int TNamespaceTreeRoots::IndexOf(const TNamespaceTreeRoot* root) const {
    auto it =
        std::find_if(items_.begin(), items_.end(), [root](const auto& item) { return item.get() == root; });
    return it == items_.end() ? -1 : static_cast<int>(std::distance(items_.begin(), it));
}

void TNamespaceTreeRoots::CheckIndex(int index, int limit) const {
    if (index < 0 || index >= limit) {
        wchar_t text[96];
        std::swprintf(text, 96, L"リストのインデックスが範囲を超えています (%d)", index);
        throw gui::UserError(text);
    }
}

void TNamespaceTreeRoots::Notify(TNamespaceTreeRoot& item, TCollectionNotification action) {
    if (owner_ == nullptr)
        return;
    switch (action) {
    case cnAdded:
        if (!item.FPath.empty())
            owner_->AttachRoot(&item);
        break;
    case cnDeleting:
        owner_->DetachRoot(&item);
        break;
    case cnExtracting:
        break;
    }
}

void TNamespaceTreeRoots::Update(TNamespaceTreeRoot* item) {
    if (owner_ != nullptr && item != nullptr)
        owner_->AttachRoot(item);
}

void TNamespaceTreeRoots::DeleteLater(TNamespaceTreeRoot& root) {
    if (root.collection_ != this)
        return;
    root.leaving_ = true;
    root.UnregistNotify();
    deleteLeaving_.Post();
}

void TNamespaceTreeRoots::DeleteLeavingRoots() {
    std::vector<TNamespaceTreeRoot*> leaving;
    for (const auto& root : items_) {
        if (root->leaving_)
            leaving.push_back(root.get());
    }
    // Each deletion may call back into the tree; look every root up again.
    for (TNamespaceTreeRoot* root : leaving) {
        int index = IndexOf(root);
        if (index >= 0)
            Delete(index);
    }
}

} // namespace shellctrls
