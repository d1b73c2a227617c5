// The frames of the edge window: ids, splitters, order and orientation.
#include "app/FrameIds.h"
#include "app/MainForm.h"

#include <algorithm>

namespace app {
namespace {

bool RowEdge(TAlign edge) { return edge == gui::alTop || edge == gui::alBottom; }
bool ColumnEdge(TAlign edge) { return edge == gui::alLeft || edge == gui::alRight; }

void MoveElement(std::vector<gui::Window*>& list, size_t from, size_t to) {
    gui::Window* element = list[from];
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(from));
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(std::min(to, list.size())), element);
}

} // namespace

size_t TMainForm::IndexOfFrameElement(const gui::Window* element) const {
    return static_cast<size_t>(std::find(FFrames.begin(), FFrames.end(), element) - FFrames.begin());
}

nav::TNavFrame& TMainForm::AddFrame(int frameId) {
    int id = FrameIds().AcquireFrameId(frameId);
    auto frame = std::make_unique<nav::TNavFrame>(*this, *FScrollBox, id);
    nav::TNavFrame& f = *frame;
    f.SetCollapsed(false);
    f.NameSpaceTree().SetStyles(FDefaultStyles);
    // Frames and splitters are laid out in creation order, so a new one lands last.
    if (RowEdge(FSnapEdge))
        f.SetFrameAlign(gui::alLeft);
    else if (ColumnEdge(FSnapEdge))
        f.SetFrameAlign(gui::alTop);
    FOwnedFrames.push_back(std::move(frame));
    FFrames.push_back(&f);

    auto splitter = std::make_unique<gui::Splitter>(*FScrollBox);
    gui::Splitter& s = *splitter;
    s.SetMinSize(3);
    s.SetResized(&f);
    s.OnCanResize = [this, &s](int newSize, bool& accept) { SplitterCanResize(s, newSize, accept); };
    if (RowEdge(FSnapEdge))
        s.SetAlign(gui::alLeft);
    else if (ColumnEdge(FSnapEdge))
        s.SetAlign(gui::alTop);
    FOwnedSplitters.push_back(std::move(splitter));
    FFrames.push_back(&s);

    InclModify(cpFrame);
    return f;
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
    if (ColumnEdge(FSnapEdge)) {
        RECT client = FScrollBox->ClientRect();
        frame.SetExpandHeight(std::max(225, gui::Height(client) - frame.Top() - 3));
    }
    shellctrls::TNamespaceTreeRoot& root = AddRoot(&frame, L"");
    root.SetStyles({shellctrls::nstcrsExpanded});
    root.SetPath(L"rfDesktop");
    ExclModify(cpFrame);
}

void TMainForm::DelFrame(nav::TNavFrame& frame) {
    FrameIds().ReleaseFrameId(frame.ID());
    size_t index = IndexOfFrameElement(&frame);
    if (index >= FFrames.size())
        return;
    gui::Window* splitter = index + 1 < FFrames.size() ? FFrames[index + 1] : nullptr;
    FFrames.erase(FFrames.begin() + static_cast<std::ptrdiff_t>(index),
                  FFrames.begin() + static_cast<std::ptrdiff_t>(splitter != nullptr ? index + 2 : index + 1));
    std::erase_if(FOwnedSplitters, [splitter](const auto& s) { return s.get() == splitter; });
    if (FWasActive != nullptr && (FWasActive == frame.Handle() || ::IsChild(frame.Handle(), FWasActive)))
        FWasActive = nullptr;
    std::erase_if(FOwnedFrames, [&frame](const auto& f) { return f.get() == &frame; });
    InclModify(cpFrame);
}

void TMainForm::MoveFrame(nav::TNavFrame& current, nav::TNavFrame& target) {
    size_t c = IndexOfFrameElement(&current);
    size_t n = IndexOfFrameElement(&target);
    if (c + 1 >= FFrames.size() || n >= FFrames.size())
        return;
    gui::Window* splitter = FFrames[c + 1];
    MoveElement(FFrames, c, c < n ? n + 1 : n);
    size_t s = IndexOfFrameElement(splitter);
    size_t f = IndexOfFrameElement(&current);
    MoveElement(FFrames, s, f < s ? f + 1 : f);
    AlignFrames();
    InclModify(cpFrame);
}

void TMainForm::AlignFrame(gui::Window& control) {
    auto* frame = dynamic_cast<nav::TNavFrame*>(&control);
    TAlign align = RowEdge(FSnapEdge) ? gui::alLeft : ColumnEdge(FSnapEdge) ? gui::alTop : gui::alNone;
    if (align == gui::alNone)
        return;
    if (frame != nullptr)
        frame->SetFrameAlign(align);
    else
        control.SetAlign(align);
    // Each element aligned moves to the start of the layout order.
    FScrollBox->MoveChildTo(&control, 0);
    if (frame != nullptr)
        frame->Realign();
}

void TMainForm::AlignFrames() {
    for (auto it = FFrames.rbegin(); it != FFrames.rend(); ++it)
        AlignFrame(**it);
}

void TMainForm::SplitterCanResize(gui::Splitter& splitter, int newSize, bool& accept) {
    size_t index = IndexOfFrameElement(&splitter);
    auto* frame = index > 0 && index < FFrames.size() ? dynamic_cast<nav::TNavFrame*>(FFrames[index - 1]) : nullptr;
    if (frame != nullptr && frame->Collapsed()) {
        accept = false;
        return;
    }
    accept = newSize > 50;
    InclModify(cpFrame);
}

} // namespace app
