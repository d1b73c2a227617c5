#pragma once
// The frame's item commands, offered to the Shell through IContextMenu: the Shell
// merges them into an item's own context menu and hands the chosen one back. The menu
// is never shown by itself.
//
// The object is a member of its frame and lives exactly as long as the frame; the
// interface does not count references.
#include "gui/PopupMenu.h"

#include <windows.h>
#include <shobjidl.h>

#include <array>
#include <optional>

namespace nav {

// The ten command entries, in the order the merge numbers them.
enum TContextEntry : int {
    ceNewFrame = 0,
    ceNewRoot,
    ceOpen,
    ceOpenTarget,
    ceRootFilters,
    ceFolders,
    ceNonFolders,
    ceIncludeHidden,
    ceIncludeSuperHidden,
    ceRemoveRoot,
};
constexpr int kContextEntryCount = 10;

// The first id from from to to (both included) that no item of menu, submenus
// included, carries as its command id. None when there is none (also when from > to).
std::optional<UINT> FindFreeCommandId(HMENU menu, UINT from, UINT to);

class TPopupMenu : public gui::PopupMenu, public IContextMenu {
public:
    // The ten entries with their captions and tags, none with a click handler yet.
    TPopupMenu();
    TPopupMenu(const TPopupMenu&) = delete;
    TPopupMenu& operator=(const TPopupMenu&) = delete;
    virtual ~TPopupMenu() = default;

    gui::MenuItem& Entry(TContextEntry entry) const { return *Items()[static_cast<size_t>(entry)]; }
    gui::MenuItem& NewFrameMnu() const { return Entry(ceNewFrame); }
    gui::MenuItem& NewRootMnu() const { return Entry(ceNewRoot); }
    gui::MenuItem& OpenMnu() const { return Entry(ceOpen); }
    gui::MenuItem& OpenTargetMnu() const { return Entry(ceOpenTarget); }
    gui::MenuItem& RootFiltersMnu() const { return Entry(ceRootFilters); }
    gui::MenuItem& RemoveRootMnu() const { return Entry(ceRemoveRoot); }

    // Raised around the click of a chosen entry, so that the owner knows a command
    // runs inside the Shell's call.
    std::function<void()> OnCommandStart;
    std::function<void()> OnCommandEnd;

    // IUnknown
    IFACEMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    IFACEMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(-1); }
    IFACEMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(-1); }

    // IContextMenu
    IFACEMETHODIMP QueryContextMenu(HMENU hmenu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast,
                                    UINT uFlags) override;
    IFACEMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* pici) override;
    IFACEMETHODIMP GetCommandString(UINT_PTR idCmd, UINT uType, UINT* pReserved, CHAR* pszName,
                                    UINT cchMax) override;

    // The entry that a verb offset chooses (the offset of its command id from the
    // first id); none for an offset that names no entry.
    std::optional<TContextEntry> EntryOfVerb(UINT offset) const;
    // Clicks the entry as the user would: a filter item toggles its check mark first.
    // The submenu entry does nothing.
    void ClickEntry(TContextEntry entry);

private:
    void Merge(HMENU hmenu, UINT idCmdFirst, UINT idCmdLast);

    // The offsets from the first id that the last merge handed out, by entry; -1 for
    // an entry that got none. Empty until the first merge.
    std::optional<std::array<int, kContextEntryCount>> offsets_;
};

} // namespace nav
