#include "shellctrls/TreeSinks.h"

#include "gui/Application.h"
#include "gui/Error.h"

#include <shlwapi.h>

#include <new>
#include <utility>

namespace shellctrls {
namespace {

// Presets the result, runs the handler if there is one and keeps every exception on
// this side of the COM boundary.
template <typename Handler, typename... Args> HRESULT Raise(const Handler& handler, Args&&... args) noexcept {
    HRESULT result = E_NOTIMPL;
    try {
        if (handler)
            handler(std::forward<Args>(args)..., result);
    } catch (...) {
        HRESULT failure = gui::CurrentExceptionResult();
        try {
            gui::Application::Instance().HandleException();
        } catch (...) {
            // The reporter itself failed; the call still fails cleanly.
        }
        return failure;
    }
    return result;
}

HRESULT NotImplementedAs(HRESULT result, HRESULT replacement) noexcept {
    return result == E_NOTIMPL ? replacement : result;
}

// A reference for an out-pointer; the Shell may pass nil for one it does not read.
template <typename T> T& Ref(T* pointer, T& spare) noexcept {
    return pointer != nullptr ? *pointer : spare;
}

} // namespace

IFACEMETHODIMP TNameSpaceTreeSinks::QueryInterface(REFIID riid, void** ppv) {
    static const QITAB table[] = {
        QITABENT(TNameSpaceTreeSinks, INameSpaceTreeControlDropHandler),
        QITABENT(TNameSpaceTreeSinks, INameSpaceTreeControlEvents),
        QITABENT(TNameSpaceTreeSinks, INameSpaceTreeControlCustomDraw),
        QITABENT(TNameSpaceTreeSinks, IShellItemFilter),
        {nullptr, 0},
    };
    return ::QISearch(this, table, riid, ppv);
}

// IShellItemFilter

IFACEMETHODIMP TNameSpaceTreeSinks::IncludeItem(IShellItem* psi) {
    return NotImplementedAs(Raise(events_.OnSIFIncludeItem, psi), S_OK);
}

IFACEMETHODIMP TNameSpaceTreeSinks::GetEnumFlagsForItem(IShellItem* psi, SHCONTF* pgrfFlags) {
    SHCONTF spare = 0;
    return Raise(events_.OnSIFGetEnumFlagsForItem, psi, Ref(pgrfFlags, spare));
}

// INameSpaceTreeControlCustomDraw

IFACEMETHODIMP TNameSpaceTreeSinks::PrePaint(HDC hdc, RECT* prc, LRESULT* plres) {
    RECT spareRect{};
    LRESULT spareResult = 0;
    return Raise(events_.OnNTCDPrePaint, hdc, Ref(prc, spareRect), Ref(plres, spareResult));
}

IFACEMETHODIMP TNameSpaceTreeSinks::PostPaint(HDC hdc, RECT* prc) {
    RECT spareRect{};
    return Raise(events_.OnNTCDPostPaint, hdc, Ref(prc, spareRect));
}

IFACEMETHODIMP TNameSpaceTreeSinks::ItemPrePaint(HDC hdc, RECT* prc, NSTCCUSTOMDRAW* pnstccdItem,
                                                 COLORREF* pclrText, COLORREF* pclrTextBk, LRESULT* plres) {
    RECT spareRect{};
    NSTCCUSTOMDRAW spareItem{};
    COLORREF spareText = 0;
    COLORREF spareTextBk = 0;
    LRESULT spareResult = 0;
    return Raise(events_.OnNTCDItemPrePaint, hdc, Ref(prc, spareRect), Ref(pnstccdItem, spareItem),
                 Ref(pclrText, spareText), Ref(pclrTextBk, spareTextBk), Ref(plres, spareResult));
}

IFACEMETHODIMP TNameSpaceTreeSinks::ItemPostPaint(HDC hdc, RECT* prc, NSTCCUSTOMDRAW* pnstccdItem) {
    RECT spareRect{};
    NSTCCUSTOMDRAW spareItem{};
    return Raise(events_.OnNTCDItemPostPaint, hdc, Ref(prc, spareRect), Ref(pnstccdItem, spareItem));
}

// INameSpaceTreeControlEvents

IFACEMETHODIMP TNameSpaceTreeSinks::OnItemClick(IShellItem* psi, NSTCEHITTEST nstceHitTest,
                                                NSTCECLICKTYPE nstceClickType) {
    return NotImplementedAs(Raise(events_.OnNTEOnItemClick, psi, nstceHitTest, nstceClickType), S_FALSE);
}

IFACEMETHODIMP TNameSpaceTreeSinks::OnPropertyItemCommit(IShellItem* psi) {
    return Raise(events_.OnNTEOnPropertyItemCommit, psi);
}

IFACEMETHODIMP TNameSpaceTreeSinks::OnItemStateChanging(IShellItem* psi, NSTCITEMSTATE nstcisMask,
                                                        NSTCITEMSTATE nstcisState) {
    return Raise(events_.OnNTEOnItemStateChanging, psi, nstcisMask, nstcisState);
}

IFACEMETHODIMP TNameSpaceTreeSinks::OnItemStateChanged(IShellItem* psi, NSTCITEMSTATE nstcisMask,
                                                       NSTCITEMSTATE nstcisState) {
    return Raise(events_.OnNTEOnItemStateChanged, psi, nstcisMask, nstcisState);
}

IFACEMETHODIMP TNameSpaceTreeSinks::OnSelectionChanged(IShellItemArray* psiaSelection) {
    return Raise(events_.OnNTEOnSelectionChanged, psiaSelection);
}

IFACEMETHODIMP TNameSpaceTreeSinks::OnKeyboardInput(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return NotImplementedAs(Raise(events_.OnNTEOnKeyboardInput, uMsg, wParam, lParam), S_OK);
}

IFACEMETHODIMP TNameSpaceTreeSinks::OnBeforeExpand(IShellItem* psi) {
    return Raise(events_.OnNTEOnBeforeExpand, psi);
}

IFACEMETHODIMP TNameSpaceTreeSinks::OnAfterExpand(IShellItem* psi) {
    return Raise(events_.OnNTEOnAfterExpand, psi);
}

IFACEMETHODIMP TNameSpaceTreeSinks::OnBeginLabelEdit(IShellItem* psi) {
    return Raise(events_.OnNTEOnBeginLabelEdit, psi);
}

IFACEMETHODIMP TNameSpaceTreeSinks::OnEndLabelEdit(IShellItem* psi) {
    return Raise(events_.OnNTEOnEndLabelEdit, psi);
}

IFACEMETHODIMP TNameSpaceTreeSinks::OnGetToolTip(IShellItem* psi, LPWSTR pszTip, int cchTip) {
    return Raise(events_.OnNTEOnGetToolTip, psi, pszTip, cchTip);
}

IFACEMETHODIMP TNameSpaceTreeSinks::OnBeforeItemDelete(IShellItem* psi) {
    return Raise(events_.OnNTEOnBeforeItemDelete, psi);
}

IFACEMETHODIMP TNameSpaceTreeSinks::OnItemAdded(IShellItem* psi, BOOL fIsRoot) {
    return Raise(events_.OnNTEOnItemAdded, psi, fIsRoot);
}

IFACEMETHODIMP TNameSpaceTreeSinks::OnItemDeleted(IShellItem* psi, BOOL fIsRoot) {
    return Raise(events_.OnNTEOnItemDeleted, psi, fIsRoot);
}

IFACEMETHODIMP TNameSpaceTreeSinks::OnBeforeContextMenu(IShellItem* psi, REFIID riid, void** ppv) {
    // An out-pointer is nil unless the handler answers with an interface.
    void* spare = nullptr;
    void*& out = Ref(ppv, spare);
    out = nullptr;
    return Raise(events_.OnNTEOnBeforeContextMenu, psi, riid, out);
}

IFACEMETHODIMP TNameSpaceTreeSinks::OnAfterContextMenu(IShellItem* psi, IContextMenu* pcmIn, REFIID riid,
                                                       void** ppv) {
    void* spare = nullptr;
    void*& out = Ref(ppv, spare);
    out = nullptr;
    return Raise(events_.OnNTEOnAfterContextMenu, psi, pcmIn, riid, out);
}

IFACEMETHODIMP TNameSpaceTreeSinks::OnBeforeStateImageChange(IShellItem* psi) {
    return Raise(events_.OnNTEOnBeforeStateImageChange, psi);
}

IFACEMETHODIMP TNameSpaceTreeSinks::OnGetDefaultIconIndex(IShellItem* psi, int* piDefaultIcon,
                                                          int* piOpenIcon) {
    int spareDefault = 0;
    int spareOpen = 0;
    return Raise(events_.OnNTEOnGetDefaultIconIndex, psi, Ref(piDefaultIcon, spareDefault),
                 Ref(piOpenIcon, spareOpen));
}

// INameSpaceTreeControlDropHandler

IFACEMETHODIMP TNameSpaceTreeSinks::OnDragEnter(IShellItem* psiOver, IShellItemArray* psiaData,
                                                BOOL fOutsideSource, DWORD grfKeyState, DWORD* pdwEffect) {
    DWORD spare = 0;
    return Raise(events_.OnNTDHOnDragEnter, psiOver, psiaData, fOutsideSource, grfKeyState,
                 Ref(pdwEffect, spare));
}

IFACEMETHODIMP TNameSpaceTreeSinks::OnDragOver(IShellItem* psiOver, IShellItemArray* psiaData,
                                               DWORD grfKeyState, DWORD* pdwEffect) {
    DWORD spare = 0;
    return Raise(events_.OnNTDHOnDragOver, psiOver, psiaData, grfKeyState, Ref(pdwEffect, spare));
}

IFACEMETHODIMP TNameSpaceTreeSinks::OnDragPosition(IShellItem* psiOver, IShellItemArray* psiaData,
                                                   int iNewPosition, int iOldPosition) {
    return Raise(events_.OnNTDHOnDragPosition, psiOver, psiaData, iNewPosition, iOldPosition);
}

IFACEMETHODIMP TNameSpaceTreeSinks::OnDrop(IShellItem* psiOver, IShellItemArray* psiaData, int iPosition,
                                           DWORD grfKeyState, DWORD* pdwEffect) {
    DWORD spare = 0;
    return Raise(events_.OnNTDHOnDrop, psiOver, psiaData, iPosition, grfKeyState, Ref(pdwEffect, spare));
}

IFACEMETHODIMP TNameSpaceTreeSinks::OnDropPosition(IShellItem* psiOver, IShellItemArray* psiaData,
                                                   int iNewPosition, int iOldPosition) {
    return Raise(events_.OnNTDHOnDropPosition, psiOver, psiaData, iNewPosition, iOldPosition);
}

IFACEMETHODIMP TNameSpaceTreeSinks::OnDragLeave(IShellItem* psiOver) {
    return Raise(events_.OnNTDHOnDragLeave, psiOver);
}

} // namespace shellctrls
