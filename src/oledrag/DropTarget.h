#pragma once
// TDropTarget: the IDropTarget of a window, turning each of OLE's calls into an event.
// It lives exactly as long as its owner (reference counting does not govern it), so
// the owner registers it with RegisterDragDrop and revokes it before it goes.
#include <windows.h>
#include <ole2.h>

#include <functional>

namespace oledrag {

class TDropTarget final : public IDropTarget {
public:
    TDropTarget() = default;
    TDropTarget(const TDropTarget&) = delete;
    TDropTarget& operator=(const TDropTarget&) = delete;
    virtual ~TDropTarget() = default;

    // Key and button state (MK_ flags) of the drag in progress; 0 when none.
    DWORD DragKey() const { return FDragKey; }
    // The drop effect as the drag-enter handler left it; 0 when no drag is in progress.
    DWORD DragEffect() const { return FDragEffect; }

    // Each event gets OLE's arguments, the point as a reference to a copy in screen
    // coordinates, OLE's own effect variable and the result, preset to S_OK.
    std::function<void(IDataObject* dataObj, DWORD keyState, POINT& pt, DWORD& effect, HRESULT& result)>
        OnDTDragEnter;
    std::function<void(DWORD keyState, POINT& pt, DWORD& effect, HRESULT& result)> OnDTDragOver;
    std::function<void(HRESULT& result)> OnDTDragLeave;
    std::function<void(IDataObject* dataObj, DWORD keyState, POINT& pt, DWORD& effect, HRESULT& result)>
        OnDTDrop;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(-1); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(-1); }

    // IDropTarget
    STDMETHODIMP DragEnter(IDataObject* dataObj, DWORD keyState, POINTL pt, DWORD* effect) override;
    STDMETHODIMP DragOver(DWORD keyState, POINTL pt, DWORD* effect) override;
    STDMETHODIMP DragLeave() override;
    STDMETHODIMP Drop(IDataObject* dataObj, DWORD keyState, POINTL pt, DWORD* effect) override;

private:
    // Runs one event; an exception never reaches OLE's drag loop, which may be another
    // process's: it is reported (once per drag) and answered with a failure code.
    template <typename Event, typename... Args> HRESULT Raise(const Event& event, Args&... args);

    DWORD FDragKey = 0;
    DWORD FDragEffect = 0;
    bool FReported = false;
};

} // namespace oledrag
