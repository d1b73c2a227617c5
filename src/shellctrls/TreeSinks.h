#pragma once
// The COM side of the control: the four interfaces through which the Shell's tree
// calls back. Each method presets its result to E_NOTIMPL, raises its event with
// the call's arguments and returns the result, after three translations of a result
// left at E_NOTIMPL: IncludeItem gives S_OK (show the item), OnItemClick S_FALSE (let
// the tree handle the click) and OnKeyboardInput S_OK. A handler's exception is
// reported by the application and never crosses into the Shell; the call then
// fails.
//
// The object lives inside its owner and does not count references.
#include "shellctrls/TreeEvents.h"

#include <windows.h>
#include <shobjidl.h>

namespace shellctrls {

class TNameSpaceTreeSinks final : public INameSpaceTreeControlDropHandler,
                                  public INameSpaceTreeControlEvents,
                                  public INameSpaceTreeControlCustomDraw,
                                  public IShellItemFilter {
public:
    explicit TNameSpaceTreeSinks(const TNameSpaceTreeEvents& events) : events_(events) {}
    TNameSpaceTreeSinks(const TNameSpaceTreeSinks&) = delete;
    TNameSpaceTreeSinks& operator=(const TNameSpaceTreeSinks&) = delete;

    // What TreeAdvise receives; any of the four interfaces answers for the others.
    IUnknown* AdviseObject() noexcept { return static_cast<INameSpaceTreeControlCustomDraw*>(this); }
    IShellItemFilter* Filter() noexcept { return this; }

    // IUnknown
    IFACEMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    IFACEMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(-1); }
    IFACEMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(-1); }

    // IShellItemFilter
    IFACEMETHODIMP IncludeItem(IShellItem* psi) override;
    IFACEMETHODIMP GetEnumFlagsForItem(IShellItem* psi, SHCONTF* pgrfFlags) override;

    // INameSpaceTreeControlCustomDraw
    IFACEMETHODIMP PrePaint(HDC hdc, RECT* prc, LRESULT* plres) override;
    IFACEMETHODIMP PostPaint(HDC hdc, RECT* prc) override;
    IFACEMETHODIMP ItemPrePaint(HDC hdc, RECT* prc, NSTCCUSTOMDRAW* pnstccdItem, COLORREF* pclrText,
                                COLORREF* pclrTextBk, LRESULT* plres) override;
    IFACEMETHODIMP ItemPostPaint(HDC hdc, RECT* prc, NSTCCUSTOMDRAW* pnstccdItem) override;

    // INameSpaceTreeControlEvents
    IFACEMETHODIMP OnItemClick(IShellItem* psi, NSTCEHITTEST nstceHitTest,
                               NSTCECLICKTYPE nstceClickType) override;
    IFACEMETHODIMP OnPropertyItemCommit(IShellItem* psi) override;
    IFACEMETHODIMP OnItemStateChanging(IShellItem* psi, NSTCITEMSTATE nstcisMask,
                                       NSTCITEMSTATE nstcisState) override;
    IFACEMETHODIMP OnItemStateChanged(IShellItem* psi, NSTCITEMSTATE nstcisMask,
                                      NSTCITEMSTATE nstcisState) override;
    IFACEMETHODIMP OnSelectionChanged(IShellItemArray* psiaSelection) override;
    IFACEMETHODIMP OnKeyboardInput(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    IFACEMETHODIMP OnBeforeExpand(IShellItem* psi) override;
    IFACEMETHODIMP OnAfterExpand(IShellItem* psi) override;
    IFACEMETHODIMP OnBeginLabelEdit(IShellItem* psi) override;
    IFACEMETHODIMP OnEndLabelEdit(IShellItem* psi) override;
    IFACEMETHODIMP OnGetToolTip(IShellItem* psi, LPWSTR pszTip, int cchTip) override;
    IFACEMETHODIMP OnBeforeItemDelete(IShellItem* psi) override;
    IFACEMETHODIMP OnItemAdded(IShellItem* psi, BOOL fIsRoot) override;
    IFACEMETHODIMP OnItemDeleted(IShellItem* psi, BOOL fIsRoot) override;
    IFACEMETHODIMP OnBeforeContextMenu(IShellItem* psi, REFIID riid, void** ppv) override;
    IFACEMETHODIMP OnAfterContextMenu(IShellItem* psi, IContextMenu* pcmIn, REFIID riid, void** ppv) override;
    IFACEMETHODIMP OnBeforeStateImageChange(IShellItem* psi) override;
    IFACEMETHODIMP OnGetDefaultIconIndex(IShellItem* psi, int* piDefaultIcon, int* piOpenIcon) override;

    // INameSpaceTreeControlDropHandler
    IFACEMETHODIMP OnDragEnter(IShellItem* psiOver, IShellItemArray* psiaData, BOOL fOutsideSource,
                               DWORD grfKeyState, DWORD* pdwEffect) override;
    IFACEMETHODIMP OnDragOver(IShellItem* psiOver, IShellItemArray* psiaData, DWORD grfKeyState,
                              DWORD* pdwEffect) override;
    IFACEMETHODIMP OnDragPosition(IShellItem* psiOver, IShellItemArray* psiaData, int iNewPosition,
                                  int iOldPosition) override;
    IFACEMETHODIMP OnDrop(IShellItem* psiOver, IShellItemArray* psiaData, int iPosition, DWORD grfKeyState,
                          DWORD* pdwEffect) override;
    IFACEMETHODIMP OnDropPosition(IShellItem* psiOver, IShellItemArray* psiaData, int iNewPosition,
                                  int iOldPosition) override;
    IFACEMETHODIMP OnDragLeave(IShellItem* psiOver) override;

private:
    const TNameSpaceTreeEvents& events_;
};

} // namespace shellctrls
