// Drags and drops from other programs onto the edge window: the strip opens, a frame
// opens when the drag rests on its caption bar, the sides scroll the frame area, and
// dropped files and folders become a new frame with one root each.
#include "app/MainForm.h"

#include "gui/ControlAt.h"
#include "oledrag/DroppedFiles.h"
#include "oledrag/FormatEtc.h"
#include "shell/RootFolderBatch.h"

#include <shlobj.h>

#include <algorithm>
#include <optional>

namespace app {
namespace {

bool OffersFiles(IDataObject* data) {
    if (data == nullptr)
        return false;
    FORMATETC format = oledrag::MakeContentFormatEtc(CF_HDROP, -1, TYMED_HGLOBAL);
    return data->QueryGetData(&format) == S_OK;
}

} // namespace

void TMainForm::RegisterDropTarget() {
    FHoverTimer.SetInterval(400);
    FHoverTimer.OnTimer = [this] { HoverTimerTimeOut(); };
    FDropTarget.OnDTDragEnter = [this](IDataObject* data, DWORD keys, POINT& pt, DWORD& effect,
                                       HRESULT& result) {
        DropTargetDTDragEnter(data, keys, pt, effect, result);
    };
    FDropTarget.OnDTDragOver = [this](DWORD keys, POINT& pt, DWORD& effect, HRESULT& result) {
        DropTargetDTDragOver(keys, pt, effect, result);
    };
    FDropTarget.OnDTDragLeave = [this](HRESULT& result) { DropTargetDTDragLeave(result); };
    FDropTarget.OnDTDrop = [this](IDataObject* data, DWORD keys, POINT& pt, DWORD& effect, HRESULT& result) {
        DropTargetDTDrop(data, keys, pt, effect, result);
    };
    // Without OLE there are no drops; the window works otherwise.
    if (FOleInitialized)
        ::RegisterDragDrop(Handle(), &FDropTarget);
}

bool TMainForm::AcceptsDrops() const {
    // While a modal window has disabled the edge window, drags pass over it without
    // effect: nothing opens above that window and nothing changes under it.
    return !FDestroyed && ::IsWindowEnabled(Handle());
}

nav::TNavFrame* TMainForm::CaptionFrameAt(POINT screen) {
    gui::Window* control = gui::ControlAt(*this, screen);
    return control != nullptr ? nav::FrameOfCaption(*control) : nullptr;
}

void TMainForm::DropTargetDTDragEnter(IDataObject* dataObj, DWORD, POINT& pt, DWORD& effect, HRESULT&) {
    FDragHasFiles = OffersFiles(dataObj);
    if (!AcceptsDrops()) {
        effect = DROPEFFECT_NONE;
        return;
    }
    effect = FDragHasFiles ? oledrag::ReferenceDropEffect(effect) : DROPEFFECT_NONE;
    RaiseWindow();
    if (!FLayoutTimer.Running() && FLayout == loCollapsed) {
        FLayoutTimer.OnTimer = [this] { LayoutTimerExpanding(); };
        FLayoutTimer.Start();
    }
    FHoverPos = pt;
    FHoverTimer.Start();
}

void TMainForm::DropTargetDTDragOver(DWORD, POINT& pt, DWORD& effect, HRESULT&) {
    if (!AcceptsDrops()) {
        effect = DROPEFFECT_NONE;
        FHoverTimer.Stop();
        return;
    }
    effect = FDragHasFiles ? oledrag::ReferenceDropEffect(effect) : DROPEFFECT_NONE;
    int place = HitPlaceAt(pt);
    if (place != HTCLIENT || CaptionFrameAt(pt) == nullptr) {
        // Only a rest on a caption bar itself opens a frame; a move onto a button or
        // anywhere else cancels the rest that began on the bar.
        FHoverTimer.Stop();
    } else {
        // The timer keeps counting while the pointer stays where it was; OLE calls this
        // repeatedly also without a move, so it must not start over each time.
        if (pt.x == FHoverPos.x && pt.y == FHoverPos.y) {
            if (!FHoverTimer.Running())
                FHoverTimer.Start();
        } else {
            FHoverTimer.Stop();
        }
        FHoverPos = pt;
    }
    const int step = gui::ScrollBox::LineIncrement;
    switch (place) {
    case HTLEFT:
        ScrollFramesBy(-step, 0);
        break;
    case HTRIGHT:
        ScrollFramesBy(step, 0);
        break;
    case HTTOP:
        ScrollFramesBy(0, -step);
        break;
    case HTBOTTOM:
        ScrollFramesBy(0, step);
        break;
    default:
        break;
    }
}

void TMainForm::ScrollFramesBy(int dx, int dy) {
    POINT pos = FScrollBox->ScrollPos();
    POINT last = FScrollBox->MaxScrollPos();
    POINT next{std::clamp<int>(pos.x + dx, 0, last.x), std::clamp<int>(pos.y + dy, 0, last.y)};
    if (next.x == pos.x && next.y == pos.y)
        return;
    FScrollBox->ScrollTo(next);
    FScrollBox->Update();
    // OLE calls the drag-over again and again while the pointer rests in the band; the
    // pause sets the scrolling speed.
    ::Sleep(100);
}

void TMainForm::HoverTimerTimeOut() {
    FHoverTimer.Stop();
    if (nav::TNavFrame* frame = CaptionFrameAt(FHoverPos))
        frame->SetCollapsed(false);
}

void TMainForm::DropTargetDTDragLeave(HRESULT&) {
    FHoverTimer.Stop();
    FDragHasFiles = false;
    if (!AcceptsDrops())
        return;
    if (!FLayoutTimer.Running() && FLayout == loExpanded) {
        FLayoutTimer.OnTimer = [this] { LayoutTimerCollapsing(); };
        FLayoutTimer.Start();
    }
}

void TMainForm::DropTargetDTDrop(IDataObject* dataObj, DWORD, POINT& pt, DWORD& effect, HRESULT&) {
    FHoverTimer.Stop();
    FDragHasFiles = false;
    DWORD offered = effect;
    effect = DROPEFFECT_NONE;
    if (!AcceptsDrops())
        return;
    // The bar is taken before the new frame changes the layout under the pointer.
    nav::TNavFrame* target = CaptionFrameAt(pt);
    std::optional<std::vector<std::wstring>> names = oledrag::DroppedFileNames(dataObj);
    if (!names)
        return;
    effect = oledrag::ReferenceDropEffect(offered);
    shell::TRootFolderBatch batch;
    nav::TNavFrame& frame = AddFrame(-1);
    for (const std::wstring& name : *names)
        AddRoot(&frame, name);
    if (target != nullptr)
        MoveFrame(frame, *target);
    ScrollIntoView(frame);
}

void TMainForm::ScrollIntoView(gui::Window& frame) {
    // A new frame often lands beyond the visible part of the frame area (the first
    // frame fills a column by itself); the user should see what the drop made.
    RECT client = FScrollBox->ClientRect();
    RECT bounds = frame.Bounds();
    POINT pos = FScrollBox->ScrollPos();
    if (bounds.top < client.top)
        pos.y += bounds.top - client.top;
    else if (bounds.bottom > client.bottom)
        pos.y += std::min(bounds.top - client.top, bounds.bottom - client.bottom);
    if (bounds.left < client.left)
        pos.x += bounds.left - client.left;
    else if (bounds.right > client.right)
        pos.x += std::min(bounds.left - client.left, bounds.right - client.right);
    FScrollBox->ScrollTo(pos);
}

} // namespace app
