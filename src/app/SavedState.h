#pragma once
// What the data file holds, as plain values without windows: the configuration, the
// window's place, and the frames with their roots and the state of their trees. One
// table holds the keys and defaults (SavedStateFile.cpp); the window fills such a
// value from what it shows and takes one to apply at start.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace app {

// The values of \Configuration and those directly under \Snapshot.
struct TSettings {
    // \Configuration, written with the configuration.
    int32_t collapseSize = 0;
    int32_t expandWidth = 0;
    int32_t expandHeight = 0;
    int32_t baseColor = 0;
    bool colorShift = false;
    int32_t alphaBlendValue = 0;
    int32_t defaultStyles = 0;
    int32_t defaultFilters = 0;
    int32_t maintains = 0;
    // The hotkey that opens the panel, a hotkey field's word (0: none).
    int32_t hotkey = 0;
    // \Snapshot, written with the window's place.
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t snapEdge = 0;
    int32_t layout = 0;
    bool topmost = false;
    // \Snapshot, written with the frames or the trees: the id of the frame whose tree
    // has the keyboard focus, 0 when none has it (0 is a frame id as well).
    int32_t activeFrame = 0;

    friend bool operator==(const TSettings&, const TSettings&) = default;
};

// One root of a frame: \Snapshot\Frames\Id.n\Tree\Roots\No.j, j its index.
struct TRootState {
    // Written with the frames: the root's designation and filters.
    std::wstring path;
    int32_t filters = 0;
    // Written with the trees: the item paths of the expanded items from this root on to
    // the end of the tree ("Expands"), and of the selected item, only at the root whose
    // subtree holds it ("Selected").
    std::vector<std::wstring> expands;
    std::optional<std::wstring> selected;

    friend bool operator==(const TRootState&, const TRootState&) = default;
};

// One frame: \Snapshot\Frames\Id.n, n its id.
struct TFrameState {
    int32_t id = 0;
    int32_t expandWidth = 0;
    int32_t expandHeight = 0;
    int32_t styles = 0;
    // \Id.n\Tree
    int32_t width = 0;
    int32_t height = 0;
    bool collapsed = false;
    std::vector<TRootState> roots;
    // Only in the window's state: the frame has not read back what the file remembers
    // of its tree (its start-up restore is still to come), so that belongs to its tree
    // state as well as what it shows.
    bool treePending = false;

    friend bool operator==(const TFrameState&, const TFrameState&) = default;
};

struct TSavedState {
    TSettings settings;
    // In the order of the frames on screen.
    std::vector<TFrameState> frames;

    friend bool operator==(const TSavedState&, const TSavedState&) = default;
};

} // namespace app
