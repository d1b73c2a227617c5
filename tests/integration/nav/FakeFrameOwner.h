#pragma once
// The window that holds frames, as far as a frame sees it: it records what frames ask
// of it and, like the main window, makes real frames and roots inside a scroll box.
#include "gui/ScrollBox.h"
#include "nav/NavFrame.h"

#include <memory>
#include <utility>
#include <vector>

namespace navtest {

class FakeFrameOwner : public nav::INavFrameOwner {
public:
    explicit FakeFrameOwner(gui::Window& host) : box_(std::make_unique<gui::ScrollBox>(host)) {
        box_->SetBounds(gui::MakeRect(0, 0, 600, 300));
    }

    nav::TChangeParts marked;
    std::vector<nav::TNavFrame*> deleted;
    std::vector<std::pair<nav::TNavFrame*, nav::TNavFrame*>> moved;
    // The frames made through AddFrame, in order.
    std::vector<std::unique_ptr<nav::TNavFrame>> frames;
    gui::TAlign edge = gui::alTop;
    // DelFrame really destroys a frame made here.
    bool destroyOnDel = false;

    void InclModify(nav::TChangePart part) override { marked.Include(part); }
    void ExclModify(nav::TChangePart part) override { marked.Exclude(part); }
    void DelFrame(nav::TNavFrame& frame) override {
        deleted.push_back(&frame);
        if (destroyOnDel)
            std::erase_if(frames, [&frame](const auto& f) { return f.get() == &frame; });
    }
    void MoveFrame(nav::TNavFrame& current, nav::TNavFrame& target) override {
        moved.emplace_back(&current, &target);
    }
    void SetActiveControl(HWND) override {}
    nav::TFrameSnapshot ReadFrameSnapshot(int) override { return {}; }
    nav::TNavFrame& AddFrame(int frameId) override {
        int id = frameId < 0 ? 100 + static_cast<int>(frames.size()) : frameId;
        frames.push_back(std::make_unique<nav::TNavFrame>(*this, *box_, id));
        nav::TNavFrame& frame = *frames.back();
        frame.SetCollapsed(false);
        frame.SetFrameAlign(edge == gui::alTop || edge == gui::alBottom ? gui::alLeft : gui::alTop);
        InclModify(nav::cpFrame);
        return frame;
    }
    shellctrls::TNamespaceTreeRoot& AddRoot(nav::TNavFrame* frame, const std::wstring& path) override {
        if (frame == nullptr)
            frame = &AddFrame(-1);
        shellctrls::TNamespaceTreeRoot& root = frame->NameSpaceTree().Roots().Add();
        root.SetStyles({});
        root.SetFilters(filters);
        root.SetPath(path);
        InclModify(nav::cpFrame);
        return root;
    }
    gui::TAlign SnapEdge() const override { return edge; }
    gui::ScrollBox& ScrollBox() override { return *box_; }

    shellctrls::TShellContactFilters filters{shellctrls::shcontfFolders, shellctrls::shcontfNonFolders};

private:
    std::unique_ptr<gui::ScrollBox> box_;
};

} // namespace navtest
