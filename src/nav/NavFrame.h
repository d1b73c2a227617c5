#pragma once
// TNavFrame: one pane of the edge window, a caption bar above (or beside) one Shell
// namespace tree. The frame's owner creates, orders and destroys it.
#include "gui/Application.h"
#include "gui/CaptionBar.h"
#include "gui/PopupMenu.h"
#include "gui/SpeedButton.h"
#include "gui/Window.h"
#include "nav/ContextMenu.h"
#include "nav/FrameOwner.h"
#include "nav/ReserveList.h"
#include "shell/ItemPath.h"
#include "shellctrls/NameSpaceTreeControl.h"

#include <shobjidl.h>
#include <wrl/client.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace nav {

using gui::TAlign;

class TNavFrame : public gui::Window {
public:
    // A frame of 320 x 240 inside parent, with an empty tree; owner gets its changes.
    TNavFrame(INavFrameOwner& owner, gui::Window& parent, int id);
    ~TNavFrame() override;

    int ID() const { return FID; }
    // Orients the frame: alTop stacks it in a column (caption bar at the top), alLeft
    // puts it in a row (caption bar at the left, text running upwards).
    void SetFrameAlign(TAlign value);
    bool Collapsed() const { return FSwitchingBtn->Tag() == 2; }
    void SetCollapsed(bool value);
    int ExpandWidth() const { return FExpandWidth; }
    void SetExpandWidth(int value);
    int ExpandHeight() const { return FExpandHeight; }
    void SetExpandHeight(int value);
    // The tree's first selected item, or nil.
    Microsoft::WRL::ComPtr<IShellItem> Selected();

    shellctrls::TNameSpaceTreeControl& NameSpaceTree() { return *FNameSpaceTree; }
    gui::CaptionBar& CaptionPanel() { return *FCaptionPanel; }
    gui::SpeedButton& PreferenceBtn() { return *FPreferenceBtn; }
    gui::SpeedButton& SwitchingBtn() { return *FSwitchingBtn; }
    gui::SpeedButton& CloseBtn() { return *FCloseBtn; }
    gui::PopupMenu& PreferenceMenu() { return FPreferenceMenu; }
    const gui::ImageList& CaptionImages() const { return FCaptionPanel->Images(); }

    // Item paths still to be expanded (each once), and still to be selected or shown
    // (every entry but the last is selected; the last is only scrolled into view).
    TReserveList ExpandingReserves{true};
    TReserveList MarkingReserves{false};

    // The top-level tree item above item (item itself at the top); nil for nil.
    Microsoft::WRL::ComPtr<IShellItem> TrackRoot(IShellItem* item);
    // The root whose item is item; null when none is.
    shellctrls::TNamespaceTreeRoot* RootAs(IShellItem* item);
    // Records the expanded items from first on to the end of the tree, then select and
    // focus, into the reserves; stops a running restore. Each argument may be nil.
    void StoreReserves(IShellItem* first, IShellItem* select, IShellItem* focus);
    // Starts a restore of the reserves at the next idle times, or (while one runs)
    // performs its next step: one item expanded, selected or shown.
    void RestoreReserves();
    // Takes the first entry out of reserves and gives its item, or its deepest
    // existing ancestor.
    Microsoft::WRL::ComPtr<IShellItem> PopReserve(TReserveList& reserves);
    // Registers the root holding select again and restores its expanded items and select.
    void Reload(IShellItem* select);

    // The item paths of the expanded items in display order from first on to the end of
    // the tree; empty for nil.
    std::vector<std::wstring> ExpandedItemPaths(IShellItem* first);
    // What the data file keeps of the tree: for each root, in index order, the expanded
    // items from that root on to the end of the tree, and the selected item under the
    // root that holds it. While a restore runs, what it has still to put back counts as
    // well, so the state the user had is kept whole; the restore is not disturbed. (A
    // frame whose start-up restore is pending has not read the file yet: what it is to
    // restore is still there, and the save takes it from there.)
    struct TTreeState {
        std::vector<std::vector<std::wstring>> expands;
        std::wstring selected;
        int selectedRoot = -1;
    };
    TTreeState TreeState();

    // The restore's state: which idle handler is attached.
    enum class TRestoreState { None, CreatePending, Restoring };
    TRestoreState RestoreState() const { return FRestoreState; }
    // The settings loader asks for the remembered state to be read back once the tree
    // is ready.
    void RestoreAtCreate() { SetRestoreState(TRestoreState::CreatePending); }
    void AppNavEventsIdleAtCreate();
    void AppNavEventsIdleAtRestore();
    void NameSpaceTreeNTEOnAfterExpand(IShellItem* psi, HRESULT& result);

    // While one lives, what the tree reports comes from the frame's own calls (a restore
    // step, registering a root again): no change of the user's. The user's expansions
    // and selections count, before, during and after any restore.
    class TOwnTreeChange {
    public:
        explicit TOwnTreeChange(TNavFrame& frame) : frame_(frame) { ++frame_.FOwnTreeChanges; }
        TOwnTreeChange(const TOwnTreeChange&) = delete;
        TOwnTreeChange& operator=(const TOwnTreeChange&) = delete;
        ~TOwnTreeChange() { --frame_.FOwnTreeChanges; }

    private:
        TNavFrame& frame_;
    };

    // Handlers, public so that they can be driven as the user would.
    void CaptionPanelClick();
    void PreferenceMenuPopup();
    void PreferenceMnusClick(gui::MenuItem& item);
    void SwitchingBtnClick() { SetCollapsed(!Collapsed()); }
    void CloseBtnClick();
    // The keyboard focus left the frame for the window to: a change of the frame
    // layout when it went to another control of the same window, none when another
    // application took it.
    void FrameExit(HWND to);
    void NameSpaceTreeEnter();
    void NameSpaceTreeNTEOnSelectionChanged(IShellItemArray* selection, HRESULT& result);

    // Item commands (NavFrameCommands.cpp). ContextMenu is what the Shell merges into
    // an item's context menu; Choices are the items the next command acts on.
    TPopupMenu& ContextMenu() { return FContextMenu; }
    IShellItemArray* Choices() const { return FChoices.Get(); }
    void NameSpaceTreeNTEOnBeforeContextMenu(IShellItem* psi, const IID& riid, void*& ppv, HRESULT& result);
    void NewFrameMnuClick();
    void NewRootMnuClick();
    void OpenMnuClick();
    void OpenTargetMnuClick();
    void RootFilterMnusClick(gui::MenuItem& item);
    void RemoveRootMnuClick();
    void NameSpaceTreeNTDHOnDragPosition(IShellItem* psiOver, IShellItemArray* psiaData, int iNewPosition,
                                         int iOldPosition, HRESULT& result);
    void NameSpaceTreeNTDHOnDrop(IShellItem* psiOver, IShellItemArray* psiaData, int iPosition,
                                 DWORD grfKeyState, DWORD& pdwEffect, HRESULT& result);
    // The one way a command closes this frame or removes a root: the request is posted
    // and carried out once no command and no Shell call of this frame is on the stack,
    // so nothing the Shell still uses is freed under it.
    void PostClose();
    void PostRemoveRoot(shellctrls::TNamespaceTreeRoot& root);
    // Shows one of the messages about shortcut targets: an error dialog with one OK
    // button, centred on the screen. Tests put a recorder in its place.
    std::function<void(const std::wstring& text)> ShowMessage;

    // Keys of the tree for the window around it: Escape (not while a name is being
    // edited, where it ends the edit), and F6 or Shift+F6 (forward false) to move the
    // focus on to the next part of the window.
    std::function<void()> OnKeyboardEscape;
    std::function<void(bool forward)> OnFocusCycle;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CaptionPanelMouseDown(gui::MouseButton button, POINT point);
    void CaptionPanelDragOver(gui::Window& source, bool& accept);
    void CaptionPanelDragDrop(gui::Window& source);
    void NameSpaceTreeViewWndProc(shellctrls::TMessage& message);
    // Escape and F6 in the tree view; true when used up.
    bool NameSpaceTreeKeyDown(WPARAM key);
    void BuildContextMenu();
    void ItemViewMessage(const shellctrls::TMessage& message);
    // Carries out what PostClose and PostRemoveRoot asked for; true for their message.
    bool HandleDeferred(UINT message);
    void RunDeferred();
    void ScrollFramesToEnd();
    Microsoft::WRL::ComPtr<IShellItem> FirstChoice() const;
    void CommandStarted() { ++FCommandDepth; }
    void CommandEnded();

    void SetRestoreState(TRestoreState state);
    // This frame's turn in the queue of restoring frames: true when it did a step.
    bool RestoreTurn();
    void NameSpaceTreeRootRenamed();

    // The tree's changes count as the user's (none of the frame's own calls runs).
    bool UserTreeChange() const { return FOwnTreeChanges == 0; }

    INavFrameOwner& FOwner;
    TRestoreState FRestoreState = TRestoreState::None;
    int FOwnTreeChanges = 0;
    // The folders of the last item path restored, from which the next one is found.
    shell::ItemPathResolver FPathResolver;
    int FID;
    int FExpandWidth = 300;
    int FExpandHeight = 225;
    Microsoft::WRL::ComPtr<IShellItemArray> FChoices;

    std::unique_ptr<gui::CaptionBar> FCaptionPanel;
    // The buttons belong to the caption bar.
    gui::SpeedButton* FPreferenceBtn = nullptr;
    gui::SpeedButton* FCloseBtn = nullptr;
    gui::SpeedButton* FSwitchingBtn = nullptr;
    std::unique_ptr<shellctrls::TNameSpaceTreeControl> FNameSpaceTree;
    gui::PopupMenu FPreferenceMenu;
    TPopupMenu FContextMenu;
    // Commands of this frame running now; deferred requests wait until none does.
    int FCommandDepth = 0;
    bool FCloseRequested = false;
    // The items of the roots to remove: a root is found again by its item when the
    // request is carried out, so one that went meanwhile is never touched.
    std::vector<Microsoft::WRL::ComPtr<IShellItem>> FRootsToRemove;
};

// The frame whose caption bar a window is, or null.
TNavFrame* FrameOfCaption(gui::Window& window);

} // namespace nav
