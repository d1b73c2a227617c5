#pragma once
// The events of the namespace tree: one per method of the sink interfaces that the
// Shell's tree calls, with that method's arguments in order (out-pointers as
// references) and a last `HRESULT& Result` that becomes the method's return value.
// Result is preset to E_NOTIMPL before a handler runs. No event passes a sender.
#include <windows.h>
#include <shobjidl.h>

#include <functional>

namespace shellctrls {

using TSIFIncludeItem = std::function<void(IShellItem* psi, HRESULT& Result)>;
using TSIFGetEnumFlagsForItem = std::function<void(IShellItem* psi, SHCONTF& pgrfFlags, HRESULT& Result)>;

using TNTCDPrePaint = std::function<void(HDC hdc, RECT& prc, LRESULT& plres, HRESULT& Result)>;
using TNTCDPostPaint = std::function<void(HDC hdc, RECT& prc, HRESULT& Result)>;
using TNTCDItemPrePaint =
    std::function<void(HDC hdc, RECT& prc, NSTCCUSTOMDRAW& pnstccdItem, COLORREF& pclrText,
                       COLORREF& pclrTextBk, LRESULT& plres, HRESULT& Result)>;
using TNTCDItemPostPaint =
    std::function<void(HDC hdc, RECT& prc, NSTCCUSTOMDRAW& pnstccdItem, HRESULT& Result)>;

using TNTEOnItemClick = std::function<void(IShellItem* psi, NSTCEHITTEST nstceHitTest,
                                           NSTCECLICKTYPE nstceClickType, HRESULT& Result)>;
using TNTEOnPropertyItemCommit = std::function<void(IShellItem* psi, HRESULT& Result)>;
using TNTEOnItemStateChanging = std::function<void(IShellItem* psi, NSTCITEMSTATE nstcisMask,
                                                   NSTCITEMSTATE nstcisState, HRESULT& Result)>;
using TNTEOnItemStateChanged = std::function<void(IShellItem* psi, NSTCITEMSTATE nstcisMask,
                                                  NSTCITEMSTATE nstcisState, HRESULT& Result)>;
using TNTEOnSelectionChanged = std::function<void(IShellItemArray* psiaSelection, HRESULT& Result)>;
using TNTEOnKeyboardInput = std::function<void(UINT uMsg, WPARAM wParam, LPARAM lParam, HRESULT& Result)>;
using TNTEOnBeforeExpand = std::function<void(IShellItem* psi, HRESULT& Result)>;
using TNTEOnAfterExpand = std::function<void(IShellItem* psi, HRESULT& Result)>;
using TNTEOnBeginLabelEdit = std::function<void(IShellItem* psi, HRESULT& Result)>;
using TNTEOnEndLabelEdit = std::function<void(IShellItem* psi, HRESULT& Result)>;
using TNTEOnGetToolTip = std::function<void(IShellItem* psi, LPWSTR pszTip, int cchTip, HRESULT& Result)>;
using TNTEOnBeforeItemDelete = std::function<void(IShellItem* psi, HRESULT& Result)>;
using TNTEOnItemAdded = std::function<void(IShellItem* psi, BOOL fIsRoot, HRESULT& Result)>;
using TNTEOnItemDeleted = std::function<void(IShellItem* psi, BOOL fIsRoot, HRESULT& Result)>;
// ppv is preset to nil; a handler that answers stores an interface of type riid in it.
using TNTEOnBeforeContextMenu =
    std::function<void(IShellItem* psi, const IID& riid, void*& ppv, HRESULT& Result)>;
using TNTEOnAfterContextMenu =
    std::function<void(IShellItem* psi, IContextMenu* pcmIn, const IID& riid, void*& ppv, HRESULT& Result)>;
using TNTEOnBeforeStateImageChange = std::function<void(IShellItem* psi, HRESULT& Result)>;
using TNTEOnGetDefaultIconIndex =
    std::function<void(IShellItem* psi, int& piDefaultIcon, int& piOpenIcon, HRESULT& Result)>;

using TNTDHOnDragEnter =
    std::function<void(IShellItem* psiOver, IShellItemArray* psiaData, BOOL fOutsideSource, DWORD grfKeyState,
                       DWORD& pdwEffect, HRESULT& Result)>;
using TNTDHOnDragOver = std::function<void(IShellItem* psiOver, IShellItemArray* psiaData, DWORD grfKeyState,
                                           DWORD& pdwEffect, HRESULT& Result)>;
using TNTDHOnDragPosition = std::function<void(IShellItem* psiOver, IShellItemArray* psiaData,
                                               int iNewPosition, int iOldPosition, HRESULT& Result)>;
using TNTDHOnDrop = std::function<void(IShellItem* psiOver, IShellItemArray* psiaData, int iPosition,
                                       DWORD grfKeyState, DWORD& pdwEffect, HRESULT& Result)>;
using TNTDHOnDropPosition = std::function<void(IShellItem* psiOver, IShellItemArray* psiaData,
                                               int iNewPosition, int iOldPosition, HRESULT& Result)>;
using TNTDHOnDragLeave = std::function<void(IShellItem* psiOver, HRESULT& Result)>;

// The handlers, in the order of the interfaces' methods. The control carries them
// as its own events.
struct TNameSpaceTreeEvents {
    // IShellItemFilter
    TSIFIncludeItem OnSIFIncludeItem;
    TSIFGetEnumFlagsForItem OnSIFGetEnumFlagsForItem;
    // INameSpaceTreeControlCustomDraw
    TNTCDPrePaint OnNTCDPrePaint;
    TNTCDPostPaint OnNTCDPostPaint;
    TNTCDItemPrePaint OnNTCDItemPrePaint;
    TNTCDItemPostPaint OnNTCDItemPostPaint;
    // INameSpaceTreeControlEvents
    TNTEOnItemClick OnNTEOnItemClick;
    TNTEOnPropertyItemCommit OnNTEOnPropertyItemCommit;
    TNTEOnItemStateChanging OnNTEOnItemStateChanging;
    TNTEOnItemStateChanged OnNTEOnItemStateChanged;
    TNTEOnSelectionChanged OnNTEOnSelectionChanged;
    TNTEOnKeyboardInput OnNTEOnKeyboardInput;
    TNTEOnBeforeExpand OnNTEOnBeforeExpand;
    TNTEOnAfterExpand OnNTEOnAfterExpand;
    TNTEOnBeginLabelEdit OnNTEOnBeginLabelEdit;
    TNTEOnEndLabelEdit OnNTEOnEndLabelEdit;
    TNTEOnGetToolTip OnNTEOnGetToolTip;
    TNTEOnBeforeItemDelete OnNTEOnBeforeItemDelete;
    TNTEOnItemAdded OnNTEOnItemAdded;
    TNTEOnItemDeleted OnNTEOnItemDeleted;
    TNTEOnBeforeContextMenu OnNTEOnBeforeContextMenu;
    TNTEOnAfterContextMenu OnNTEOnAfterContextMenu;
    TNTEOnBeforeStateImageChange OnNTEOnBeforeStateImageChange;
    TNTEOnGetDefaultIconIndex OnNTEOnGetDefaultIconIndex;
    // INameSpaceTreeControlDropHandler
    TNTDHOnDragEnter OnNTDHOnDragEnter;
    TNTDHOnDragOver OnNTDHOnDragOver;
    TNTDHOnDragPosition OnNTDHOnDragPosition;
    TNTDHOnDrop OnNTDHOnDrop;
    TNTDHOnDropPosition OnNTDHOnDropPosition;
    TNTDHOnDragLeave OnNTDHOnDragLeave;
};

} // namespace shellctrls
