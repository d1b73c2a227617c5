#include "oledrag/DropTarget.h"

#include "gui/Application.h"

#include <shlwapi.h>

namespace oledrag {

STDMETHODIMP TDropTarget::QueryInterface(REFIID riid, void** ppv) {
    static const QITAB interfaces[] = {
        QITABENT(TDropTarget, IDropTarget),
        {nullptr, 0},
    };
    return ::QISearch(this, interfaces, riid, ppv);
}

template <typename Event, typename... Args> HRESULT TDropTarget::Raise(const Event& event, Args&... args) {
    HRESULT result = S_OK;
    if (!event)
        return result;
    try {
        event(args..., result);
    } catch (...) {
        if (!FReported) {
            FReported = true;
            gui::Application::Instance().HandleExceptionLater();
        }
        result = E_UNEXPECTED;
    }
    return result;
}

STDMETHODIMP TDropTarget::DragEnter(IDataObject* dataObj, DWORD keyState, POINTL pt, DWORD* effect) {
    FReported = false;
    POINT point{pt.x, pt.y};
    DWORD none = DROPEFFECT_NONE;
    DWORD& effectRef = effect != nullptr ? *effect : none;
    HRESULT result = Raise(OnDTDragEnter, dataObj, keyState, point, effectRef);
    if (FAILED(result))
        effectRef = DROPEFFECT_NONE;
    FDragKey = keyState;
    FDragEffect = effectRef;
    return result;
}

STDMETHODIMP TDropTarget::DragOver(DWORD keyState, POINTL pt, DWORD* effect) {
    POINT point{pt.x, pt.y};
    DWORD none = DROPEFFECT_NONE;
    DWORD& effectRef = effect != nullptr ? *effect : none;
    HRESULT result = Raise(OnDTDragOver, keyState, point, effectRef);
    if (FAILED(result))
        effectRef = DROPEFFECT_NONE;
    FDragKey = keyState;
    return result;
}

STDMETHODIMP TDropTarget::DragLeave() {
    HRESULT result = Raise(OnDTDragLeave);
    FDragKey = 0;
    FDragEffect = 0;
    return result;
}

STDMETHODIMP TDropTarget::Drop(IDataObject* dataObj, DWORD keyState, POINTL pt, DWORD* effect) {
    POINT point{pt.x, pt.y};
    DWORD none = DROPEFFECT_NONE;
    DWORD& effectRef = effect != nullptr ? *effect : none;
    HRESULT result = Raise(OnDTDrop, dataObj, keyState, point, effectRef);
    if (FAILED(result))
        effectRef = DROPEFFECT_NONE;
    FDragKey = 0;
    FDragEffect = 0;
    return result;
}

} // namespace oledrag
