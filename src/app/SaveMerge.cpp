#include "app/SaveMerge.h"

#include "app/SavedStateFile.h"

#include <unordered_map>
#include <unordered_set>

namespace app {
namespace {

class FrameIndex {
public:
    explicit FrameIndex(const std::vector<TFrameState>& frames) {
        for (const TFrameState& frame : frames)
            byId_.emplace(frame.id, &frame);
    }
    const TFrameState* Find(int32_t id) const {
        auto found = byId_.find(id);
        return found != byId_.end() ? found->second : nullptr;
    }

private:
    std::unordered_map<int32_t, const TFrameState*> byId_;
};

// The root of frame that stands where root j stands, for the same place: same index,
// same designation.
const TRootState* SameRoot(const TFrameState* frame, size_t j, const std::wstring& path) {
    if (frame == nullptr || j >= frame->roots.size() || frame->roots[j].path != path)
        return nullptr;
    return &frame->roots[j];
}

bool HasSelection(const TFrameState& frame) {
    for (const TRootState& root : frame.roots)
        if (root.selected)
            return true;
    return false;
}

// The tree values of root are what the file has for it (none when it has nothing).
void TakeFileTree(TRootState& root, const TRootState* file) {
    root.expands = file != nullptr ? file->expands : std::vector<std::wstring>();
    root.selected = file != nullptr ? file->selected : std::nullopt;
}

// A frame that has not read back its tree yet: what it shows and what it is still to
// restore from the file, each item once. The selection it shows, if it has one, is the
// frame's; otherwise the one it is to restore.
void AddPendingTree(TRootState& root, const TRootState* file, bool frameHasSelection) {
    if (file == nullptr)
        return;
    std::unordered_set<std::wstring> present(root.expands.begin(), root.expands.end());
    for (const std::wstring& path : file->expands)
        if (present.insert(path).second)
            root.expands.push_back(path);
    if (!frameHasSelection)
        root.selected = file->selected;
}

} // namespace

TSavePlan PlanSave(const TSaveInput& input) {
    TSavePlan plan;
    plan.write = input.parts & input.modifies;
    if (plan.write.Empty())
        return plan;
    plan.newDocument = input.file == nullptr;
    const TSavedState& base = input.file != nullptr ? *input.file : input.lastKnown;
    const bool frames = plan.write.Contains(cpFrame);
    const bool trees = plan.write.Contains(cpTree);

    plan.state.settings = base.settings;
    CopySettings(input.window.settings, plan.state.settings, plan.write);

    if (frames) {
        // The window's frames and roots, each root with the tree values the save takes.
        FrameIndex fileFrames(base.frames);
        for (const TFrameState& shown : input.window.frames) {
            TFrameState frame = shown;
            frame.treePending = false;
            const TFrameState* file = fileFrames.Find(frame.id);
            bool selection = HasSelection(shown);
            for (size_t j = 0; j < frame.roots.size(); ++j) {
                const TRootState* fileRoot = SameRoot(file, j, frame.roots[j].path);
                if (!trees)
                    TakeFileTree(frame.roots[j], fileRoot);
                else if (shown.treePending)
                    AddPendingTree(frame.roots[j], fileRoot, selection);
            }
            plan.state.frames.push_back(std::move(frame));
        }
        return plan;
    }

    // The file's frames and roots as they are, with the window's tree values where the
    // window has the same frame and root.
    plan.state.frames = base.frames;
    if (!trees)
        return plan;
    FrameIndex windowFrames(input.window.frames);
    for (TFrameState& frame : plan.state.frames) {
        const TFrameState* shown = windowFrames.Find(frame.id);
        if (shown == nullptr)
            continue;
        bool selection = HasSelection(*shown);
        for (size_t j = 0; j < frame.roots.size(); ++j) {
            TRootState& root = frame.roots[j];
            const TRootState* shownRoot = SameRoot(shown, j, root.path);
            if (shown->treePending) {
                if (shownRoot != nullptr) {
                    TRootState merged = *shownRoot;
                    AddPendingTree(merged, &root, selection);
                    root.expands = std::move(merged.expands);
                    root.selected = std::move(merged.selected);
                }
            } else if (shownRoot != nullptr) {
                root.expands = shownRoot->expands;
                root.selected = shownRoot->selected;
            } else {
                // The frame's selection is the one the window shows.
                root.selected.reset();
            }
        }
    }
    return plan;
}

} // namespace app
