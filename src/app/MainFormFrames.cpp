// The frames of the edge window: ids, splitters, order and orientation.
#include "app/DockGeometry.h"
#include "app/FrameIds.h"
#include "app/MainForm.h"

#include <algorithm>

namespace app {
namespace {

// Holds a claimed frame id until the frame that carries it is in place; frees it
// again when creating the frame fails on the way.
class FrameIdClaim {
public:
    explicit FrameIdClaim(int requested) : id_(FrameIds().AcquireFrameId(requested)) {}
    FrameIdClaim(const FrameIdClaim&) = delete;
    FrameIdClaim& operator=(const FrameIdClaim&) = delete;
    ~FrameIdClaim() {
        if (!kept_)
            FrameIds().ReleaseFrameId(id_);
    }
    int Id() const { return id_; }
    void Keep() { kept_ = true; }

private:
    int id_;
    bool kept_ = false;
};

} // namespace

std::vector<nav::TNavFrame*> TMainForm::OrderedFrames() const {
    std::vector<nav::TNavFrame*> frames;
    frames.reserve(FFrames.size());
    for (const FrameSlot& slot : FFrames)
        frames.push_back(slot.frame.get());
    return frames;
}

gui::Splitter* TMainForm::SplitterOf(const nav::TNavFrame& frame) const {
    auto slot = FindSlot(frame);
    return slot != FFrames.end() ? slot->splitter.get() : nullptr;
}

std::vector<TMainForm::FrameSlot>::iterator TMainForm::FindSlot(const nav::TNavFrame& frame) {
    return std::find_if(FFrames.begin(), FFrames.end(),
                        [&frame](const FrameSlot& s) { return s.frame.get() == &frame; });
}

std::vector<TMainForm::FrameSlot>::const_iterator TMainForm::FindSlot(const nav::TNavFrame& frame) const {
    return std::find_if(FFrames.begin(), FFrames.end(),
                        [&frame](const FrameSlot& s) { return s.frame.get() == &frame; });
}

std::unique_ptr<nav::TNavFrame> TMainForm::CreateFrame(int id) {
    return std::make_unique<nav::TNavFrame>(*this, *FScrollBox, id);
}

std::unique_ptr<gui::Splitter> TMainForm::CreateSplitter(nav::TNavFrame& frame) {
    auto splitter = std::make_unique<gui::Splitter>(*FScrollBox);
    splitter->SetDpi(FDpi);
    splitter->SetMinSize(3);
    splitter->SetResized(&frame);
    splitter->OnCanResize = [this, &frame](int newSize, bool& accept) {
        SplitterCanResize(frame, newSize, accept);
    };
    return splitter;
}

nav::TNavFrame& TMainForm::AddFrame(int frameId) {
    FrameIdClaim claim(frameId);
    // A failure on the way leaves the marks as they were, too.
    TChangeParts modifies = FModifies;
    FrameSlot slot;
    try {
        slot.frame = CreateFrame(claim.Id());
        slot.frame->CaptionPanel().SetDpi(FDpi);
        slot.frame->CaptionPanel().SetHighContrast(FHighContrast);
        slot.frame->OnKeyboardEscape = [this] { KeyboardEscape(); };
        slot.frame->OnFocusCycle = [this](bool forward) { FocusCycle(forward); };
        slot.frame->SetCollapsed(false);
        slot.frame->NameSpaceTree().SetStyles(FDefaultStyles);
        slot.splitter = CreateSplitter(*slot.frame);
        FFrames.reserve(FFrames.size() + 1);
    } catch (...) {
        FModifies = modifies;
        throw;
    }
    // Frames and splitters are laid out in creation order, so a new one lands last.
    TAlign align = FrameAlign(FSnapEdge);
    if (align != gui::alNone) {
        slot.frame->SetFrameAlign(align);
        slot.splitter->SetAlign(align);
    }
    nav::TNavFrame& frame = *slot.frame;
    FFrames.push_back(std::move(slot));
    claim.Keep();
    InclModify(cpFrame);
    return frame;
}

shellctrls::TNamespaceTreeRoot& TMainForm::AddRoot(nav::TNavFrame* frame, const std::wstring& path) {
    if (frame == nullptr)
        frame = &AddFrame(-1);
    shellctrls::TNamespaceTreeRoot& root = frame->NameSpaceTree().Roots().Add();
    root.SetStyles({});
    root.SetFilters(FDefaultFilters);
    root.SetPath(path);
    InclModify(cpFrame);
    return root;
}

void TMainForm::AddDesktop() {
    nav::TNavFrame& frame = AddFrame(-1);
    if (gui::IsVerticalSide(FSnapEdge)) {
        RECT client = FScrollBox->ClientRect();
        // The frame fills the column down to its splitter.
        int splitter = SplitterOf(frame) != nullptr ? SplitterOf(frame)->Thickness() : 0;
        frame.SetExpandHeight(std::max(225, gui::Height(client) - frame.Top() - splitter));
    }
    shellctrls::TNamespaceTreeRoot& root = AddRoot(&frame, L"");
    root.SetStyles({shellctrls::nstcrsExpanded});
    root.SetPath(L"rfDesktop");
    ExclModify(cpFrame);
}

void TMainForm::DelFrame(nav::TNavFrame& frame) {
    FrameIds().ReleaseFrameId(frame.ID());
    auto found = FindSlot(frame);
    if (found == FFrames.end())
        return;
    FrameSlot slot = std::move(*found);
    FFrames.erase(found);
    if (FWasActive != nullptr && (FWasActive == frame.Handle() || ::IsChild(frame.Handle(), FWasActive)))
        FWasActive = nullptr;
    if (FLastTree != nullptr && ::IsChild(frame.Handle(), FLastTree))
        FLastTree = nullptr;
    // The slot goes here: the splitter first, then the frame.
    slot = {};
    InclModify(cpFrame);
}

void TMainForm::MoveFrame(nav::TNavFrame& current, nav::TNavFrame& target) {
    auto from = FindSlot(current);
    auto to = FindSlot(target);
    if (from == FFrames.end() || to == FFrames.end())
        return;
    // The frame takes the target's place; the frames between move one place towards
    // where it was.
    if (from < to)
        std::rotate(from, from + 1, to + 1);
    else
        std::rotate(to, from, from + 1);
    AlignFrames();
    InclModify(cpFrame);
}

void TMainForm::AlignFrame(FrameSlot& slot) {
    TAlign align = FrameAlign(FSnapEdge);
    if (align == gui::alNone)
        return;
    // Each control aligned moves to the start of the layout order: the splitter
    // first, so that its frame comes before it.
    slot.splitter->SetAlign(align);
    FScrollBox->MoveChildTo(slot.splitter.get(), 0);
    slot.frame->SetFrameAlign(align);
    FScrollBox->MoveChildTo(slot.frame.get(), 0);
    slot.frame->Realign();
}

void TMainForm::AlignFrames() {
    for (auto it = FFrames.rbegin(); it != FFrames.rend(); ++it)
        AlignFrame(*it);
}

void TMainForm::SplitterCanResize(nav::TNavFrame& frame, int newSize, bool& accept) {
    if (frame.Collapsed()) {
        accept = false;
        return;
    }
    accept = newSize > 50;
    InclModify(cpFrame);
}

} // namespace app
