// What a save writes, decided without a window: the parts asked for and changed come
// from the window, everything else is what the file holds (what it last held when it
// cannot be read), and tree values go only with their frame and root.
#include "app/SaveMerge.h"
#include "app/SavedStateFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace app;

namespace {

TRootState Root(const std::wstring& path, std::vector<std::wstring> expands = {},
                std::optional<std::wstring> selected = std::nullopt) {
    TRootState root = DefaultRootState();
    root.path = path;
    root.expands = std::move(expands);
    root.selected = std::move(selected);
    return root;
}

TFrameState Frame(int32_t id, std::vector<TRootState> roots, int32_t width = 300) {
    TFrameState frame = DefaultFrameState(id);
    frame.expandWidth = width;
    frame.roots = std::move(roots);
    return frame;
}

// The file: frame 1 with two roots whose lists are tails (the second root's items are
// in the first's list too), the selection under the first; frame 2 with one root.
TSavedState FileWithTrees() {
    TSavedState file = DefaultSavedState();
    file.settings.collapseSize = 8;
    file.settings.maintains = 14;
    file.settings.left = 10;
    file.settings.activeFrame = 2;
    file.frames = {Frame(1, {Root(L"A", {L"a", L"a\\1", L"b"}, L"a\\1\\x"), Root(L"B", {L"b"})}, 333),
                   Frame(2, {Root(L"C", {L"c"})}, 333)};
    return file;
}

TSavedState FileWithoutTrees() {
    TSavedState file = FileWithTrees();
    for (TFrameState& frame : file.frames)
        for (TRootState& root : frame.roots) {
            root.expands.clear();
            root.selected.reset();
        }
    return file;
}

// What the window had when it loaded: the file before another instance wrote it.
TSavedState LastKnown() {
    TSavedState known = FileWithTrees();
    known.settings.collapseSize = 6;
    known.frames[0].roots[0].expands = {L"a"};
    known.frames[0].roots[0].selected = L"a";
    return known;
}

// The window: the same frames and roots, the frames' sizes changed, the first frame's
// tree as the user left it.
TSavedState Window() {
    TSavedState window = DefaultSavedState();
    window.settings.collapseSize = 20;
    window.settings.maintains = 14;
    window.settings.left = 99;
    window.settings.activeFrame = 1;
    window.frames = {Frame(1, {Root(L"A", {L"a", L"b"}), Root(L"B", {L"b"}, L"b\\2")}, 444),
                     Frame(2, {Root(L"C", {L"c", L"c\\3"})}, 444)};
    return window;
}

const TChangeParts kMaintains{cpForm, cpFrame, cpTree}; // every keep mode at "保存する"
const TChangeParts kFrameOnly{cpFrame};

struct Case {
    const char* what;
    std::function<TSavedState()> window;
    std::optional<TSavedState> file; // none: the file cannot be read
    TChangeParts parts;
    TChangeParts modifies;
    TChangeParts write;
    std::function<void(const TSavePlan&)> check;
};

std::vector<std::wstring> Expands(const TSavePlan& plan, size_t frame, size_t root) {
    return plan.state.frames.at(frame).roots.at(root).expands;
}
std::optional<std::wstring> Selected(const TSavePlan& plan, size_t frame, size_t root) {
    return plan.state.frames.at(frame).roots.at(root).selected;
}
using List = std::vector<std::wstring>;

void FileTreesKept(const TSavePlan& plan) {
    EXPECT_EQ(Expands(plan, 0, 0), (List{L"a", L"a\\1", L"b"}));
    EXPECT_EQ(Selected(plan, 0, 0), L"a\\1\\x");
    EXPECT_EQ(Expands(plan, 0, 1), List{L"b"});
    EXPECT_EQ(Selected(plan, 0, 1), std::nullopt);
    EXPECT_EQ(Expands(plan, 1, 0), List{L"c"});
}

void WindowFrames(const TSavePlan& plan) {
    ASSERT_EQ(plan.state.frames.size(), 2u);
    EXPECT_EQ(plan.state.frames[0].expandWidth, 444);
    EXPECT_EQ(plan.state.frames[1].expandWidth, 444);
}

void WindowTrees(const TSavePlan& plan) {
    EXPECT_EQ(Expands(plan, 0, 0), (List{L"a", L"b"}));
    EXPECT_EQ(Selected(plan, 0, 0), std::nullopt);
    EXPECT_EQ(Selected(plan, 0, 1), L"b\\2");
    EXPECT_EQ(Expands(plan, 1, 0), (List{L"c", L"c\\3"}));
}

std::vector<Case> Cases() {
    return {
        // A frame change with every keep mode at "保存する": the frames are written, the
        // trees kept as the file has them (with and without tree values there).
        {"frame change at the exit, file with trees", Window, FileWithTrees(), kMaintains, kFrameOnly,
         kFrameOnly,
         [](const TSavePlan& plan) {
             WindowFrames(plan);
             FileTreesKept(plan);
             EXPECT_EQ(plan.state.settings.left, 10) << "the place is the file's";
             EXPECT_EQ(plan.state.settings.activeFrame, 1) << "written with the frames";
         }},
        {"frame change at the exit, file without trees", Window, FileWithoutTrees(), kMaintains, kFrameOnly,
         kFrameOnly,
         [](const TSavePlan& plan) {
             WindowFrames(plan);
             for (const TFrameState& frame : plan.state.frames)
                 for (const TRootState& root : frame.roots) {
                     EXPECT_TRUE(root.expands.empty());
                     EXPECT_FALSE(root.selected.has_value());
                 }
         }},
        // Frame layout at "今回のみ保存" or "保存しない": not in Maintains, so the exit writes nothing.
        {"frame change at the exit, frames not kept",
         Window,
         FileWithTrees(),
         TChangeParts{cpForm, cpTree},
         kFrameOnly,
         {},
         [](const TSavePlan&) {}},
        {"nothing changed", Window, FileWithTrees(), kMaintains, {}, {}, [](const TSavePlan&) {}},
        // The options dialog's OK with every list at "保存する" or "今回のみ保存".
        {"options OK", Window, FileWithTrees(), AllChangeParts, AllChangeParts, AllChangeParts,
         [](const TSavePlan& plan) {
             WindowFrames(plan);
             WindowTrees(plan);
             EXPECT_EQ(plan.state.settings.collapseSize, 20);
             EXPECT_EQ(plan.state.settings.left, 99);
         }},
        // OK with the frame layout at "保存しない": the file's frames, the window's trees.
        {"options OK, frames at 保存しない", Window, FileWithTrees(), TChangeParts{cpConfig, cpForm, cpTree},
         AllChangeParts, TChangeParts{cpConfig, cpForm, cpTree},
         [](const TSavePlan& plan) {
             ASSERT_EQ(plan.state.frames.size(), 2u);
             EXPECT_EQ(plan.state.frames[0].expandWidth, 333);
             WindowTrees(plan);
         }},
        // OK with the items at "保存しない": the window's frames, the file's trees.
        {"options OK, items at 保存しない", Window, FileWithTrees(), TChangeParts{cpConfig, cpForm, cpFrame},
         AllChangeParts, TChangeParts{cpConfig, cpForm, cpFrame},
         [](const TSavePlan& plan) {
             WindowFrames(plan);
             FileTreesKept(plan);
         }},
        // The trees without the frames: only to the frames and roots the file has, by id,
        // index and designation; a frame or root it lacks gets no node.
        {"trees only, frames and roots that differ",
         [] {
             TSavedState window = Window();
             window.frames[0].roots[1].path = L"D"; // another folder at the second place
             window.frames.push_back(Frame(7, {Root(L"E", {L"e"})}));
             return window;
         },
         FileWithTrees(), kMaintains, TChangeParts{cpTree}, TChangeParts{cpTree},
         [](const TSavePlan& plan) {
             ASSERT_EQ(plan.state.frames.size(), 2u) << "frame 7 is not in the file";
             EXPECT_EQ(plan.state.frames[0].roots[1].path, L"B");
             EXPECT_EQ(Expands(plan, 0, 1), List{L"b"}) << "B's values stay with B";
             EXPECT_EQ(Selected(plan, 0, 1), std::nullopt);
             EXPECT_EQ(Expands(plan, 0, 0), (List{L"a", L"b"}));
             EXPECT_EQ(Selected(plan, 0, 0), std::nullopt) << "the frame's selection is the window's";
             EXPECT_EQ(Expands(plan, 1, 0), (List{L"c", L"c\\3"}));
         }},
        // The frames without the trees: a root whose designation changed loses the
        // values of the one that stood there; one added has none.
        {"frames only, a root renamed and one added",
         [] {
             TSavedState window = Window();
             window.frames[0].roots[1].path = L"D";
             window.frames[1].roots.push_back(Root(L"F", {L"f"}));
             return window;
         },
         FileWithTrees(), kMaintains, kFrameOnly, kFrameOnly,
         [](const TSavePlan& plan) {
             EXPECT_EQ(Expands(plan, 0, 0), (List{L"a", L"a\\1", L"b"}));
             EXPECT_TRUE(Expands(plan, 0, 1).empty());
             ASSERT_EQ(plan.state.frames[1].roots.size(), 2u);
             EXPECT_TRUE(Expands(plan, 1, 1).empty());
         }},
        // Frames reordered and one closed: values follow the frame's id, not its place.
        {"frames reordered and one closed",
         [] {
             TSavedState window = Window();
             std::swap(window.frames[0], window.frames[1]);
             window.frames.pop_back();
             return window;
         },
         FileWithTrees(), kMaintains, kFrameOnly, kFrameOnly,
         [](const TSavePlan& plan) {
             ASSERT_EQ(plan.state.frames.size(), 1u);
             EXPECT_EQ(plan.state.frames[0].id, 2);
             EXPECT_EQ(Expands(plan, 0, 0), List{L"c"});
         }},
        // A file that cannot be read: a new one with every part, those not taken from
        // the window as it was last known.
        {"file cannot be read, frame change", Window, std::nullopt, TChangeParts{cpFrame}, kFrameOnly,
         kFrameOnly,
         [](const TSavePlan& plan) {
             EXPECT_TRUE(plan.newDocument);
             WindowFrames(plan);
             EXPECT_EQ(Expands(plan, 0, 0), List{L"a"});
             EXPECT_EQ(Selected(plan, 0, 0), L"a");
             EXPECT_EQ(plan.state.settings.collapseSize, 6) << "the configuration as loaded";
             EXPECT_EQ(plan.state.settings.left, 10);
         }},
        {"file cannot be read, nothing asked",
         Window,
         std::nullopt,
         TChangeParts{},
         AllChangeParts,
         {},
         [](const TSavePlan& plan) { EXPECT_FALSE(plan.newDocument) << "nothing is written"; }},
        {"file cannot be read, options OK with items at 保存しない", Window, std::nullopt,
         TChangeParts{cpConfig, cpForm, cpFrame}, AllChangeParts, TChangeParts{cpConfig, cpForm, cpFrame},
         [](const TSavePlan& plan) {
             EXPECT_TRUE(plan.newDocument);
             EXPECT_EQ(plan.state.settings.collapseSize, 20);
             EXPECT_EQ(Expands(plan, 0, 0), List{L"a"}) << "the items as loaded, not as shown";
         }},
        // A frame whose start-up restore is still to come keeps what it is to restore,
        // together with what the user did to it meanwhile; the other frame is as shown.
        {"restore pending",
         [] {
             TSavedState window = Window();
             window.frames[0].treePending = true;
             window.frames[0].roots[0].expands = {L"z"};
             window.frames[0].roots[1].expands.clear();
             window.frames[0].roots[1].selected.reset();
             return window;
         },
         FileWithTrees(), kMaintains, TChangeParts{cpFrame, cpTree}, TChangeParts{cpFrame, cpTree},
         [](const TSavePlan& plan) {
             EXPECT_EQ(Expands(plan, 0, 0), (List{L"z", L"a", L"a\\1", L"b"}));
             EXPECT_EQ(Selected(plan, 0, 0), L"a\\1\\x");
             EXPECT_EQ(Expands(plan, 0, 1), List{L"b"});
             EXPECT_EQ(Expands(plan, 1, 0), (List{L"c", L"c\\3"}));
             EXPECT_FALSE(plan.state.frames[0].treePending);
         }},
        {"restore pending, selected meanwhile, trees only",
         [] {
             TSavedState window = Window();
             window.frames[0].treePending = true;
             window.frames[0].roots[0].expands.clear();
             window.frames[0].roots[1].expands.clear();
             return window; // the second root holds the selection the user made
         },
         FileWithTrees(), kMaintains, TChangeParts{cpTree}, TChangeParts{cpTree},
         [](const TSavePlan& plan) {
             EXPECT_EQ(Expands(plan, 0, 0), (List{L"a", L"a\\1", L"b"}));
             EXPECT_EQ(Selected(plan, 0, 0), std::nullopt);
             EXPECT_EQ(Selected(plan, 0, 1), L"b\\2");
         }},
        {"restore pending, file cannot be read",
         [] {
             TSavedState window = Window();
             for (TFrameState& frame : window.frames) {
                 frame.treePending = true;
                 for (TRootState& root : frame.roots) {
                     root.expands.clear();
                     root.selected.reset();
                 }
             }
             return window;
         },
         std::nullopt, AllChangeParts, AllChangeParts, AllChangeParts,
         [](const TSavePlan& plan) {
             EXPECT_TRUE(plan.newDocument);
             EXPECT_EQ(Expands(plan, 0, 0), List{L"a"});
             EXPECT_EQ(Selected(plan, 0, 0), L"a");
             EXPECT_EQ(Expands(plan, 1, 0), List{L"c"});
         }},
        // The configuration only with cpConfig: the exit never writes it unless asked.
        {"configuration changed, not asked", Window, FileWithTrees(), kMaintains,
         TChangeParts{cpConfig, cpForm}, TChangeParts{cpForm},
         [](const TSavePlan& plan) {
             EXPECT_EQ(plan.state.settings.collapseSize, 8);
             EXPECT_EQ(plan.state.settings.left, 99);
             EXPECT_EQ(plan.state.settings.activeFrame, 2) << "not written with the place alone";
             FileTreesKept(plan);
         }},
    };
}

TEST(PlanSave, TakesFromTheWindowOnlyWhatIsAskedForAndChanged) {
    const TSavedState lastKnown = LastKnown();
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.what);
        const TSavedState window = c.window();
        TSavePlan plan = PlanSave({window, c.file ? &*c.file : nullptr, lastKnown, c.parts, c.modifies});
        EXPECT_EQ(plan.write, c.write);
        if (plan.write.Empty())
            continue;
        EXPECT_EQ(plan.newDocument, !c.file.has_value());
        c.check(plan);
    }
}

TEST(PlanSave, SavingAgainAndAgainDuringAPendingRestoreDoesNotGrowTheLists) {
    TSavedState window = Window();
    window.frames[0].treePending = true;
    window.frames[0].roots[0].expands = {L"b"};
    TSavedState file = FileWithTrees();
    for (int round = 0; round < 3; ++round)
        file = PlanSave({window, &file, file, AllChangeParts, AllChangeParts}).state;
    EXPECT_EQ(file.frames[0].roots[0].expands, (List{L"b", L"a", L"a\\1"}));
}

} // namespace
