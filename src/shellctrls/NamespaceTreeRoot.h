#pragma once
// The roots of a namespace tree control. TNamespaceTreeRoots is the ordered record of
// truth; while the control has a live tree, every change of a root (added, given a
// designation, filters or style changed, reloaded, moved, deleted) is carried into
// the tree at once, in collection order.
//
// Each root also watches its own folder (every designation but exactly "rfDesktop")
// through the Shell's change notification, delivered to a hidden window of its own
// (made when it first watches):
// when the folder gets a new name the root follows it, and when the folder is deleted
// (or its drive removed) the collection takes the root out of itself and the tree
// once the notification has returned.
#include "shell/RootDesignation.h"
#include "shell/ShellHandles.h"
#include "gui/MessageWindow.h"
#include "shellctrls/RootStyles.h"

#include <windows.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <memory>
#include <string>
#include <vector>

namespace shellctrls {

class TCustomNameSpaceTreeControl;
class TNamespaceTreeRoots;

using shell::TRoot;

class TNamespaceTreeRoot {
public:
    TNamespaceTreeRoot(const TNamespaceTreeRoot&) = delete;
    TNamespaceTreeRoot& operator=(const TNamespaceTreeRoot&) = delete;
    // Ends the notification and destroys the hidden window; leaves the tree alone.
    ~TNamespaceTreeRoot();

    // The root designation: a TRootFolder value name or a parsing name. Setting a new
    // one (compared exactly, case-sensitive) re-registers for change notification and
    // puts the root into the live tree.
    const TRoot& Path() const { return FPath; }
    void SetPath(const TRoot& value);

    // Changing filters or style re-inserts a root that has a designation.
    TShellContactFilters Filters() const { return FlagsToFilters(FFilters); }
    void SetFilters(TShellContactFilters value);
    TNamespaceTreeControlRootStyles Styles() const { return FlagsToRootStyles(FStyles); }
    void SetStyles(TNamespaceTreeControlRootStyles value);
    // The flag words the tree receives.
    SHCONTF FilterFlags() const { return FFilters; }
    NSTCROOTSTYLE StyleFlags() const { return FStyles; }

    // The item the live tree received for this root; nil when the root is not in a
    // tree or its designation did not resolve. Without a tree it keeps what it last held.
    IShellItem* SHItem() const { return FSHItem.Get(); }

    // The position in the collection; -1 once the root has left it.
    int Index() const;
    TNamespaceTreeRoots* Collection() const { return collection_; }

    // Re-inserts the root into the live tree with its current values (not without a
    // designation).
    void Reload();
    // Takes over designation, filters and style of source and re-inserts the root.
    void Assign(const TNamespaceTreeRoot& source);
    // The designation, or the class name for a root without one.
    std::wstring GetDisplayName() const;

    // Keeps the root allocated while a call works on it: a root deleted from its
    // collection meanwhile is freed only when the last hold ends.
    class Hold {
    public:
        explicit Hold(TNamespaceTreeRoot& root) noexcept : root_(root) { ++root_.messageDepth_; }
        ~Hold() { TNamespaceTreeRoot::Release(root_); }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        // False once the root has left its collection.
        bool InCollection() const noexcept { return root_.collection_ != nullptr; }

    private:
        TNamespaceTreeRoot& root_;
    };

    // The hidden window (null until the root first watches its folder) and the
    // registration id (0 when not watching).
    HWND NotifyWindow() const;
    ULONG RegistID() const { return FRegistID; }

private:
    friend class TNamespaceTreeRoots;
    friend class TCustomNameSpaceTreeControl;

    explicit TNamespaceTreeRoot(TNamespaceTreeRoots* collection);

    void RegistNotify();
    void UnregistNotify() noexcept;
    // A new designation: registered for its folder's notifications, then into the tree.
    void RegistNotifyAndChanged();
    // The designation's item, from what the registration just found when it did (the
    // Shell parses a designation at some cost).
    Microsoft::WRL::ComPtr<IShellItem> ResolvedItem() const;
    void Changed();
    // A change notification of the Shell, given the Shell's lock handle and process id.
    void ChangeNotified(WPARAM lock, LPARAM processId);
    // Ends one hold; frees the root when it was deleted meanwhile and nothing holds it.
    static void Release(TNamespaceTreeRoot& root) noexcept;
    // Whether an ID list of a notification names this root's own folder.
    bool IsOwnFolder(PCIDLIST_ABSOLUTE idList) const;

    class NotifyWindowImpl;

    TNamespaceTreeRoots* collection_;
    std::unique_ptr<NotifyWindowImpl> FHandle;
    ULONG FRegistID = 0;
    TRoot FPath;
    SHCONTF FFilters = 0;
    NSTCROOTSTYLE FStyles = 0;
    Microsoft::WRL::ComPtr<IShellItem> FSHItem;
    // The folder the registration watches.
    shell::unique_pidl watched_;
    // What the registration made within the change under way found of the designation:
    // nothing known, that it does not resolve, or the folder it watches.
    enum class Resolved { Unknown, Failed, Watched };
    Resolved resolved_ = Resolved::Unknown;
    // The folder is gone: the collection takes the root out at its next turn.
    bool leaving_ = false;
    // Calls that hold the root now (see Hold); a root deleted meanwhile keeps itself
    // alive here until the last of them returns.
    int messageDepth_ = 0;
    std::unique_ptr<TNamespaceTreeRoot> pendingFree_;
};

class TNamespaceTreeRoots {
public:
    // owner: the control whose tree mirrors the collection, or null for a collection
    // that reaches no tree (its roots then watch nothing).
    explicit TNamespaceTreeRoots(TCustomNameSpaceTreeControl* owner = nullptr);
    TNamespaceTreeRoots(const TNamespaceTreeRoots&) = delete;
    TNamespaceTreeRoots& operator=(const TNamespaceTreeRoots&) = delete;
    // Frees every root without taking it out of the tree one by one.
    ~TNamespaceTreeRoots();

    TCustomNameSpaceTreeControl* Owner() const { return owner_; }
    int Count() const { return static_cast<int>(items_.size()); }

    // A new root, without a designation, at the end or at index (0 to Count).
    TNamespaceTreeRoot& Add();
    TNamespaceTreeRoot& Insert(int index);
    // Raise gui::UserError for an index out of range.
    TNamespaceTreeRoot& Items(int index) const;
    TNamespaceTreeRoot& operator[](int index) const { return Items(index); }
    // Assigns value's designation, filters and style to the root at index.
    void SetItem(int index, const TNamespaceTreeRoot& value);
    // Takes the root out of the live tree, then frees it.
    void Delete(int index);
    // Moves a root to another index; the live tree follows.
    void Move(int fromIndex, int toIndex);
    // Frees every root without touching the tree.
    void Clear();
    int IndexOf(const TNamespaceTreeRoot* root) const;
    // Takes a root out as Delete does, once the message being handled now has
    // returned; the root stops watching at once.
    void DeleteLater(TNamespaceTreeRoot& root);

private:
    friend class TNamespaceTreeRoot;
    enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

    void CheckIndex(int index, int limit) const;
    void Notify(TNamespaceTreeRoot& item, TCollectionNotification action);
    void Update(TNamespaceTreeRoot* item);
    void DeleteLeavingRoots();
    // Frees a root taken out of the list, or leaves that to the last call holding it.
    static void Free(std::unique_ptr<TNamespaceTreeRoot> root);

    TCustomNameSpaceTreeControl* owner_;
    std::vector<std::unique_ptr<TNamespaceTreeRoot>> items_;
    gui::PostedCall deleteLeaving_{[this] { DeleteLeavingRoots(); }};
};

} // namespace shellctrls
