#pragma once
// TNameSpaceTreeControl: a child control that hosts the Shell's namespace tree (the
// folder tree of the Explorer navigation pane). The Shell's tree exists exactly as
// long as the control's window: it is created, initialised with the control's
// styles, advised and given every root when the window is created, and unadvised,
// emptied of its roots and released when the window goes, so it survives re-creation
// of the window. A tree that someone else still holds then calls nothing of ours.
// Styles, roots and events belong to the control and carry over to each new tree.
//
// The item operations forward to the Shell's tree and return its HRESULT unchanged;
// while there is no tree they return E_PENDING and call nothing.
#include "gui/Subclass.h"
#include "gui/Window.h"
#include "shellctrls/NamespaceTreeRoot.h"
#include "shellctrls/ScrollIn.h"
#include "shellctrls/TreeEvents.h"
#include "shellctrls/TreeSinks.h"
#include "shellctrls/TreeStyles.h"

#include <windows.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <functional>

namespace shellctrls {

// One window message, as OnViewWndProc receives it; a handler may change Msg,
// WParam and LParam before the tree view's own procedure sees them.
struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};
using TWndProc = std::function<void(TMessage& message)>;

// Makes the Shell's tree object; tests put a recording fake in its place.
using TreeFactory = std::function<HRESULT(INameSpaceTreeControl** tree)>;
// CoCreateInstance of the Shell's NamespaceTreeControl, in-process.
HRESULT CreateShellTree(INameSpaceTreeControl** tree);

class TCustomNameSpaceTreeControl : public gui::Window, public TNameSpaceTreeEvents {
public:
    // The control starts without a window (and so without a tree): 121 x 97 pixels,
    // visible, Styles [nstcsHasExpandos], Style2s [], no roots.
    explicit TCustomNameSpaceTreeControl(gui::Window& parent, TreeFactory factory = CreateShellTree);
    ~TCustomNameSpaceTreeControl() override;

    // Creates the window and with it the tree; raises gui::HResultError when the tree
    // cannot be created, initialised or advised (the window then stays, without a tree).
    void CreateHandle();
    // Destroys the window and creates it again: a fresh tree with the same styles and roots.
    void RecreateHandle();
    using gui::Window::DestroyHandle;

    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop);

    TNamespaceTreeControlStyles Styles() const { return FlagsToStyles(FStyles); }
    // Applied at once to a live tree: old flags cleared, new ones set. Raises
    // gui::HResultError when the tree refuses; the stored styles then stay as they were.
    void SetStyles(TNamespaceTreeControlStyles styles);
    TNamespaceTreeControlStyle2s Style2s() const { return FlagsToStyle2s(FStyle2s); }
    void SetStyle2s(TNamespaceTreeControlStyle2s styles);

    TNamespaceTreeRoots& Roots() { return FRoots; }
    const TNamespaceTreeRoots& Roots() const { return FRoots; }

    // True while the Shell's tree exists.
    bool Actuated() const { return FTree != nullptr; }
    // The tree's own window and its inner "SysTreeView32"; null without a tree.
    HWND TreeControlHandle() const { return FTreeControl; }
    HWND TreeViewHandle() const { return FTreeView; }

    // Raised for every message of the tree view, before its own procedure.
    TWndProc OnViewWndProc;
    // Raised when the tree view takes the keyboard focus.
    std::function<void()> OnEnter;
    // Raised when a watched root followed its folder to a new name.
    std::function<void()> OnRootRenamed;

    // Item operations. Out-pointers are set to nil first, in every case.
    HRESULT SetItemState(IShellItem* psi, NSTCITEMSTATE nstcisMask, NSTCITEMSTATE nstcisFlags);
    HRESULT GetItemState(IShellItem* psi, NSTCITEMSTATE nstcisMask, NSTCITEMSTATE* pnstcisFlags);
    HRESULT GetSelectedItems(IShellItemArray** psiaItems);
    HRESULT GetItemCustomState(IShellItem* psi, int* piStateNumber);
    HRESULT SetItemCustomState(IShellItem* psi, int iStateNumber);
    HRESULT EnsureItemVisible(IShellItem* psi);
    HRESULT SetTheme(LPCWSTR pszTheme);
    HRESULT GetNextItem(IShellItem* psi, NSTCGNI nstcgi, IShellItem** ppsiNext);
    HRESULT HitTest(POINT* ppt, IShellItem** ppsiOut);
    HRESULT GetItemRect(IShellItem* psi, RECT* prect);
    HRESULT CollapseAll();

    // The auto-scroll step while dragging: where the screen point lies relative to the
    // tree view's edges (bands of range pixels); dtLeft to dtDown mean that one line
    // was scrolled that way.
    TDirectionTest ScrollIn(POINT screenPos, int range);

    // Keyboard focus to the tree view.
    void SetFocus();
    // Also repaint the tree view.
    void Invalidate();
    void Update();

    // Put one root into the live tree, or re-insert it at its place there.
    void AttachRoot(TNamespaceTreeRoot* root);
    // Take one root out of the live tree.
    void DetachRoot(TNamespaceTreeRoot* root);
    // Rebuild the live tree's roots from the collection, in index order.
    void ReloadRoots();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void HandleCreated() override;
    void HandleDestroying() override;

private:
    void CreateTree();
    void ReleaseTree() noexcept;
    void FocusTree();
    void WMSize(int width, int height);
    void WMSetFocus();
    LRESULT TreeViewWndProc(UINT message, WPARAM wParam, LPARAM lParam);
    Microsoft::WRL::ComPtr<INameSpaceTreeControl2> Tree2() const;
    // The place among the live tree's roots that a root of the collection takes.
    int TreeIndexOf(const TNamespaceTreeRoot* root) const;
    int TreeRootCount() const;

    TreeFactory factory_;
    TNameSpaceTreeSinks sinks_;
    Microsoft::WRL::ComPtr<INameSpaceTreeControl> FTree;
    HWND FTreeControl = nullptr;
    HWND FTreeView = nullptr;
    gui::Subclass FViewSubclass;
    DWORD FCookie = 0;
    NSTCSTYLE FStyles = NSTCS_HASEXPANDOS;
    DWORD FStyle2s = 0;
    bool tabStop_ = false;
    TNamespaceTreeRoots FRoots;
};

// The control as a frame places it; it adds nothing to its base.
class TNameSpaceTreeControl : public TCustomNameSpaceTreeControl {
public:
    using TCustomNameSpaceTreeControl::TCustomNameSpaceTreeControl;
};

} // namespace shellctrls
